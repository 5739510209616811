#include "gui/app/Partie.h"

#include <cerrno>
#include <cstdio>

#include "gui/app/Dateifehler.h"

namespace dravel {

namespace {

constexpr size_t kGezeigte_zeichen = 40;

std::string schreibfehler(int nummer) {
    return "Datei-Fehler :" + std::string(fehler_text(fehler_aus_errno(nummer, true)));
}

// A line of a file as a message can show it: only printable ASCII, long lines cut.
std::string zeigbar(const std::string& zeile) {
    std::string text;
    for (unsigned char c : zeile.substr(0, kGezeigte_zeichen))
        text += (c < 0x20 || c >= 0x7F) ? '?' : char(c);
    if (zeile.size() > kGezeigte_zeichen) text += "...";
    return text;
}

// Reads a line, or as much of it as the line limit allows; false at the end of the file. ended
// tells whether the piece reached the end of its line; the line end (LF or CR LF) is not kept.
bool stueck_lesen(std::istream& datei, std::string& stueck, bool& beendet) {
    stueck.clear();
    char c = 0;
    while (stueck.size() < Partie::Zeilengrenze && datei.get(c) && c != '\n') stueck += c;
    beendet = !datei || c == '\n';
    if (beendet && !stueck.empty() && stueck.back() == '\r') stueck.pop_back();
    return datei || !stueck.empty();
}

}  // namespace

Partie::Partie(Schach& schach) : schach_(schach) {
    schach_.Neue_partie();
    for (const char* kommando : {"0", "8", "F1"}) schach_.befehl(kommando);
}

void Partie::zug_aufzeichnen() { zugliste_.push_back(schach_.befehl("ll")); }

void Partie::abgleichen() {
    const size_t gespielt = static_cast<size_t>(schach_.Halbzuege());
    if (zugliste_.size() > gespielt) zugliste_.resize(gespielt);
}

std::string Partie::speichern(const std::string& pfad) const {
    std::FILE* datei = std::fopen(pfad.c_str(), "wb");
    if (!datei) return schreibfehler(errno);
    int fehler = 0;
    for (const std::string& zug : zugliste_) {
        if (std::fputs(zug.c_str(), datei) < 0 || std::fputs("\r\n", datei) < 0) {
            fehler = errno;
            break;
        }
    }
    if (std::fclose(datei) != 0 && fehler == 0) fehler = errno;
    return fehler ? schreibfehler(fehler) : std::string();
}

std::string Partie::laden(std::istream& datei) {
    std::string stueck;
    bool beendet = true;
    int zeilennummer = 0;
    while (true) {
        if (beendet) ++zeilennummer;
        if (!stueck_lesen(datei, stueck, beendet)) break;
        if (!schach_.befehl("b" + stueck).empty())
            return std::string(kFehler_in_der_datei) + "\n\nline " + std::to_string(zeilennummer) + ": \"" +
                   zeigbar(stueck) + "\"";
        zug_aufzeichnen();
    }
    return {};
}

}  // namespace dravel
