// The four dialogs with their controls, and what each does to the game.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include "gui/app/Einstellungen.h"
#include "gui/app/Zug_dialog.h"
#include "gui/app/Zugliste_dialog.h"
#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

using DialogeTest = Fenster_test;

QStringList Eintraege(QDialog& dialog) {
    QStringList texte;
    auto* liste = dialog.findChild<QListWidget*>("1008");
    for (int i = 0; i < liste->count(); ++i) texte << liste->item(i)->text();
    return texte;
}

// Chooses an entry of the move list and confirms it.
std::function<void(QDialog&)> Waehlen(const QString& text) {
    return [text](QDialog& dialog) {
        auto* liste = dialog.findChild<QListWidget*>("1008");
        auto treffer = liste->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(treffer.size(), 1) << text.toStdString();
        liste->setCurrentItem(treffer.front());
        dialog.findChild<QPushButton*>("1")->click();
    };
}

TEST_F(DialogeTest, TypedMoveDialogSubmitsItsFirstNineCharacters) {
    Starten();
    Automatisch(false);
    QStringList gesehen;
    fragen.dialog = [&](QDialog& dialog) {
        auto* eingabe = dialog.findChild<QLineEdit*>("131");
        ASSERT_TRUE(eingabe);
        EXPECT_TRUE(eingabe->text().isEmpty());
        for (auto* gruppe : dialog.findChildren<QGroupBox*>()) gesehen << gruppe->title();
        EXPECT_EQ(dialog.findChild<QPushButton*>("2")->text(), "Cancel");
        eingabe->setText("e2e4");
        dialog.findChild<QPushButton*>("1")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Zug_eingeben);
    EXPECT_EQ(gesehen, QStringList{"enter a move"});
    EXPECT_EQ(fragen.dialogtitel.back(), "moves");
    EXPECT_EQ(Zuege(), std::vector<std::string>{"e2e4"});

    // Cancel and an empty text do nothing.
    fragen.dialog = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("131")->setText("e7e5");
        dialog.findChild<QPushButton*>("2")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Zug_eingeben);
    Tippen("");
    EXPECT_EQ(Zuege(), std::vector<std::string>{"e2e4"});
    EXPECT_TRUE(fragen.fragen.empty());

    // A longer text is cut before it is parsed.
    Zug_dialog dialog(nullptr);
    dialog.findChild<QLineEdit*>("131")->setText("abcdefghijklmnop");
    EXPECT_EQ(dialog.Zug(), "abcdefghi");
    Tippen("e7e5     and more");
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5"}));
}

TEST_F(DialogeTest, PossibleMovesListsSortedMovesAndSubmitsTheChosenOne) {
    Starten();
    Automatisch(false);
    QStringList liste;
    fragen.dialog = [&](QDialog& dialog) {
        liste = Eintraege(dialog);
        auto* bild = dialog.findChildren<QLabel*>().value(0);
        ASSERT_TRUE(bild);
        EXPECT_EQ(bild->pixmap().size(), QSize(269, 198));
        Waehlen("g1f3")(dialog);
    };
    fenster->befehl_ausfuehren(befehl_id::Moegliche_zuege);
    EXPECT_EQ(liste.size(), 20);
    QStringList sortiert = liste;
    sortiert.sort();
    EXPECT_EQ(liste, sortiert);
    EXPECT_EQ(Zuege(), std::vector<std::string>{"g1f3"});
    // OK with nothing chosen, and Cancel, submit nothing.
    fragen.dialog = [](QDialog& dialog) { dialog.findChild<QPushButton*>("1")->click(); };
    fenster->befehl_ausfuehren(befehl_id::Moegliche_zuege);
    fragen.dialog = [](QDialog& dialog) {
        auto* liste = dialog.findChild<QListWidget*>("1008");
        liste->setCurrentRow(0);
        dialog.findChild<QPushButton*>("2")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Moegliche_zuege);
    EXPECT_EQ(Zuege(), std::vector<std::string>{"g1f3"});
}

TEST_F(DialogeTest, PossibleMovesAfterMateOffersNothingToChoose) {
    Starten();
    Automatisch(false);
    for (const char* zug : {"f2f3", "e7e5", "g2g4", "d8h4"}) Tippen(zug);
    ASSERT_EQ(Zuege().size(), 4u);
    QStringList liste;
    fragen.dialog = [&](QDialog& dialog) {
        liste = Eintraege(dialog);
        Waehlen("0-1 {Black mates}")(dialog);
    };
    fenster->befehl_ausfuehren(befehl_id::Moegliche_zuege);
    EXPECT_EQ(liste, (QStringList{" end of game:", "0-1 {Black mates}"}));
    EXPECT_EQ(Zuege().size(), 4u);
    EXPECT_TRUE(fragen.fragen.empty());
}

