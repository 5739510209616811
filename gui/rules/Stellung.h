#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/rules/Brett.h"

namespace dravel {

struct Stellung;

// One move of a node's list.
struct Zug {
    Feld Von;
    Feld Nach;
    ::dravel::Figur Figur;    // what stands on Nach after the move (the new piece of a promotion)
    uint8_t Status;           // castling rights after the move, 0x80 for a promotion
    Stellung* Folgestellung;  // the node this move leads to, once played
};

// A position of the game tree: the move that led here and the list of moves from here, stored
// directly behind the header.
struct Stellung {
    Stellung* Letzt_zug_zeiger;
    int16_t Welcher_zug;  // n > 0: White's n-th move; -n: Black's n-th move
    Feld Letzter_zug_von;
    Feld Letzter_zug_nach;
    ::dravel::Figur Geschlagene_figur;
    uint8_t Letzter_status;
    int16_t Anz_moegl_zuege;

    Zug* Zuege() { return reinterpret_cast<Zug*>(this + 1); }
    const Zug* Zuege() const { return reinterpret_cast<const Zug*>(this + 1); }
    bool Weiss_am_zug() const { return Welcher_zug > 0; }
};

// The move number that follows x: 1, -1, 2, -2, ...
constexpr int16_t Naechster_zug(int16_t x) {
    return x >= 0 ? static_cast<int16_t>(-x) : static_cast<int16_t>(1 - x);
}

// Nodes are carved from blocks of 65,000 bytes with a bump pointer and never freed one by one.
// When a block is full the next one is taken (and made the first time it is needed), so a game
// of any length fits; nodes never move.
class Knotenspeicher {
public:
    static constexpr size_t Blockgroesse = 65000;
    // Fewer free bytes than this and a new node goes into the next block.
    static constexpr size_t Mindestplatz = 784;

    // Where the next node goes; handing it back to Freigeben releases everything placed since.
    struct Marke {
        size_t block = 0;
        size_t frei = 0;
    };

    Knotenspeicher();
    Marke Frei() const { return frei_; }
    void Freigeben(Marke marke) { frei_ = marke; }
    void Leeren() { frei_ = Marke{}; }
    size_t Bloecke() const { return bloecke_.size(); }

    // Space for a node at the free position (moving to the next block when less than
    // Mindestplatz is left, or when `neuer_block` asks for it); its end is given back too.
    std::byte* Platz(std::byte*& ende, bool neuer_block);
    // The node that began at `anfang` ends at `ende`: the free position moves past it.
    void Belegen(std::byte* ende);

private:
    std::byte* Block(size_t index);

    std::vector<std::unique_ptr<std::byte[]>> bloecke_;
    Marke frei_;
};

Stellung* stellung_anlegen(Stellung* eltern, Knotenspeicher& speicher, const Brett& brett, Feld von,
                           Feld nach, ::dravel::Figur geschlagen, uint8_t status, int16_t zugnummer);
// Appends the pseudo-legal moves of the node's side to move; null when the list would pass `ende`.
Zug* zuege_erzeugen(Stellung* stellung, const std::byte* ende, const Brett& brett);
// Plays entry i (or, with a null node, creates the root) and returns the node it leads to.
Stellung* zug_ausfuehren(Stellung* stellung, Knotenspeicher& speicher, Brett& brett, int i);
// Makes entry i on the board and returns the piece taken from its target square (0 en passant).
::dravel::Figur zug_machen(Brett& brett, const Stellung* stellung, int i);
void zug_zuruecknehmen(Feld von, Feld nach, ::dravel::Figur geschlagen, uint8_t status, Brett& brett);
// Takes back the move that led to the node and returns its parent (the root stays).
Stellung* stellung_zurueck(Stellung* stellung, Brett& brett);
bool im_schach(const Stellung* stellung, const Brett& brett, Knotenspeicher& speicher);
// Removes the moves that leave the mover's king capturable, and castling out of or through check.
void zuege_pruefen(Stellung* stellung, Knotenspeicher& speicher, Brett& brett);

inline constexpr std::string_view kFehler_umwandlung =
    "Error   2 : Ungenuegende Angabe fuer Bauernumwandlung";

// The index of the move a text names (coordinates with an optional promotion letter in either
// alphabet, or a 1-based list number), or -1. `engine_text` receives the move as the engine
// gets it; `meldung` a message for the user, if any.
int zug_suchen(const Stellung* stellung, std::string_view text, std::string& engine_text,
               std::string& meldung);
// The record text (German promotion letter) and the list text (English promotion letter).
std::string zug_text(const Stellung* stellung, int i);
std::string listen_text(const Stellung* stellung, int i);
// The position as FEN: castling rights whose king and rook are at home, the en-passant square
// when the capture is possible, and the half-move clock, all from the game's history.
std::string fen_text(const Brett& brett, const Stellung* stellung);
// The entry of the parent's list that led to the node; null at the root.
const Zug* gespielter_zug(const Stellung* stellung);
// The list texts of the moves from the root to the node, in playing order.
std::vector<std::string> partie_zuege(const Stellung* stellung);

}  // namespace dravel
