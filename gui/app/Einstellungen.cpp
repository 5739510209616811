#include "gui/app/Einstellungen.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include "gui/app/Dialogeinheiten.h"

namespace dravel {

Einstellungen::Einstellungen(QWidget* eltern) : QDialog(eltern) {
    const Dialogeinheiten einheiten(font());
    dialog_einrichten(*this, "setup", einheiten, 162, 133);
    steuerelement_setzen(*new QGroupBox("computer power", this), einheiten, {9, 35, 85, 72});
    automatisch_ = new QCheckBox("computer &Answers autmoticly", this);
    steuerelement_setzen(*automatisch_, einheiten, {11, 12, 132, 12}, Id_automatisch);
    markierungen_ = new QCheckBox("Show last move and check", this);
    steuerelement_setzen(*markierungen_, einheiten, {11, 114, 140, 12}, Id_markierungen);
    schaltflaeche(*this, einheiten, Id_ok, "OK", {108, 40, 42, 15});
    schaltflaeche(*this, einheiten, Id_abbrechen, "Cancel", {108, 75, 42, 14});
    const struct {
        int id;
        const char* text;
        QRect rechteck;
    } stufen[] = {{Stufe_1, "Level 1", {19, 53, 36, 9}},
                  {Stufe_2, "Level 2", {19, 73, 35, 10}},
                  {Stufe_3, "Level 3", {19, 91, 71, 10}}};
    for (size_t i = 0; i < stufen_.size(); ++i) {
        stufen_[i] = new QRadioButton(stufen[i].text, this);
        stufen_[i]->setAutoExclusive(false);
        steuerelement_setzen(*stufen_[i], einheiten, stufen[i].rechteck, stufen[i].id);
        connect(stufen_[i], &QRadioButton::clicked, this, [this, id = stufen[i].id] { stufe_waehlen(id); });
    }
    anzeigen();
}

std::string Einstellungen::Computerzug_befehl() const {
    switch (stufe_) {
        case Stufe_1:
            return "c1";
        case Stufe_2:
            return "c2";
        case Stufe_3:
            return "c3";
        default:
            return "c";
    }
}

void Einstellungen::anzeigen() {
    automatisch_->setChecked(automatisch_antworten_);
    markierungen_->setChecked(markierungen_zeigen_);
    for (QRadioButton* knopf : stufen_) knopf->setChecked(knopf->objectName().toInt() == stufe_);
}

void Einstellungen::stufe_waehlen(int id) {
    for (QRadioButton* knopf : stufen_) knopf->setChecked(knopf->objectName().toInt() == id);
    stufe_ = id;
}

void Einstellungen::accept() {
    automatisch_antworten_ = automatisch_->isChecked();
    markierungen_zeigen_ = markierungen_->isChecked();
    for (QRadioButton* knopf : stufen_)
        if (knopf->isChecked()) stufe_ = knopf->objectName().toInt();
    QDialog::accept();
}

}  // namespace dravel
