#include "gui/app/Info_dialog.h"

#include <QLabel>

#include "gui/app/Dialogeinheiten.h"

namespace dravel {

Info_dialog::Info_dialog(QWidget* eltern) : QDialog(eltern) {
    const Dialogeinheiten einheiten(font());
    dialog_einrichten(*this, "About :  chess program", einheiten, 145, 89);
    const struct {
        const char* text;
        int y;
    } zeilen[] = {{"chess gui for Kelvane v 2.3.e", 6},
                  {"written by the chess toolkit team", 22},
                  {"sources and issues: see README.md", 38}};
    for (const auto& zeile : zeilen) {
        auto* text = new QLabel(zeile.text, this);
        text->setAlignment(Qt::AlignCenter);
        steuerelement_setzen(*text, einheiten, {0, zeile.y, 144, 8});
    }
    schaltflaeche(*this, einheiten, Id_ok, "OK", {57, 57, 32, 14});
}

}  // namespace dravel
