#include <gtest/gtest.h>

#include "gui/rules/Stellung.h"

namespace dravel {
namespace {

// A board, a pool and the current node, as the game core keeps them.
struct Partie {
    Brett brett = Brett::Grundstellung();
    Knotenspeicher speicher;
    Stellung* stellung = nullptr;

    Partie() {
        stellung = zug_ausfuehren(nullptr, speicher, brett, 0);
        zuege_pruefen(stellung, speicher, brett);
    }
    int Suchen(const std::string& text) {
        std::string engine_text, meldung;
        return zug_suchen(stellung, text, engine_text, meldung);
    }
    void Ziehen(const std::string& text) {
        int index = Suchen(text);
        ASSERT_GE(index, 0) << text;
        stellung = zug_ausfuehren(stellung, speicher, brett, index);
        zuege_pruefen(stellung, speicher, brett);
    }
    void Ziehen(std::initializer_list<const char*> zuege) {
        for (const char* zug : zuege) Ziehen(zug);
    }
    std::vector<std::string> Liste() const {
        std::vector<std::string> texte;
        for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) texte.push_back(listen_text(stellung, i));
        return texte;
    }
    bool Hat(const std::string& text) const {
        auto liste = Liste();
        return std::find(liste.begin(), liste.end(), text) != liste.end();
    }
};

TEST(ZugerzeugungTest, GrundstellungInSquareScanOrder) {
    Partie partie;
    EXPECT_EQ(partie.Liste(),
              (std::vector<std::string>{"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "a2a4", "b2b3",
                                        "b2b4", "c2c3", "c2c4", "d2d3", "d2d4", "e2e3", "e2e4",
                                        "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4"}));
}

TEST(EnPassantTest, WhiteCapturesFirstAndTakesBackTheBlackPawn) {
    Partie partie;
    partie.Ziehen({"e2e4", "a7a6", "e4e5", "d7d5"});
    Brett vorher = partie.brett;
    int index = partie.Suchen("e5d6");
    ASSERT_GE(index, 0);
    EXPECT_LT(index, partie.Suchen("e5e6"));  // en passant comes first among the pawn's moves
    Figur geschlagen = zug_machen(partie.brett, partie.stellung, index);
    EXPECT_EQ(geschlagen, figur::Leer);
    EXPECT_EQ(partie.brett.Feld[35], figur::Leer);   // d5
    EXPECT_EQ(partie.brett.Feld[43], figur::Bauer);  // d6
    const Zug& zug = partie.stellung->Zuege()[index];
    zug_zuruecknehmen(zug.Von, zug.Nach, geschlagen, zug.Status, partie.brett);
    EXPECT_EQ(partie.brett.Feld, vorher.Feld);
}

TEST(EnPassantTest, BlackCapturesAndOnlyRightAfterTheTwoStep) {
    Partie partie;
    partie.Ziehen({"g1f3", "d7d5", "f3g1", "d5d4", "e2e4"});
    EXPECT_TRUE(partie.Hat("d4e3"));
    partie.Ziehen("d4e3");
    EXPECT_EQ(partie.brett.Feld[28], figur::Leer);  // e4 emptied
    partie.stellung = stellung_zurueck(partie.stellung, partie.brett);
    EXPECT_EQ(partie.brett.Feld[28], figur::Bauer);
    EXPECT_EQ(partie.brett.Feld[27], figur::Bauer | figur::Schwarz);
    Partie spaeter;
    spaeter.Ziehen({"g1f3", "d7d5", "f3g1", "d5d4", "e2e4", "b8c6", "a2a3"});
    EXPECT_FALSE(spaeter.Hat("d4e3"));
}

TEST(UmwandlungTest, FourEntriesAndTheParserCases) {
    Partie partie;
    partie.Ziehen({"h2h4", "g7g5", "h4g5", "g8f6", "g5g6", "f6e4", "g6g7", "e4c3"});
    std::vector<std::string> liste = partie.Liste();
    std::vector<std::string> umwandlungen;
    for (const auto& text : liste)
        if (text.rfind("g7h8", 0) == 0) umwandlungen.push_back(text);
    EXPECT_EQ(umwandlungen, (std::vector<std::string>{"g7h8Q", "g7h8R", "g7h8B", "g7h8N"}));
    struct Fall {
        const char* text;
        const char* engine_text;
        Figur figur;
    };
    for (Fall fall : {Fall{"g7h8D", "g7h8Q", figur::Dame}, Fall{"g7h8q", "g7h8q", figur::Dame},
                      Fall{"g7h8Q", "g7h8Q", figur::Dame}, Fall{"g7h8s", "g7h8n", figur::Springer},
                      Fall{"g7h8T", "g7h8R", figur::Turm}}) {
        std::string engine_text, meldung;
        int index = zug_suchen(partie.stellung, fall.text, engine_text, meldung);
        ASSERT_GE(index, 0) << fall.text;
        EXPECT_EQ(partie.stellung->Zuege()[index].Figur, fall.figur) << fall.text;
        EXPECT_EQ(engine_text, fall.engine_text);
        EXPECT_TRUE(meldung.empty());
    }
    std::string engine_text, meldung;
    EXPECT_EQ(zug_suchen(partie.stellung, "g7h8", engine_text, meldung), -1);
    EXPECT_EQ(meldung, "\nError   2 : Ungenuegende Angabe fuer Bauernumwandlung\n");
}

TEST(UmwandlungTest, TakingBackLeavesThePawnAndTheCapturedPiece) {
    Partie partie;
    partie.Ziehen({"h2h4", "g7g5", "h4g5", "g8f6", "g5g6", "f6e4", "g6g7", "e4c3", "g7h8D"});
    EXPECT_EQ(partie.brett.Feld[63], figur::Dame);
    partie.stellung = stellung_zurueck(partie.stellung, partie.brett);
    EXPECT_EQ(partie.brett.Feld[54], figur::Bauer);                  // g7
    EXPECT_EQ(partie.brett.Feld[63], figur::Turm | figur::Schwarz);  // h8
}

TEST(RochadeTest, RemovedInCheckThroughAttackAndWithoutTheRook) {
    Partie frei;
    frei.Ziehen({"e2e4", "e7e5", "g1f3", "b8c6", "f1c4", "g8f6"});
    EXPECT_TRUE(frei.Hat("e1g1"));
    Partie durch;  // f1 is attacked by the bishop on a6
    durch.Ziehen({"e2e4", "b7b6", "g1f3", "c8a6", "g2g3", "a6f1", "h2h3", "f1c4", "f3g5", "c4a6"});
    EXPECT_FALSE(durch.Hat("e1g1"));
    EXPECT_FALSE(durch.Hat("e1f1"));
    Partie schach;
    schach.Ziehen({"e2e4", "e7e5", "g1f3", "d8h4", "f1c4", "h4f2"});
    EXPECT_FALSE(schach.Hat("e1g1"));
    Partie ohne_turm;  // h1's rook is taken on its square; the right stays, the move does not
    ohne_turm.Ziehen(
        {"g2g3", "b7b6", "g1f3", "c8b7", "f1h3", "b7f3", "e2e3", "f3h1", "d2d3", "h1f3", "d1f3", "a7a6"});
    EXPECT_FALSE(ohne_turm.Hat("e1g1"));
    EXPECT_TRUE(ohne_turm.Hat("e1f1"));
}

TEST(ZugsucheTest, ListNumbersAndInvalidTexts) {
    Partie partie;
    std::string engine_text, meldung;
    EXPECT_EQ(zug_suchen(partie.stellung, "1", engine_text, meldung), 0);
    EXPECT_EQ(engine_text, "b1a3");
    EXPECT_EQ(zug_suchen(partie.stellung, "20", engine_text, meldung), 19);
    EXPECT_EQ(zug_suchen(partie.stellung, "0", engine_text, meldung), -1);
    EXPECT_EQ(zug_suchen(partie.stellung, "21", engine_text, meldung), -1);
    EXPECT_EQ(zug_suchen(partie.stellung, "E2E4", engine_text, meldung), 13);
    EXPECT_EQ(zug_suchen(partie.stellung, "e2", engine_text, meldung), -1);
    EXPECT_EQ(zug_suchen(partie.stellung, "e2e5", engine_text, meldung), -1);
    EXPECT_EQ(zug_suchen(partie.stellung, "\xff\xfe\x01\x02", engine_text, meldung), -1);
    EXPECT_TRUE(meldung.empty());
}

// The FEN tells the game's history: castling rights as the king and rooks have moved or been
// taken, the en-passant square only when the capture is legal, and the half-move clock.
struct FenRow {
    const char* name;
    std::vector<const char*> zuege;
    const char* fen;
};

class FenTextTest : public ::testing::TestWithParam<FenRow> {};

TEST_P(FenTextTest, TellsTheHistory) {
    Partie partie;
    for (const char* zug : GetParam().zuege) partie.Ziehen(zug);
    EXPECT_EQ(fen_text(partie.brett, partie.stellung), GetParam().fen);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, FenTextTest,
    ::testing::Values(FenRow{"AfterE4NoCaptureIsPossible",
                             {"e2e4"},
                             "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"},
                      FenRow{"KingWentAndCameBack",
                             {"e2e4", "e7e5", "e1e2", "e8e7", "e2e1", "e7e8"},
                             "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w - - 4 4"},
                      FenRow{"OneRookMoved",
                             {"g1f3", "b8c6", "h1g1", "c6b8", "g1h1"},
                             "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b Qkq - 5 3"},
                      FenRow{"EnPassantPossible",
                             {"e2e4", "a7a6", "e4e5", "d7d5"},
                             "rnbqkbnr/1pp1pppp/p7/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3"},
                      FenRow{"EnPassantForBlack",
                             {"a2a3", "e7e5", "a3a4", "e5e4", "d2d4"},
                             "rnbqkbnr/pppp1ppp/8/8/P2Pp3/8/1PP1PPPP/RNBQKBNR b KQkq d3 0 3"},
                      FenRow{"RookTakenAtHome",
                             {"g2g3", "b7b6", "f1g2", "c8b7", "g2b7", "a7a6", "b7a8"},
                             "Bn1qkbnr/2pppppp/pp6/8/8/6P1/PPPPPP1P/RNBQK1NR b KQk - 0 4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KnotenspeicherTest, ALongGameTakesMoreBlocksAndReplaysExactly) {
    Partie partie;
    const char* pendel[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int ply = 0; ply < 400; ++ply) partie.Ziehen(pendel[ply % 4]);
    EXPECT_GT(partie.speicher.Bloecke(), 1u);
    EXPECT_EQ(partie.stellung->Welcher_zug, 201);
    EXPECT_EQ(partie.Liste().size(), 20u);
    for (int ply = 0; ply < 400; ++ply) partie.stellung = stellung_zurueck(partie.stellung, partie.brett);
    EXPECT_EQ(partie.brett.Feld, Brett::Grundstellung().Feld);
    EXPECT_EQ(partie.stellung->Letzt_zug_zeiger, nullptr);
}

}  // namespace
}  // namespace dravel
