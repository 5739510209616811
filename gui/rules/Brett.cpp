#include "gui/rules/Brett.h"

#include <cctype>

namespace dravel {

namespace {

struct Buchstaben {
    Figur typ;
    char deutsch;
    char englisch;
};

constexpr Buchstaben kBuchstaben[] = {
    {figur::Koenig, 'K', 'K'},   {figur::Dame, 'D', 'Q'}, {figur::Laeufer, 'L', 'B'},
    {figur::Springer, 'S', 'N'}, {figur::Turm, 'T', 'R'}, {figur::Bauer, 'B', 'P'},
};

char Buchstabe(Figur f, bool deutsch) {
    for (const auto& b : kBuchstaben) {
        if (b.typ != Typ(f)) continue;
        char c = deutsch ? b.deutsch : b.englisch;
        return Ist_schwarz(f) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
    }
    return ' ';
}

char Gleiche_schreibung(char original, char gross) {
    return std::islower(static_cast<unsigned char>(original)) ? static_cast<char>(std::tolower(gross))
                                                              : gross;
}

}  // namespace

Brett Brett::Grundstellung() {
    Brett brett;
    constexpr Figur kGrundreihe[8] = {figur::Turm,   figur::Springer, figur::Laeufer,  figur::Dame,
                                      figur::Koenig, figur::Laeufer,  figur::Springer, figur::Turm};
    for (int linie = 0; linie < 8; ++linie) {
        brett.Feld[linie] = kGrundreihe[linie];
        brett.Feld[8 + linie] = figur::Bauer;
        brett.Feld[48 + linie] = figur::Bauer | figur::Schwarz;
        brett.Feld[56 + linie] = kGrundreihe[linie] | figur::Schwarz;
    }
    return brett;
}

char Deutscher_buchstabe(Figur f) { return Buchstabe(f, true); }
char Englischer_buchstabe(Figur f) { return Buchstabe(f, false); }

Figur Figur_aus_deutschem_buchstaben(char c) {
    char gross = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& b : kBuchstaben)
        if (b.deutsch == gross)
            return std::islower(static_cast<unsigned char>(c)) ? (b.typ | figur::Schwarz) : b.typ;
    return figur::Leer;
}

char Englisch_nach_deutsch(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'B':
            return Gleiche_schreibung(c, 'L');
        case 'N':
            return Gleiche_schreibung(c, 'S');
        case 'Q':
            return Gleiche_schreibung(c, 'D');
        case 'R':
            return Gleiche_schreibung(c, 'T');
        default:
            return c;
    }
}

char Deutsch_nach_englisch(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'D':
            return Gleiche_schreibung(c, 'Q');
        case 'L':
            return Gleiche_schreibung(c, 'B');
        case 'S':
            return Gleiche_schreibung(c, 'N');
        case 'T':
            return Gleiche_schreibung(c, 'R');
        default:
            return c;
    }
}

std::string Feld_text(int feld) {
    return {static_cast<char>('a' + Linie(feld)), static_cast<char>('1' + Reihe(feld))};
}

}  // namespace dravel
