#include "gui/app/Figurenbilder.h"

namespace dravel {

namespace {

constexpr const char* kNamen[Figurenbilder::Anzahl] = {
    "konigm",    "konigw",    "konigb",    "damem", "damew", "dameb", "lauferm", "lauferw", "lauferb",
    "springerm", "springerw", "springerb", "turmm", "turmw", "turmb", "bauerm",  "bauerw",  "bauerb"};

}  // namespace

Figurenbilder::Figurenbilder() {
    for (size_t i = 0; i < bilder_.size(); ++i) {
        // The raster operations work on 32-bit pixels; the 16-colour bitmaps are converted once.
        QImage bild(QString(":/bitmaps/") + kNamen[i] + ".bmp");
        if (!bild.isNull()) bilder_[i] = bild.convertToFormat(QImage::Format_RGB32);
    }
}

bool Figurenbilder::Vollstaendig() const {
    for (const QImage& bild : bilder_)
        if (bild.isNull()) return false;
    return true;
}

Figurenbilder::Bildpaar Figurenbilder::Bildpaar_von(Figur figur) {
    int basis;
    switch (Typ(figur)) {
        case figur::Koenig:
            basis = 0;
            break;
        case figur::Dame:
            basis = 3;
            break;
        case figur::Laeufer:
            basis = 6;
            break;
        case figur::Springer:
            basis = 9;
            break;
        case figur::Turm:
            basis = 12;
            break;
        case figur::Bauer:
            basis = 15;
            break;
        default:
            return {Kein_bild, 0};
    }
    return {basis + (Ist_schwarz(figur) ? 2 : 1), basis};
}

}  // namespace dravel
