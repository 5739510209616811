// The main window with its real widgets: menu, accelerators, clicks, the play cycle with an
// engine, and the commands that wait for it.
#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QMenuBar>
#include <QScreen>
#include <fstream>

#include "gui/app/Einstellungen.h"
#include "gui/app/Hauptfenster.h"
#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

// The processes this test has started that are still there (zombies included).
int Kindprozesse() {
    int anzahl = 0;
    DIR* proc = opendir("/proc");
    while (dirent* eintrag = readdir(proc)) {
        std::ifstream stat(std::string("/proc/") + eintrag->d_name + "/stat");
        std::string inhalt;
        if (!std::getline(stat, inhalt)) continue;
        // pid (name) state ppid: the name may hold blanks, so read after its closing bracket.
        size_t klammer = inhalt.rfind(')');
        if (klammer == std::string::npos) continue;
        char zustand;
        int eltern;
        if (std::sscanf(inhalt.c_str() + klammer + 1, " %c %d", &zustand, &eltern) == 2 && eltern == getpid())
            ++anzahl;
    }
    closedir(proc);
    return anzahl;
}

using HauptfensterTest = Fenster_test;

TEST_F(HauptfensterTest, MenuHoldsEveryCommandWithItsTextAndId) {
    Starten();
    EXPECT_EQ(fenster->windowTitle().toStdString(), "Kelvane GUI - chess program");
    std::vector<std::string> gefunden;
    for (QAction* menue : fenster->menuBar()->actions()) {
        gefunden.push_back(menue->text().toStdString() + ":");
        for (QAction* punkt : menue->menu()->actions())
            gefunden.push_back(punkt->isSeparator() ? "-"
                                                    : punkt->text().toStdString() + "=" +
                                                          std::to_string(punkt->data().toInt()));
    }
    const std::vector<std::string> erwartet = {"&File:",
                                               "-",
                                               "&New game=111",
                                               "&Save game=1008",
                                               "&Load game=1009",
                                               "-",
                                               "&Exit chess program =110",
                                               "&Moves:",
                                               "&Computer \tF8=120",
                                               "Draw m&ove \tF2=121",
                                               "&Possible moves \tF3=122",
                                               "Se&tup:",
                                               "&Main setup=109",
                                               "&Turn board \tF7=1010",
                                               "&Help:",
                                               "&About chess...\tF1=100",
                                               "&About engine Kelvane=32780",
                                               "&Instructions=32779"};
    EXPECT_EQ(gefunden, erwartet);
}

TEST_F(HauptfensterTest, FunctionKeysRunTheirCommands) {
    Starten();
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenster.get()));
    QTest::keyClick(fenster.get(), Qt::Key_F7);
    EXPECT_TRUE(fenster->Brett_gedreht());
    QTest::keyClick(fenster.get(), Qt::Key_F1);
    QTest::keyClick(fenster.get(), Qt::Key_F2);
    QTest::keyClick(fenster.get(), Qt::Key_F3);
    EXPECT_EQ(fragen.dialogtitel, (std::vector<std::string>{"About :  chess program", "moves", "moves"}));
}

TEST_F(HauptfensterTest, TheHumanMoveIsPaintedBeforeTheEngineIsAsked) {
    Fake_engine("on usermove e2e4 => move e7e5\n");
    Starten();
    Markierungen(false);
    const QImage anfang = fenster->Ansicht().Letztes_bild();
    QImage beim_fragen, erwartet;
    fenster->Beim_computerzug([&] {
        beim_fragen = fenster->Ansicht().Letztes_bild();
        erwartet = brett_malen(fenster->Spiel().Aktuelles_brett(), false, {}, Figurenbilder());
    });
    Zug_klicken("e2e4");
    ASSERT_TRUE(Warten_bis([&] { return Zuege().size() == 2; }));
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5"}));
    EXPECT_NE(beim_fragen, anfang);
    EXPECT_EQ(beim_fragen, erwartet);
    // The engine's move is painted too.
    const QImage danach = brett_malen(fenster->Spiel().Aktuelles_brett(), false, {}, Figurenbilder());
    EXPECT_TRUE(Warten_bis([&] { return fenster->Ansicht().Letztes_bild() == danach; }));
    EXPECT_TRUE(fragen.meldungen.empty());
}