TEST_F(DialogeTest, AnImpossibleMoveOffersTheListOfPossibleMoves) {
    Starten();
    Automatisch(false);
    fragen.antworten = {Rueckfragen::Antwort::Ja};
    Zug_klicken("e2e5");
    ASSERT_EQ(fragen.fragen.size(), 1u);
    // Yes opened the list (cancelled by default); now choose from it.
    EXPECT_EQ(fragen.dialogtitel.back(), "moves");
    fragen.antworten = {Rueckfragen::Antwort::Ja};
    fragen.dialog = Waehlen("d2d4");
    Zug_klicken("e2e5");
    EXPECT_EQ(Zuege(), std::vector<std::string>{"d2d4"});
    // No and Cancel leave the game as it was.
    fragen.antworten = {Rueckfragen::Antwort::Nein, Rueckfragen::Antwort::Abbrechen};
    Zug_klicken("a7a4");
    Zug_klicken("a7a4");
    EXPECT_EQ(Zuege(), std::vector<std::string>{"d2d4"});
}

TEST_F(DialogeTest, SetupShowsTheSettingsAndStoresLevelsAtOnce) {
    Starten();
    Einstellungen& setup = fenster->Setup();
    EXPECT_TRUE(setup.Automatisch_antworten());
    EXPECT_EQ(setup.Stufe(), Einstellungen::Stufe_3);
    auto gezeigt = [](QDialog& dialog) {
        std::string stand = dialog.findChild<QCheckBox*>("200")->isChecked() ? "auto" : "manual";
        for (const char* id : {"1013", "1014", "1015"})
            if (dialog.findChild<QRadioButton*>(id)->isChecked()) stand += std::string(" ") + id;
        return stand;
    };
    std::vector<std::string> staende;
    // A level button stores its level even when the dialog is then cancelled; the check box only
    // at OK.
    fragen.dialog = [&](QDialog& dialog) {
        staende.push_back(gezeigt(dialog));
        dialog.findChild<QRadioButton*>("1013")->click();
        dialog.findChild<QRadioButton*>("1013")->click();
        dialog.findChild<QCheckBox*>("200")->click();
        staende.push_back(gezeigt(dialog));
        dialog.findChild<QPushButton*>("2")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Einstellungen);
    EXPECT_EQ(setup.Stufe(), Einstellungen::Stufe_1);
    EXPECT_TRUE(setup.Automatisch_antworten());
    fragen.dialog = [&](QDialog& dialog) {
        staende.push_back(gezeigt(dialog));
        dialog.findChild<QRadioButton*>("1014")->click();
        dialog.findChild<QCheckBox*>("200")->click();
        dialog.findChild<QPushButton*>("1")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Einstellungen);
    EXPECT_EQ(staende, (std::vector<std::string>{"auto 1015", "manual 1013", "auto 1013"}));
    EXPECT_EQ(setup.Stufe(), Einstellungen::Stufe_2);
    EXPECT_FALSE(setup.Automatisch_antworten());
    EXPECT_EQ(setup.Computerzug_befehl(), "c2");
    EXPECT_EQ(fragen.dialogtitel, (std::vector<std::string>{"setup", "setup"}));
}

TEST_F(DialogeTest, AboutBoxNamesTheProgram) {
    Starten();
    QStringList texte;
    fragen.dialog = [&](QDialog& dialog) {
        for (auto* text : dialog.findChildren<QLabel*>()) texte << text->text();
        dialog.findChild<QPushButton*>("1")->click();
    };
    fenster->befehl_ausfuehren(befehl_id::Info);
    EXPECT_EQ(fragen.dialogtitel, std::vector<std::string>{"About :  chess program"});
    EXPECT_TRUE(texte.contains("chess gui for Kelvane v 2.3.e"));
}

TEST_F(DialogeTest, AResultTextInTheListIsNoMove) {
    Fake_engine("on usermove e2e4 => 1-0 {White mates in a long line}\n");
    Starten();
    Zug_klicken("e2e4");
    ASSERT_TRUE(Warten_bis([&] { return !fragen.meldungen.empty(); }));
    QStringList liste;
    fragen.dialog = [&](QDialog& dialog) {
        liste = Eintraege(dialog);
        Waehlen("1-0 {White mates in a long line}")(dialog);
    };
    fenster->befehl_ausfuehren(befehl_id::Moegliche_zuege);
    EXPECT_TRUE(liste.contains("1-0 {White mates in a long line}"));
    EXPECT_EQ(Zuege(), std::vector<std::string>{"e2e4"});
    EXPECT_TRUE(fragen.fragen.empty());
}

}  // namespace
}  // namespace dravel
