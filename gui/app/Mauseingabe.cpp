#include "gui/app/Mauseingabe.h"

#include <algorithm>

namespace dravel {

namespace {

// Clicks outside the area (a mouse grab can report them) and an area of no size still give a square.
int teil(int wert, int groesse) {
    if (groesse <= 0) return 0;
    return std::clamp(static_cast<int>((static_cast<long long>(wert) * 8) / groesse), 0, 7);
}

}  // namespace

Anzeigefeld feld_aus_klick(int x, int y, int breite, int hoehe) { return {teil(x, breite), teil(y, hoehe)}; }

std::string feld_text(Anzeigefeld feld, bool gedreht) {
    std::string text(2, ' ');
    text[0] = static_cast<char>(gedreht ? 'h' - feld.spalte : 'a' + feld.spalte);
    text[1] = static_cast<char>(gedreht ? '1' + feld.zeile : '8' - feld.zeile);
    return text;
}

std::string klickzug_text(Anzeigefeld von, Anzeigefeld nach, bool gedreht) {
    return "B" + feld_text(von, gedreht) + feld_text(nach, gedreht) + "D";
}

}  // namespace dravel