TEST_F(HauptfensterTest, TheFirstClickSelectsAndTheSecondCompletesTheMove) {
    Starten();
    Automatisch(false);
    Markierungen(false);
    // An empty square is accepted as the first square; a click on it again changes nothing.
    Klicken({3, 3});
    EXPECT_TRUE(fenster->Gewaehltes_feld().aktiv);
    Klicken({3, 3});
    EXPECT_TRUE(fenster->Gewaehltes_feld().aktiv);
    EXPECT_TRUE(fragen.fragen.empty());
    // The second square completes a move, here an impossible one: the question names it.
    Klicken({3, 4});
    EXPECT_FALSE(fenster->Gewaehltes_feld().aktiv);
    ASSERT_EQ(fragen.fragen.size(), 1u);
    EXPECT_EQ(fragen.fragen[0].text,
              " The move :d5d4 is impossible \n \n Do you like to choose another one ?");
    EXPECT_EQ(fragen.fragen[0].titel, " impossible move");
    // The selected piece is painted inverted.
    Klicken(Anzeige("g1"));
    ASSERT_TRUE(Warten_bis([&] {
        return fenster->Ansicht().Letztes_bild() == brett_malen(fenster->Spiel().Aktuelles_brett(), false,
                                                                fenster->Gewaehltes_feld(), Figurenbilder());
    }));
    Klicken(Anzeige("f3"));
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"g1f3"}));
    // Right clicks and clicks with Shift or Ctrl are no moves.
    Klicken(Anzeige("e7"), Qt::RightButton);
    Klicken(Anzeige("e7"), Qt::LeftButton, Qt::ShiftModifier);
    Klicken(Anzeige("e7"), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(fenster->Gewaehltes_feld().aktiv);
}

TEST_F(HauptfensterTest, ATurnedBoardMapsClicksOntoTheTurnedSquares) {
    Starten();
    Automatisch(false);
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    Klicken({0, 0});
    Klicken({0, 1});
    ASSERT_EQ(fragen.fragen.size(), 1u);
    EXPECT_EQ(fragen.fragen[0].text.substr(0, 15), " The move :h1h2");
    // Turning clears a selection; the pawn on d2 is at column 4, row 1.
    Klicken({4, 1});
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    EXPECT_FALSE(fenster->Gewaehltes_feld().aktiv);
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    Klicken({4, 1});
    Klicken({4, 3});
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"d2d4"}));
}

TEST_F(HauptfensterTest, TheBoardFillsTheWindowWhateverItsShape) {
    for (QSize groesse : {QSize(900, 300), QSize(300, 900), QSize(1, 1)}) {
        // A window too small for its menu may never be painted.
        Starten(groesse, groesse.width() > 1);
        QImage schirm = fenster->Ansicht().grab().toImage();
        const int b = schirm.width(), h = schirm.height();
        if (b >= 16 && h >= 16) {
            // a6 is light, b6 dark, both in row 2.
            EXPECT_EQ(qGray(schirm.pixel(b / 16, 5 * h / 16)), 255) << b << "x" << h;
            EXPECT_EQ(qGray(schirm.pixel(3 * b / 16, 5 * h / 16)), 0) << b << "x" << h;
        }
        // Clicks anywhere in a window of any size are taken without harm.
        QTest::mouseClick(&fenster->Ansicht(), Qt::LeftButton, {}, QPoint(0, 0));
        QTest::mouseClick(&fenster->Ansicht(), Qt::LeftButton, {}, QPoint(b - 1, h - 1));
        fenster.reset();
    }
}

TEST_F(HauptfensterTest, WithoutAutomaticAnswersTheEngineMovesOnlyOnF8AndCanPlayWhite) {
    Fake_engine("on go => move e2e4\n");
    Starten();
    Automatisch(false);
    fenster->befehl_ausfuehren(befehl_id::Computer);
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4"}));
    Zug_klicken("e7e5");
    QTest::qWait(300);
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5"}));
    EXPECT_TRUE(fragen.meldungen.empty());
    // Level 3 asks kelvane for the strong engine: a longer time per move.
    EXPECT_NE(dir.Read("engine.log").find("st 4"), std::string::npos);
}

