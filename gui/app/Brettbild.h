#pragma once

#include <QImage>

#include "gui/app/Figurenbilder.h"
#include "gui/rules/Brett.h"

namespace dravel {

inline constexpr int Feldgroesse = 47;
inline constexpr int Bildgroesse = 8 * Feldgroesse;

// The square chosen by the first click, in display coordinates (column from the left, row from
// the top); column and row 10 when none is chosen.
struct Auswahl {
    static constexpr int Keine = 10;
    bool aktiv = false;
    int spalte = Keine;
    int zeile = Keine;
};

// The board square shown at display column and row.
int Brettfeld(int spalte, int zeile, bool gedreht);

// Paints the board into a 376 x 376 image with the pieces' masks and images combined by raster
// operations: light squares white, dark squares black, the chosen square inverted.
QImage brett_malen(const Brett& brett, bool gedreht, const Auswahl& auswahl, const Figurenbilder& bilder);

}  // namespace dravel
