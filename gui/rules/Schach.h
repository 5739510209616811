#pragma once

#include <string>
#include <string_view>

#include "gui/engine/Engine_verbindung.h"
#include "gui/rules/Stellung.h"

namespace dravel {

inline constexpr std::string_view kFehler_ungueltiger_zug = "Error   1 : Ungueltiger Zug !";
inline constexpr std::string_view kKelvane_praefix = " Kelvane: \n \n";
inline constexpr std::string_view kWeiss_setzt_matt = "1-0 {White mates}";
inline constexpr std::string_view kSchwarz_setzt_matt = "0-1 {Black mates}";
inline constexpr std::string_view kPatt = "1/2-1/2 {Stalemate}";

// The game core: the board, the node pool and the current position, driven by text commands.
// Every command answers with a text: empty for success, else the first message it produced.
class Schach {
public:
    static constexpr int Nicht_gestartet = 99;

    explicit Schach(Engine_verbindung& engine) : engine_(engine) {}

    // What a fresh game record does: the start position on the board and an empty pool.
    void Neue_partie();
    // Runs one command ("0", "8", "F1", "Be2e4", "lf", "ln", "ll", "c3", "V", "X", ...).
    std::string befehl(std::string_view kommando);

    const Brett& Aktuelles_brett() const { return brett_; }
    const Stellung* Aktuelle_stellung() const { return aktuelle_stellung_; }
    // The game's result once it is over (mate or stalemate on the board, or the engine's own
    // result line); empty while it runs.
    const std::string& Ergebnis_text() const { return ergebnis_text_; }
    // The square of the king of the side to move when it is in check, else -1.
    int Schachfeld() const { return schachfeld_; }
    // Half-moves from the start to the current position.
    int Halbzuege() const;
    // Whether the last computer move was given up on the way (its engine has been ended).
    bool Computerzug_abgebrochen() const { return abgebrochen_; }
    int Engine_zustand() const { return engine_zustand_; }
    const Knotenspeicher& Speicher() const { return speicher_; }

private:
    void Meldung(std::string_view text);
    bool Engine_automatisch_starten();
    void Menschlicher_zug(std::string_view text);
    void Liste(bool erster);
    void Computerzug(char stufe);
    void Stellung_senden(char stufe);
    void Stufe_senden(char stufe);
    void Engine_zug_anwenden(const std::string& zeile);
    void Zug_anwenden(int index);
    void Schachfeld_bestimmen();
    void Engine_verloren();

    Engine_verbindung& engine_;
    Brett brett_ = Brett::Grundstellung();
    Knotenspeicher speicher_;
    Stellung* aktuelle_stellung_ = nullptr;
    // The position the engine has been told, or null when it may not know it: the single move
    // goes out only when the engine's position plus that move is the current one.
    const Stellung* engine_stellung_ = nullptr;
    bool engine_neues_spiel_ = false;
    bool abgebrochen_ = false;
    int schachfeld_ = -1;
    std::string letzter_zug_text_;
    std::string ergebnis_text_;
    int listen_index_ = 0;
    bool engine_autostart_ = false;
    int engine_zustand_ = Nicht_gestartet;
    std::string antwort_;
};

}  // namespace dravel