TEST_F(HauptfensterTest, CommandsThatNeedTheGameAreIgnoredWhileTheEngineThinks) {
    Fake_engine("on usermove e2e4 => !sleep 1500\non usermove e2e4 => move e7e5\n");
    Starten();
    Zug_klicken("e2e4");
    bool versucht = false;
    QImage gedreht_gemalt;
    fenster->Beim_computerzug([&] {
        QTimer::singleShot(500, [&] {
            EXPECT_TRUE(fenster->Engine_wartet());
            Zug_klicken("d7d5");
            for (int id : {befehl_id::Computer, befehl_id::Zug_eingeben, befehl_id::Moegliche_zuege,
                           befehl_id::Ueber_engine})
                fenster->befehl_ausfuehren(id);
            // Turning the board only paints: it goes on, and the window repaints meanwhile.
            fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
            versucht = true;
        });
    });
    ASSERT_TRUE(Warten_bis([&] { return Zuege().size() == 2; }));
    EXPECT_TRUE(versucht);
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5"}));
    EXPECT_TRUE(fragen.dialogtitel.empty());
    EXPECT_EQ(fragen.dateidialoge, 0);
    EXPECT_TRUE(fragen.meldungen.empty());
    EXPECT_FALSE(fenster->Gewaehltes_feld().aktiv);
    EXPECT_TRUE(fenster->Brett_gedreht());
}

// An engine that never answers: New game and Load end the wait at once, the engine with it, and
// the next game is played by an engine started anew, which never sees the old game's lines.
TEST_F(HauptfensterTest, NewGameAndLoadEndTheWaitForASilentEngine) {
    Fake_engine("on usermove e2e4 => !sleep 60000\non usermove d2d4 => move d7d5\n");
    Starten();
    dir.Write("zwei.chd", "c2c4\r\ne7e5\r\n");
    fragen.pfad = QString::fromStdString(dir.File("zwei.chd"));
    for (int id : {befehl_id::Neues_spiel, befehl_id::Laden}) {
        bool gegeben = false;
        fenster->Beim_computerzug([&, id] {
            QTimer::singleShot(300, [&, id] {
                gegeben = true;
                fenster->befehl_ausfuehren(id);
            });
        });
        Zug_klicken("e2e4");
        ASSERT_TRUE(
            Warten_bis([&] { return gegeben && !fenster->Engine_wartet() && Kindprozesse() == 0; }, 10s))
            << id;
        fenster->Beim_computerzug(nullptr);
        EXPECT_EQ(Zuege(), id == befehl_id::Laden ? (std::vector<std::string>{"c2c4", "e7e5"})
                                                  : std::vector<std::string>{})
            << id;
        EXPECT_TRUE(fragen.meldungen.empty());
        fenster->befehl_ausfuehren(befehl_id::Neues_spiel);
    }
    Zug_klicken("d2d4");
    ASSERT_TRUE(Warten_bis([&] { return Zuege().size() == 2; }));
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"d2d4", "d7d5"}));
    EXPECT_TRUE(fragen.meldungen.empty());
}

// The engine refuses the human's move: the board takes it back, and so does the record.
TEST_F(HauptfensterTest, AMoveTheEngineRefusesLeavesTheRecord) {
    Fake_engine("on usermove e2e4 => Illegal move: e2e4\n");
    Starten();
    Zug_klicken("e2e4");
    ASSERT_TRUE(Warten_bis([&] { return !fragen.meldungen.empty(); }));
    EXPECT_EQ(fragen.meldungen[0].text, " Kelvane: \n \nEngine Illegal move: e2e4");
    EXPECT_TRUE(Zuege().empty());
    fragen.pfad = QString::fromStdString(dir.File("partie.chd"));
    fenster->befehl_ausfuehren(befehl_id::Speichern);
    EXPECT_EQ(dir.Read("partie.chd"), "");
}

// Mate by the engine's move: the player is told, moves are refused, F8 asks nothing.
TEST_F(HauptfensterTest, AMateIsToldAndEndsTheGame) {
    Fake_engine(
        "on usermove f2f3 => move e7e5\non usermove g2g4 => move d8h4\n"
        "on usermove g2g4 => 0-1 {Black mates}\n");
    Starten();
    Zug_klicken("f2f3");
    ASSERT_TRUE(Warten_bis([&] { return Zuege().size() == 2; }));
    Zug_klicken("g2g4");
    ASSERT_TRUE(Warten_bis([&] { return !fragen.meldungen.empty(); }));
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"f2f3", "e7e5", "g2g4", "d8h4"}));
    EXPECT_EQ(fragen.meldungen[0].text, "0-1 {Black mates}");
    QTest::qWait(100);
    const std::string vorher = dir.Read("engine.log");
    fenster->befehl_ausfuehren(befehl_id::Computer);
    EXPECT_EQ(fragen.meldungen.size(), 2u);
    EXPECT_EQ(fragen.meldungen.back().text, "0-1 {Black mates}");
    Zug_klicken("a2a3");
    EXPECT_EQ(Zuege().size(), 4u);
    ASSERT_EQ(fragen.fragen.size(), 1u);
    QTest::qWait(100);
    EXPECT_EQ(dir.Read("engine.log"), vorher);  // the engine was asked nothing
}

