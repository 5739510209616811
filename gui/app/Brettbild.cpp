#include "gui/app/Brettbild.h"

#include <QPainter>

namespace dravel {

namespace {

// The raster operations of the square table.
enum class Rop { Und, Oder, Exklusiv_oder, Kopie };

void blit(QPainter& maler, int x, int y, const QImage& quelle, Rop rop) {
    switch (rop) {
        case Rop::Und:
            maler.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            break;
        case Rop::Oder:
            maler.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            break;
        case Rop::Exklusiv_oder:
            maler.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            break;
        case Rop::Kopie:
            maler.setCompositionMode(QPainter::CompositionMode_Source);
            break;
    }
    maler.drawImage(x, y, quelle, 0, 0, Feldgroesse, Feldgroesse);
}

// A frame just inside a square's edge.
void rahmen(QPainter& maler, int x, int y, QRgb farbe) {
    maler.setCompositionMode(QPainter::CompositionMode_SourceOver);
    maler.setPen(QPen(QColor(farbe), Rahmenbreite, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    maler.setBrush(Qt::NoBrush);
    const int rand = Rahmenbreite / 2;
    maler.drawRect(x + rand, y + rand, Feldgroesse - 1 - 2 * rand, Feldgroesse - 1 - 2 * rand);
}

void markierungen_malen(QPainter& maler, bool gedreht, const Auswahl& auswahl,
                        const Markierungen& markierungen) {
    for (int zeile = 0; zeile < 8; ++zeile) {
        for (int spalte = 0; spalte < 8; ++spalte) {
            const int feld = Brettfeld(spalte, zeile, gedreht);
            const int x = Feldgroesse * spalte, y = Feldgroesse * zeile;
            if (feld == markierungen.letzter_von || feld == markierungen.letzter_nach)
                rahmen(maler, x, y, Farbe_letzter_zug);
            if (feld == markierungen.schach) rahmen(maler, x, y, Farbe_schach);
            if (auswahl.aktiv && auswahl.spalte == spalte && auswahl.zeile == zeile)
                rahmen(maler, x, y, Farbe_auswahl);
        }
    }
}

}  // namespace

int Brettfeld(int spalte, int zeile, bool gedreht) {
    return gedreht ? zeile * 8 + (7 - spalte) : (7 - zeile) * 8 + spalte;
}

QImage brett_malen(const Brett& brett, bool gedreht, const Auswahl& auswahl, const Figurenbilder& bilder,
                   const std::optional<Markierungen>& markierungen) {
    QImage bild(Bildgroesse, Bildgroesse, QImage::Format_RGB32);
    bild.fill(Qt::white);
    if (!bilder.Vollstaendig()) return bild;
    // The black frame of the white fill lies just outside the image, so only the white shows.
    QPainter maler(&bild);
    const QImage& leer = bilder.Bild(0);
    for (int zeile = 0; zeile < 8; ++zeile) {
        for (int spalte = 0; spalte < 8; ++spalte) {
            const int x = Feldgroesse * spalte, y = Feldgroesse * zeile;
            const bool hell = (zeile + spalte) % 2 == 0;
            const bool gewaehlt =
                !markierungen && auswahl.aktiv && auswahl.spalte == spalte && auswahl.zeile == zeile;
            const auto paar = Figurenbilder::Bildpaar_von(brett.Feld[Brettfeld(spalte, zeile, gedreht)]);
            const QImage& maske = bilder.Bild(paar.maske);
            if (paar.bild == Figurenbilder::Kein_bild) {
                if (!hell) {
                    blit(maler, x, y, leer, Rop::Kopie);
                    blit(maler, x, y, leer, Rop::Exklusiv_oder);
                }
                continue;
            }
            const QImage& figur = bilder.Bild(paar.bild);
            if (hell && !gewaehlt) {
                blit(maler, x, y, maske, Rop::Und);
                blit(maler, x, y, figur, Rop::Oder);
            } else if (hell) {
                blit(maler, x, y, maske, Rop::Exklusiv_oder);
                blit(maler, x, y, maske, Rop::Und);
                blit(maler, x, y, maske, Rop::Oder);
            } else if (!gewaehlt) {
                blit(maler, x, y, maske, Rop::Exklusiv_oder);
                blit(maler, x, y, maske, Rop::Und);
                blit(maler, x, y, figur, Rop::Oder);
            } else {
                blit(maler, x, y, maske, Rop::Exklusiv_oder);
            }
        }
    }
    if (markierungen) markierungen_malen(maler, gedreht, auswahl, *markierungen);
    return bild;
}

}  // namespace dravel
