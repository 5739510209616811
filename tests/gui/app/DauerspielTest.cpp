// Many games back to back in one window against kelvane running a real engine, as a player plays
// them: clicks and menu commands, refused clicks, New game in the middle of a game (also while
// the engine thinks), a saved game loaded again in the middle, F8 with the engine playing White,
// castling and en passant whenever the board offers them. After every engine move the board, the
// record and what kelvane told its engine (its log, replayed by stockfish) must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <regex>

#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

using testing_support::Process;
using testing_support::ReadLines;

// A record text as the engine writes it: promotion letters English and lower case.
std::string Engine_schreibweise(std::string zug) {
    if (zug.size() > 4) zug[4] = static_cast<char>(std::tolower(Deutsch_nach_englisch(zug[4])));
    return zug;
}

// The game as the engine knows it, from kelvane's log: the moves since the last "new", sent or
// played by the engine, and the last "setboard" it was given.
struct Engine_partie {
    std::vector<std::string> zuege;
    std::string setboard;
    size_t setboard_nach = 0;  // the moves before it
};

Engine_partie Aus_dem_log(const std::string& pfad) {
    // Sent moves, and the engine's: "move e7e5", or the old way, "1. ... e7e5".
    static const std::regex kZug(
        R"((?:> (?:usermove )?|< move |< \d+\. \.\.\. )([a-h][1-8][a-h][1-8][qrbn]?))");
    Engine_partie partie;
    std::smatch treffer;
    for (const std::string& zeile : ReadLines(pfad)) {
        if (zeile == "> new") partie = {};
        if (zeile.rfind("> setboard ", 0) == 0) {
            partie.setboard = zeile.substr(11);
            partie.setboard_nach = partie.zuege.size();
        }
        if (std::regex_match(zeile, treffer, kZug)) partie.zuege.push_back(treffer[1]);
    }
    return partie;
}

// The first three FEN fields: placement, side to move, castling rights.
std::string Stellungsteil(const std::string& fen) {
    std::istringstream felder(fen);
    std::string platz, seite, rochade;
    felder >> platz >> seite >> rochade;
    return platz + " " + seite + " " + rochade;
}