// Where nothing maximises it, the window is most of the screen with a square board.
TEST_F(HauptfensterTest, TheNormalSizeIsMostOfTheScreenWithASquareBoard) {
    fenster = std::make_unique<Hauptfenster>(fragen, KELVANE_PATH);
    fenster->show();
    QCoreApplication::processEvents();
    const QRect schirm = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize brett = fenster->Ansicht().size();
    EXPECT_GE(fenster->height(), schirm.height() * 3 / 4);
    EXPECT_LE(fenster->frameGeometry().height(), schirm.height());
    EXPECT_NEAR(brett.width(), brett.height(), brett.height() / 20 + 2);
    EXPECT_TRUE(schirm.contains(fenster->geometry().center()));
}

TEST_F(HauptfensterTest, ClosingWhileTheEngineThinksEndsEngineAndWindow) {
    Fake_engine("on usermove e2e4 => !sleep 60000\n");
    Starten();
    Zug_klicken("e2e4");
    fenster->Beim_computerzug([&] { QTimer::singleShot(500, [&] { fenster->close(); }); });
    ASSERT_TRUE(Warten_bis([&] { return !fenster->isVisible(); }, 10s));
    EXPECT_FALSE(fenster->Engine_wartet());
    EXPECT_TRUE(Warten_bis([] { return Kindprozesse() == 0; }, 5s));
    EXPECT_TRUE(fragen.meldungen.empty());
}

TEST_F(HauptfensterTest, AnEngineThatDiesIsReportedAndTheProgramGoesOn) {
    Fake_engine("on usermove e2e4 => move e7e5\non usermove e2e4 => !exit\n");
    Starten();
    Zug_klicken("e2e4");
    ASSERT_TRUE(Warten_bis([&] { return Zuege().size() == 2; }));
    QTest::qWait(300);
    Zug_klicken("d2d4");
    ASSERT_TRUE(Warten_bis([&] { return !fragen.meldungen.empty(); }));
    EXPECT_NE(fragen.meldungen[0].text.find("The engine has stopped"), std::string::npos)
        << fragen.meldungen[0].text;
    EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5", "d2d4"}));
}

TEST_F(HauptfensterTest, HelpBoxesShowInstructionsAndTheEnginesName) {
    Fake_engine("");
    Starten();
    fenster->befehl_ausfuehren(befehl_id::Anleitung);
    fenster->befehl_ausfuehren(befehl_id::Ueber_engine);
    ASSERT_EQ(fragen.meldungen.size(), 2u);
    EXPECT_EQ(fragen.meldungen[0].titel, "instruction");
    EXPECT_EQ(fragen.meldungen[0].text.rfind(" short instructions: \n ========= \n", 0), 0u);
    EXPECT_NE(fragen.meldungen[0].text.find("en passant"), std::string::npos);
    EXPECT_EQ(fragen.meldungen[1].titel, "About engine");
    EXPECT_NE(fragen.meldungen[1].text.find("Fake Engine"), std::string::npos) << fragen.meldungen[1].text;
}

TEST_F(HauptfensterTest, ExitEndsTheEngineAndClosesTheWindow) {
    Fake_engine("");
    Starten();
    fenster->befehl_ausfuehren(befehl_id::Ueber_engine);
    ASSERT_EQ(Kindprozesse(), 1);
    fenster->befehl_ausfuehren(befehl_id::Beenden);
    EXPECT_FALSE(fenster->isVisible());
    EXPECT_TRUE(Warten_bis([] { return Kindprozesse() == 0; }, 5s));
    EXPECT_NE(dir.Read("engine.log").find("quit"), std::string::npos);
}

}  // namespace
}  // namespace dravel
