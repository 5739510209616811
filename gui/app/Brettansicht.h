#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "gui/app/Mauseingabe.h"

namespace dravel {

// The board view: paints the image the window gives it stretched over its whole area, and turns
// plain left clicks into display squares. The game itself is the window's business.
class Brettansicht : public QWidget {
public:
    struct Rueckrufe {
        std::function<QImage()> bild;
        std::function<void()> gemalt;
        std::function<void(Anzeigefeld)> geklickt;
    };

    Brettansicht(Rueckrufe rueckrufe, QWidget* eltern);
    // The 376 x 376 board image of the last paint.
    const QImage& Letztes_bild() const { return letztes_bild_; }

protected:
    void paintEvent(QPaintEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;

private:
    Rueckrufe rueckrufe_;
    QImage letztes_bild_;
};

}  // namespace dravel
