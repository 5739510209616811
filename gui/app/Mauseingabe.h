#pragma once

#include <string>

namespace dravel {

// A square in display coordinates: column 0 to 7 from the left, row 0 to 7 from the top.
struct Anzeigefeld {
    int spalte;
    int zeile;
    bool operator==(const Anzeigefeld&) const = default;
};

// The display square under a click at (x, y) in a client area of the size given.
Anzeigefeld feld_aus_klick(int x, int y, int breite, int hoehe);
// File letter and rank digit of a display square.
std::string feld_text(Anzeigefeld feld, bool gedreht);
// The move text of two clicks: "B", both squares, and "D" so that a promotion becomes a queen.
std::string klickzug_text(Anzeigefeld von, Anzeigefeld nach, bool gedreht);

}  // namespace dravel
