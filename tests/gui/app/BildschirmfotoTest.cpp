// Screenshots of the window and its dialogs, written into the build folder for a person to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QListWidget>
#include <QMessageBox>

#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

using BildschirmfotoTest = Fenster_test;

QString Ablage(const char* name) {
    QDir().mkpath(SCREENSHOT_DIR);
    return QString(SCREENSHOT_DIR) + "/" + name + ".png";
}

void Foto(QWidget& widget, const char* name) {
    QCoreApplication::processEvents();
    const QString pfad = Ablage(name);
    ASSERT_TRUE(widget.grab().save(pfad)) << pfad.toStdString();
    EXPECT_GT(QFileInfo(pfad).size(), 1000) << name;
}

TEST_F(BildschirmfotoTest, WindowAndDialogs) {
    Starten({1920, 1080});
    Automatisch(false);
    Foto(*fenster, "start");
    for (const char* zug : {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6"}) Tippen(zug);
    Klicken(Anzeige("b5"));
    Foto(*fenster, "after_moves");
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    Foto(*fenster, "turned");
    // The mate: the last move framed, the king in check framed, and the message the player gets.
    fenster->befehl_ausfuehren(befehl_id::Neues_spiel);
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    for (const char* zug : {"f2f3", "e7e5", "g2g4", "d8h4"}) Tippen(zug);
    Foto(*fenster, "mate");
    ASSERT_FALSE(fragen.meldungen.empty());
    {
        QMessageBox nachricht(QMessageBox::NoIcon, kProgrammname,
                              QString::fromStdString(fragen.meldungen.back().text), QMessageBox::Ok,
                              fenster.get());
        nachricht.show();
        Foto(nachricht, "message_mate");
    }
    Starten({1024, 768});
    const std::pair<int, const char*> dialoge[] = {{befehl_id::Info, "dialog_about"},
                                                   {befehl_id::Einstellungen, "dialog_setup"},
                                                   {befehl_id::Moegliche_zuege, "dialog_possible_moves"},
                                                   {befehl_id::Zug_eingeben, "dialog_typed_move"}};
    for (const auto& [id, name] : dialoge) {
        fragen.dialog = [name = name](QDialog& dialog) {
            if (auto* liste = dialog.findChild<QListWidget*>("1008")) liste->setCurrentRow(3);
            dialog.show();
            Foto(dialog, name);
            dialog.reject();
        };
        fenster->befehl_ausfuehren(id);
    }
    EXPECT_EQ(std::vector<std::string>(fragen.dialogtitel.end() - 4, fragen.dialogtitel.end()),
              (std::vector<std::string>{"About :  chess program", "setup", "moves", "moves"}));
}

}  // namespace
}  // namespace dravel
