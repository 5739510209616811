// Whole games by mouse clicks against kelvane running fairymax.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "gui/rules/Schach.h"
#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

class FensterspielTestFairymax : public Fenster_test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("/usr/games/fairymax")) GTEST_SKIP() << "fairymax is not installed";
        setenv("KELVANE_ENGINE", "fairymax", 1);
        setenv("KELVANE_LEVEL", "sd 2", 1);
    }

    // Clicks the human's moves, chosen from the possible moves, and waits for each answer; ends
    // at mate, a result from the engine, or the ply limit.
    void Spielen(size_t plies) {
        Schach& spiel = fenster->Spiel();
        size_t gespielt = Zuege().size();
        while (gespielt < plies) {
            std::vector<std::string> liste;
            for (std::string eintrag = spiel.befehl("lf"); !eintrag.empty(); eintrag = spiel.befehl("ln"))
                liste.push_back(eintrag);
            if (liste.empty() || !spiel.Ergebnis_text().empty()) break;
            const std::string zug = liste[(gespielt * 7 + 3) % liste.size()];
            Zug_klicken(zug);
            ASSERT_EQ(Zuege().size(), gespielt + 1) << zug;
            ASSERT_TRUE(
                Warten_bis([&] { return Zuege().size() == gespielt + 2 || !fragen.meldungen.empty(); }, 60s))
                << "no answer to " << zug;
            if (!fragen.meldungen.empty()) {
                EXPECT_TRUE(Ist_ergebnis(fragen.meldungen[0].text)) << fragen.meldungen[0].text;
                break;
            }
            gespielt += 2;
        }
        std::string partie;
        for (const auto& zug : Zuege()) partie += " " + zug;
        std::cout << "game:" << partie << "\n";
    }
};

TEST_F(FensterspielTestFairymax, WhiteByClicksToTheEnd) {
    Starten();
    Spielen(150);
    EXPECT_GE(Zuege().size(), 20u);
    // Everything played was recorded, in turn, and the record replays to the same position.
    fragen.pfad = QString::fromStdString(dir.File("spiel.chd"));
    fenster->befehl_ausfuehren(befehl_id::Speichern);
    const Brett ende = fenster->Spiel().Aktuelles_brett();
    const size_t anzahl = Zuege().size();
    fenster->befehl_ausfuehren(befehl_id::Laden);
    EXPECT_EQ(Zuege().size(), anzahl);
    EXPECT_EQ(fenster->Spiel().Aktuelles_brett().Feld, ende.Feld);
}

TEST_F(FensterspielTestFairymax, BlackOnTheTurnedBoardAfterF8) {
    Starten();
    fenster->befehl_ausfuehren(befehl_id::Brett_drehen);
    fenster->befehl_ausfuehren(befehl_id::Computer);
    ASSERT_EQ(Zuege().size(), 1u);
    Spielen(41);
    EXPECT_GE(Zuege().size(), 21u);
}

}  // namespace
}  // namespace dravel
