#include "gui/app/Rueckfragen.h"

#include <QFileDialog>
#include <QMessageBox>

#include "gui/app/Dialogeinheiten.h"

namespace dravel {

namespace {

constexpr const char* kDateifilter = "Schach Programm (*.chd);;All Files (*.*)";
constexpr const char* kDateiendung = "chd";

QString titel_oder_name(const QString& titel) { return titel.isEmpty() ? QString(kProgrammname) : titel; }

std::optional<QString> dateidialog(QWidget* eltern, QFileDialog::AcceptMode modus, const QString& vorschlag) {
    QFileDialog dialog(eltern, QString(), QString(), kDateifilter);
    dialog.setAcceptMode(modus);
    dialog.setFileMode(modus == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(kDateiendung);
    if (!vorschlag.isEmpty()) dialog.selectFile(vorschlag);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front();
}

}  // namespace

void Qt_rueckfragen::meldung(QWidget* eltern, const QString& text, const QString& titel) {
    QMessageBox box(QMessageBox::NoIcon, titel_oder_name(titel), text, QMessageBox::Ok, eltern);
    dialogfarben_setzen(box);
    box.exec();
}

Rueckfragen::Antwort Qt_rueckfragen::frage(QWidget* eltern, const QString& text, const QString& titel) {
    QMessageBox box(QMessageBox::Question, titel_oder_name(titel), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, eltern);
    dialogfarben_setzen(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Antwort::Ja;
        case QMessageBox::No:
            return Antwort::Nein;
        default:
            return Antwort::Abbrechen;
    }
}

std::optional<QString> Qt_rueckfragen::speicherpfad(QWidget* eltern) {
    return dateidialog(eltern, QFileDialog::AcceptSave, "neuspiel.chd");
}

std::optional<QString> Qt_rueckfragen::oeffnungspfad(QWidget* eltern) {
    return dateidialog(eltern, QFileDialog::AcceptOpen, QString());
}

bool Qt_rueckfragen::dialog_ausfuehren(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

}  // namespace dravel
