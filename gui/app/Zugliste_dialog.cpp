#include "gui/app/Zugliste_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>

#include "gui/app/Dialogeinheiten.h"
#include "gui/rules/Schach.h"

namespace dravel {

Zugliste_dialog::Zugliste_dialog(Schach& schach, QWidget* eltern) : QDialog(eltern) {
    const Dialogeinheiten einheiten(font());
    dialog_einrichten(*this, "moves", einheiten, 265, 179);
    steuerelement_setzen(*new QGroupBox("possible moves", this), einheiten, {11, 8, 72, 155});
    steuerelement_setzen(*new QGroupBox("system of coordinates", this), einheiten, {97, 44, 154, 120});
    schaltflaeche(*this, einheiten, Id_ok, "OK", {96, 12, 32, 14});
    schaltflaeche(*this, einheiten, Id_abbrechen, "Cancel", {206, 13, 44, 14});
    liste_ = new QListWidget(this);
    steuerelement_setzen(*liste_, einheiten, {19, 23, 56, 132}, Id_liste);
    liste_->setSortingEnabled(true);
    liste_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A bitmap static takes the size of its bitmap.
    auto* bild = new QLabel(this);
    bild->setPixmap(QPixmap(":/bitmaps/koordinaten.bmp"));
    steuerelement_setzen(*bild, einheiten, {105, 58, 20, 20});
    bild->resize(bild->pixmap().size());
    connect(liste_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    // A finished game lists its result; there is nothing to choose.
    spiel_zu_ende_ = !schach.Ergebnis_text().empty();
    if (!spiel_zu_ende_)
        for (std::string eintrag = schach.befehl("lf"); !eintrag.empty(); eintrag = schach.befehl("ln"))
            liste_->addItem(QString::fromStdString(eintrag));
    if (liste_->count() == 0) {
        liste_->addItem(" end of game:");
        liste_->addItem(spiel_zu_ende_ ? QString::fromStdString(schach.Ergebnis_text()) : "mate or draw");
        spiel_zu_ende_ = true;
    }
}

std::string Zugliste_dialog::Gewaehlter_zug() const {
    const QListWidgetItem* eintrag = liste_->currentItem();
    if (!eintrag || !eintrag->isSelected() || spiel_zu_ende_) return {};
    std::string text = eintrag->text().toStdString();
    return text.size() > Feldlaenge ? std::string() : text;
}

}  // namespace dravel
