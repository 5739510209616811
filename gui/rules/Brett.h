#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dravel {

// A square is rank * 8 + file: a1 = 0, h1 = 7, a8 = 56.
using Feld = uint8_t;
// A piece: the type in the low seven bits, 0x80 for Black; 0 is an empty square.
using Figur = uint8_t;

namespace figur {
inline constexpr Figur Leer = 0x00;
inline constexpr Figur Koenig = 0x01;
inline constexpr Figur Dame = 0x02;
inline constexpr Figur Laeufer = 0x04;
inline constexpr Figur Springer = 0x08;
inline constexpr Figur Turm = 0x10;
inline constexpr Figur Bauer = 0x20;
inline constexpr Figur Schwarz = 0x80;
inline constexpr Figur Typmaske = 0x7F;
}  // namespace figur

constexpr Figur Typ(Figur f) { return f & figur::Typmaske; }
constexpr bool Ist_schwarz(Figur f) { return (f & figur::Schwarz) != 0; }
constexpr int Linie(int feld) { return feld & 7; }
constexpr int Reihe(int feld) { return (feld & 63) >> 3; }

// Castling rights in a move's status, and the promotion mark.
namespace status {
inline constexpr uint8_t Weiss_kurz = 0x01;
inline constexpr uint8_t Weiss_lang = 0x02;
inline constexpr uint8_t Schwarz_kurz = 0x04;
inline constexpr uint8_t Schwarz_lang = 0x08;
inline constexpr uint8_t Alle_rochaden = 0x0F;
inline constexpr uint8_t Umwandlung = 0x80;
}  // namespace status

// The 64 squares of the board.
struct Brett {
    std::array<Figur, 64> Feld{};

    static Brett Grundstellung();
};

// The letters of a piece: German for record texts and the parser, English for FEN, list and
// engine texts; upper case for White. A blank for an empty square.
char Deutscher_buchstabe(Figur f);
char Englischer_buchstabe(Figur f);
// German letter to piece (a lower-case letter gives the Black piece); 0 for any other letter.
Figur Figur_aus_deutschem_buchstaben(char c);
// Letters translated between the alphabets (B<->L, N<->S, Q<->D, R<->T); others unchanged.
char Englisch_nach_deutsch(char c);
char Deutsch_nach_englisch(char c);
std::string Feld_text(int feld);

}  // namespace dravel
