#include "gui/app/Zug_dialog.h"

#include <QGroupBox>
#include <QLineEdit>

#include "gui/app/Dialogeinheiten.h"

namespace dravel {

Zug_dialog::Zug_dialog(QWidget* eltern) : QDialog(eltern) {
    const Dialogeinheiten einheiten(font());
    dialog_einrichten(*this, "moves", einheiten, 114, 75);
    steuerelement_setzen(*new QGroupBox("enter a move", this), einheiten, {11, 8, 90, 36});
    eingabe_ = new QLineEdit(this);
    steuerelement_setzen(*eingabe_, einheiten, {22, 25, 62, 12}, Id_eingabe);
    schaltflaeche(*this, einheiten, Id_ok, "OK", {12, 51, 32, 14});
    schaltflaeche(*this, einheiten, Id_abbrechen, "Cancel", {57, 51, 44, 14});
    eingabe_->clear();
    eingabe_->setFocus();
}

std::string Zug_dialog::Zug() const { return eingabe_->text().left(Hoechstlaenge).toStdString(); }

}  // namespace dravel
