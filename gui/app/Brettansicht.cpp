#include "gui/app/Brettansicht.h"

#include <QMouseEvent>
#include <QPainter>

namespace dravel {

Brettansicht::Brettansicht(Rueckrufe rueckrufe, QWidget* eltern)
    : QWidget(eltern), rueckrufe_(std::move(rueckrufe)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Brettansicht::paintEvent(QPaintEvent*) {
    letztes_bild_ = rueckrufe_.bild();
    {
        QPainter maler(this);
        maler.setRenderHint(QPainter::SmoothPixmapTransform);
        maler.drawImage(rect(), letztes_bild_);
    }
    rueckrufe_.gemalt();
}

void Brettansicht::mousePressEvent(QMouseEvent* ereignis) {
    // Only a plain left click: no other button held, no Shift or Ctrl.
    if (ereignis->button() != Qt::LeftButton || ereignis->buttons() != Qt::LeftButton ||
        (ereignis->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        ereignis->ignore();
        return;
    }
    const QPoint punkt = ereignis->position().toPoint();
    rueckrufe_.geklickt(feld_aus_klick(punkt.x(), punkt.y(), width(), height()));
}

}  // namespace dravel
