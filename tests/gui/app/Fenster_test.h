#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "gui/app/Brettansicht.h"
#include "gui/app/Hauptfenster.h"
#include "tests/gui/app/Test_rueckfragen.h"
#include "tests/support/ProcessHarness.h"

namespace dravel {

using namespace std::chrono_literals;

// A result told by the board (mate, stalemate) or by the engine (its own result line).
inline bool Ist_ergebnis(const std::string& meldung) {
    const std::string rest =
        meldung.rfind(kKelvane_praefix, 0) == 0 ? meldung.substr(kKelvane_praefix.size()) : meldung;
    return rest.rfind("1-0 {", 0) == 0 || rest.rfind("0-1 {", 0) == 0 || rest.rfind("1/2-1/2 {", 0) == 0;
}

// A shown main window whose questions the test answers; its engine is kelvane running the fake
// engine with a script, or a real engine.
class Fenster_test : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    Test_rueckfragen fragen;
    std::unique_ptr<Hauptfenster> fenster;

    void TearDown() override {
        fenster.reset();
        for (const char* name : {"KELVANE_ENGINE", "KELVANE_LEVEL", "FAKE_ENGINE_SCRIPT", "FAKE_ENGINE_LOG"})
            unsetenv(name);
    }

    // The fake engine's script: its greeting is added.
    void Fake_engine(const std::string& skript) {
        dir.Write("script",
                  "on protover 2 => feature myname=\"Fake Engine\" usermove=1 setboard=1 done=1\n" + skript);
        setenv("KELVANE_ENGINE", FAKE_ENGINE_PATH, 1);
        setenv("FAKE_ENGINE_SCRIPT", dir.File("script").c_str(), 1);
        setenv("FAKE_ENGINE_LOG", dir.File("engine.log").c_str(), 1);
    }

    void Starten(QSize groesse = {800, 600}, bool gemalt_abwarten = true) {
        fenster = std::make_unique<Hauptfenster>(fragen, KELVANE_PATH);
        fenster->resize(groesse);
        fenster->show();
        if (gemalt_abwarten) {
            ASSERT_TRUE(Warten_bis([&] { return !fenster->Ansicht().Letztes_bild().isNull(); }));
        }
    }

    static bool Warten_bis(const std::function<bool()>& bedingung, std::chrono::milliseconds frist = 20s) {
        const auto ende = std::chrono::steady_clock::now() + frist;
        while (!bedingung()) {
            if (std::chrono::steady_clock::now() > ende) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QTest::qWait(5);
        }
        return true;
    }

    QPoint Mitte(Anzeigefeld feld) const {
        const QWidget& ansicht = fenster->Ansicht();
        return {(2 * feld.spalte + 1) * ansicht.width() / 16, (2 * feld.zeile + 1) * ansicht.height() / 16};
    }
    void Klicken(Anzeigefeld feld, Qt::MouseButton knopf = Qt::LeftButton,
                 Qt::KeyboardModifiers tasten = Qt::NoModifier) {
        QTest::mouseClick(&fenster->Ansicht(), knopf, tasten, Mitte(feld));
    }
    // The display square of a board square such as "e2".
    Anzeigefeld Anzeige(const std::string& feld) const {
        const int linie = feld[0] - 'a', reihe = feld[1] - '1';
        return fenster->Brett_gedreht() ? Anzeigefeld{7 - linie, reihe} : Anzeigefeld{linie, 7 - reihe};
    }
    void Zug_klicken(const std::string& zug) {
        Klicken(Anzeige(zug.substr(0, 2)));
        Klicken(Anzeige(zug.substr(2, 2)));
    }
    const std::vector<std::string>& Zuege() const { return fenster->Aktuelle_partie().Zugliste(); }

    // Works the setup dialog: the check box's state and OK.
    void Automatisch(bool an) {
        fragen.dialog = [an](QDialog& dialog) {
            auto* knopf = dialog.findChild<QCheckBox*>("200");
            if (knopf->isChecked() != an) knopf->click();
            dialog.findChild<QPushButton*>("1")->click();
        };
        fenster->befehl_ausfuehren(befehl_id::Einstellungen);
        fragen.dialog = nullptr;
    }
    // The setup dialog's "Show last move and check" box, and OK.
    void Markierungen(bool an) {
        fragen.dialog = [an](QDialog& dialog) {
            auto* knopf = dialog.findChild<QCheckBox*>("201");
            if (knopf->isChecked() != an) knopf->click();
            dialog.findChild<QPushButton*>("1")->click();
        };
        fenster->befehl_ausfuehren(befehl_id::Einstellungen);
        fragen.dialog = nullptr;
    }
    // Types a move into the typed-move dialog and confirms it.
    void Tippen(const std::string& zug) {
        fragen.dialog = [zug](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("131")->setText(QString::fromStdString(zug));
            dialog.findChild<QPushButton*>("1")->click();
        };
        fenster->befehl_ausfuehren(befehl_id::Zug_eingeben);
        fragen.dialog = nullptr;
    }
};

}  // namespace dravel
