#pragma once

#include <QImage>
#include <array>

#include "gui/rules/Brett.h"

namespace dravel {

// The 18 piece bitmaps from the program's resources, in their fixed order: for each of king,
// queen, bishop, knight, rook and pawn the mask, the White and the Black image.
class Figurenbilder {
public:
    static constexpr int Anzahl = 18;
    static constexpr int Kein_bild = -1;

    Figurenbilder();

    const QImage& Bild(int index) const { return bilder_[static_cast<size_t>(index)]; }
    // False when a bitmap is missing from the resources.
    bool Vollstaendig() const;

    struct Bildpaar {
        int bild;
        int maske;
    };
    // The image and mask index of a piece; an empty square has no image and mask 0.
    static Bildpaar Bildpaar_von(Figur figur);

private:
    std::array<QImage, Anzahl> bilder_;
};

}  // namespace dravel
