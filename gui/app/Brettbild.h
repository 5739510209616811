#pragma once

#include <QImage>
#include <optional>

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

// What is marked beyond the plain board, as board squares (-1 for none): the last move's two
// squares and a king in check. With marks on, the chosen square gets a frame of its own instead
// of being inverted, so a chosen piece keeps its colour.
struct Markierungen {
    int letzter_von = -1;
    int letzter_nach = -1;
    int schach = -1;
};

inline constexpr QRgb Farbe_letzter_zug = qRgb(255, 170, 0);
inline constexpr QRgb Farbe_schach = qRgb(230, 0, 0);
inline constexpr QRgb Farbe_auswahl = qRgb(0, 190, 0);
inline constexpr int Rahmenbreite = 3;

// The board square shown at display column and row.
int Brettfeld(int spalte, int zeile, bool gedreht);

// Paints the board into a 376 x 376 image with the pieces' masks and images combined by raster
// operations: light squares white, dark squares black, the chosen square inverted; or, with
// marks, the chosen square and the marked squares framed in colour.
QImage brett_malen(const Brett& brett, bool gedreht, const Auswahl& auswahl, const Figurenbilder& bilder,
                   const std::optional<Markierungen>& markierungen = std::nullopt);

}  // namespace dravel
