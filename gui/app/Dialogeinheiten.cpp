#include "gui/app/Dialogeinheiten.h"

#include <QDialog>
#include <QFontMetrics>
#include <QPalette>
#include <QPushButton>

namespace dravel {

Dialogeinheiten::Dialogeinheiten(const QFont& schrift) {
    QFontMetrics masse(schrift);
    const int buchstaben = masse.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    zeichenbreite_ = (buchstaben / 26 + 1) / 2;
    zeichenhoehe_ = masse.height();
}

QRect Dialogeinheiten::rechteck(int x, int y, int breite, int hoehe) const {
    return {x * zeichenbreite_ / 4, y * zeichenhoehe_ / 8, breite * zeichenbreite_ / 4,
            hoehe * zeichenhoehe_ / 8};
}

QSize Dialogeinheiten::groesse(int breite, int hoehe) const {
    return {breite * zeichenbreite_ / 4, hoehe * zeichenhoehe_ / 8};
}

void dialogfarben_setzen(QWidget& widget) {
    QPalette farben = widget.palette();
    const QColor grau(192, 192, 192);
    for (auto rolle : {QPalette::Window, QPalette::Button}) farben.setColor(rolle, grau);
    for (auto rolle : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        farben.setColor(rolle, Qt::black);
    widget.setPalette(farben);
    widget.setAutoFillBackground(true);
}

void dialog_einrichten(QDialog& dialog, const char* titel, const Dialogeinheiten& einheiten, int breite,
                       int hoehe) {
    dialog.setWindowTitle(titel);
    dialog.setFixedSize(einheiten.groesse(breite, hoehe));
    dialogfarben_setzen(dialog);
}

void steuerelement_setzen(QWidget& steuer, const Dialogeinheiten& einheiten, QRect rechteck, int id) {
    if (id >= 0) steuer.setObjectName(QString::number(id));
    steuer.setGeometry(einheiten.rechteck(rechteck.x(), rechteck.y(), rechteck.width(), rechteck.height()));
}

QPushButton* schaltflaeche(QDialog& dialog, const Dialogeinheiten& einheiten, int id, const char* text,
                           QRect rechteck) {
    auto* knopf = new QPushButton(text, &dialog);
    steuerelement_setzen(*knopf, einheiten, rechteck, id);
    if (id == Id_ok) {
        knopf->setDefault(true);
        QObject::connect(knopf, &QPushButton::clicked, &dialog, &QDialog::accept);
    } else if (id == Id_abbrechen) {
        QObject::connect(knopf, &QPushButton::clicked, &dialog, &QDialog::reject);
    }
    return knopf;
}

}  // namespace dravel