class DauerspielTest : public Fenster_test, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        const std::string engine = GetParam();
        for (const char* programm : {engine.c_str(), "stockfish"})
            if (!std::filesystem::exists(std::string("/usr/games/") + programm))
                GTEST_SKIP() << programm << " is not installed";
        setenv("KELVANE_ENGINE", engine == "gnuchess" ? "gnuchess -x" : engine.c_str(), 1);
        setenv("KELVANE_LEVEL", engine == "gnuchess" ? "depth 1" : "sd 2", 1);
        setenv("KELVANE_LOG", dir.File("kelvane.log").c_str(), 1);
        stockfish_ = std::make_unique<Process>(std::vector<std::string>{"/usr/games/stockfish"}, dir.Path());
    }
    void TearDown() override {
        unsetenv("KELVANE_LOG");
        Fenster_test::TearDown();
    }

    // Stockfish's FEN after the moves from the start.
    std::string Orakel(const std::vector<std::string>& zuege) {
        std::string befehl = "position startpos moves";
        for (const std::string& zug : zuege) befehl += " " + zug;
        stockfish_->Send(befehl);
        stockfish_->Send("d");
        while (auto zeile = stockfish_->ReadLine(10s))
            if (zeile->rfind("Fen: ", 0) == 0) return zeile->substr(5);
        return "(no answer)";
    }

    // The engine has moved: what it was told, the record and the board are one game.
    void Im_gleichschritt(const std::string& wo) {
        const Engine_partie engine = Aus_dem_log(dir.File("kelvane.log"));
        std::vector<std::string> aufgezeichnet;
        for (const std::string& zug : Zuege()) aufgezeichnet.push_back(Engine_schreibweise(zug));
        ASSERT_EQ(engine.zuege, aufgezeichnet) << wo;
        const Schach& spiel = fenster->Spiel();
        const std::string brett = fen_text(spiel.Aktuelles_brett(), spiel.Aktuelle_stellung());
        const std::string orakel = Orakel(engine.zuege);
        ASSERT_EQ(Stellungsteil(brett), Stellungsteil(orakel)) << wo;
        if (!engine.setboard.empty()) {
            const auto ende = engine.zuege.begin() + static_cast<long>(engine.setboard_nach);
            EXPECT_EQ(Stellungsteil(engine.setboard), Stellungsteil(Orakel({engine.zuege.begin(), ende})))
                << wo;
        }
    }

    // The human's move: castling or en passant when the list offers it, else one chosen by the
    // game's number and the ply.
    std::string Menschlicher_zug(int spiel, size_t ply) {
        std::vector<std::string> liste;
        Schach& kern = fenster->Spiel();
        for (std::string eintrag = kern.befehl("lf"); !eintrag.empty(); eintrag = kern.befehl("ln"))
            liste.push_back(eintrag);
        const Brett& brett = kern.Aktuelles_brett();
        for (const std::string& zug : liste) {
            const int von = (zug[0] - 'a') + 8 * (zug[1] - '1'), nach = (zug[2] - 'a') + 8 * (zug[3] - '1');
            const bool rochade = Typ(brett.Feld[von]) == figur::Koenig && std::abs(von % 8 - nach % 8) == 2;
            const bool en_passant = Typ(brett.Feld[von]) == figur::Bauer && von % 8 != nach % 8 &&
                                    brett.Feld[nach] == figur::Leer;
            if (rochade || en_passant) {
                ++besonders_;
                return zug;
            }
        }
        return liste.empty() ? std::string()
                             : liste[(static_cast<size_t>(spiel) * 31 + ply * 7 + 3) % liste.size()];
    }

    // Waits for the engine's move (or the end of the game) after the record had `vorher` moves.
    bool Antwort_abwarten(size_t vorher) {
        return Warten_bis(
            [&] {
                return !fenster->Engine_wartet() &&
                       (Zuege().size() >= vorher + 1 || !fragen.meldungen.empty() ||
                        !fenster->Spiel().Ergebnis_text().empty());
            },
            60s);
    }

    void Speichern_und_laden(const std::string& wo) {
        fragen.pfad = QString::fromStdString(dir.File("dauer.chd"));
        fenster->befehl_ausfuehren(befehl_id::Speichern);
        const Brett vorher = fenster->Spiel().Aktuelles_brett();
        const auto zuege = Zuege();
        fenster->befehl_ausfuehren(befehl_id::Laden);
        EXPECT_EQ(Zuege(), zuege) << wo;
        EXPECT_EQ(fenster->Spiel().Aktuelles_brett().Feld, vorher.Feld) << wo;
    }

    // One game from New game to its end or the ply limit.
    void Spielen(int spiel) {
        constexpr size_t kPly_grenze = 120;
        const std::string name = "game " + std::to_string(spiel);
        fragen.meldungen.clear();
        fenster->befehl_ausfuehren(befehl_id::Neues_spiel);
        if (spiel % 4 == 1) {
            fenster->befehl_ausfuehren(befehl_id::Computer);  // the engine plays White
            if (Zuege().size() != 1) return;
            Im_gleichschritt(name + " F8");
        }
        while (Zuege().size() < kPly_grenze && fragen.meldungen.empty() &&
               fenster->Spiel().Ergebnis_text().empty()) {
            const size_t ply = Zuege().size();
            if (ply % 11 == 5) Zug_klicken("a1b4");  // no piece ever moves so: refused, answered No
            if (spiel % 5 == 3 && ply == 16) Speichern_und_laden(name + " load");
            const std::string zug = Menschlicher_zug(spiel, ply);
            if (zug.empty()) break;
            bool neu_beim_warten = spiel % 5 == 2 && ply >= 20;
            if (neu_beim_warten)
                fenster->Beim_computerzug([&] {
                    QTimer::singleShot(0, [&] { fenster->befehl_ausfuehren(befehl_id::Neues_spiel); });
                });
            Zug_klicken(zug);
            if (neu_beim_warten) {
                ASSERT_TRUE(Warten_bis([&] { return !fenster->Engine_wartet() && Zuege().empty(); })) << name;
                fenster->Beim_computerzug(nullptr);
                return;
            }
            ASSERT_EQ(Zuege().size(), ply + 1) << name << ": " << zug;
            ASSERT_TRUE(Antwort_abwarten(ply + 1)) << name << ": no answer to " << zug;
            if (Zuege().size() == ply + 2) Im_gleichschritt(name + " after " + zug);
            if (HasFatalFailure()) return;
        }
        for (const auto& meldung : fragen.meldungen)
            EXPECT_TRUE(Ist_ergebnis(meldung.text)) << name << ": " << meldung.text;
        Speichern_und_laden(name + " end");
        std::cout << name << ": " << Zuege().size() << " plies"
                  << (fenster->Spiel().Ergebnis_text().empty() ? "" : ", " + fenster->Spiel().Ergebnis_text())
                  << "\n";
    }

    std::unique_ptr<Process> stockfish_;
    int besonders_ = 0;
};

TEST_P(DauerspielTest, GamesBackToBackStayInStep) {
    Starten();
    for (int spiel = 0; spiel < DAUERSPIELE && !HasFatalFailure(); ++spiel) Spielen(spiel);
    EXPECT_GT(besonders_, 0) << "no castling or en passant was played";
}

INSTANTIATE_TEST_SUITE_P(Engines, DauerspielTest, ::testing::Values("fairymax", "gnuchess"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace dravel
