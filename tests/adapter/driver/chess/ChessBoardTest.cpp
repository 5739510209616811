#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ChessBoard.h"
#include "MoveGenerator.h"

namespace pontax {
namespace {

ChessBoard Board(std::string_view fen) {
    ChessBoard board;
    board.SetFen(fen);
    return board;
}

MoveRecord Find(const ChessBoard& board, std::string_view coordinate) {
    MoveList list;
    MoveGenerator().GenerateLegal(board, list);
    for (const auto& move : list)
        if (MoveToCoordinate(move) == coordinate) return move;
    return {};
}

std::string San(std::string_view fen, std::string_view coordinate,
                ChessBoard::SanStyle style = ChessBoard::SanStyle::PromotionEquals) {
    ChessBoard board = Board(fen);
    MoveRecord move = Find(board, coordinate);
    return move.IsEmpty() ? "(illegal)" : board.MoveToSan(move, style);
}

std::string Parse(std::string_view fen, std::string_view text) {
    MoveRecord move = Board(fen).ParseSan(text);
    return move.IsEmpty() ? "" : MoveToCoordinate(move);
}

constexpr std::string_view kStart = ChessBoard::kStartFen;

TEST(FenTest, RoundTripsAlwaysEndingInZeroOne) {
    for (std::string_view fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                                 "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b Kq - 0 1",
                                 "8/8/8/3pP3/8/8/8/k6K w - d6 0 1", "8/8/8/8/8/8/8/8 w - - 0 1"})
        EXPECT_EQ(Board(fen).GetFen(), fen);
    EXPECT_EQ(Board("4k3/8/8/8/8/8/8/4K3 w - - 37 80").GetFen(), "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(Board("  4k3/8/8/8/8/8/8/4K3   B   qk").GetFen(), "4k3/8/8/8/8/8/8/4K3 b kq - 0 1");
}

TEST(FenTest, EnPassantFieldNeedsARankDigitFromTwoToEight) {
    EXPECT_EQ(Board("4k3/8/8/8/4P3/8/8/4K3 b - e3").enPassantSquare, SquareOf(4, 2));
    EXPECT_EQ(Board("4k3/8/8/8/8/8/8/4K3 w - a1").enPassantSquare, kNoSquare);
    EXPECT_EQ(Board("4k3/8/8/8/8/8/8/4K3 w - z6").enPassantSquare, SquareOf(0, 5));
    EXPECT_EQ(Board("4k3/8/8/8/8/8/8/4K3 w - -").enPassantSquare, kNoSquare);
}

TEST(FenTest, MalformedTextsGiveWhatTheReadingRulesGive) {
    EXPECT_EQ(Board("").GetFen(), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(Board("PPPPPPPPP/8 w").GetFen(), "PPPPPPPP/P7/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(Board("x?!/rk w").GetFen(), "rk6/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(Board("8/8/8/8/8/8/8/8/8/8/8/RK w").GetFen(), "8/8/8/8/8/8/8/8 w - - 0 1");
    EXPECT_EQ(Board(std::string(300, 'Q')).GetFen(),
              "QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ/QQQQQQQQ w - - 0 1");
}

TEST(MoveGenerationTest, StartPositionOrder) {
    MoveList list;
    MoveGenerator().GenerateLegal(Board(kStart), list);
    std::vector<std::string> moves;
    for (const auto& move : list) moves.push_back(MoveToCoordinate(move));
    EXPECT_EQ(moves, (std::vector<std::string>{"b1a3", "b1c3", "g1f3", "g1h3", "a2a3", "a2a4", "b2b3",
                                               "b2b4", "c2c3", "c2c4", "d2d3", "d2d4", "e2e3", "e2e4",
                                               "f2f3", "f2f4", "g2g3", "g2g4", "h2h3", "h2h4"}));
}

// The legal list is the pseudo-legal list with each illegal move replaced by the last entry, the
// legality of each move decided by making it.
TEST(MoveGenerationTest, LegalListKeepsTheReplaceByLastOrder) {
    for (std::string_view fen : {"4k3/8/8/8/1b6/7R/3N4/4K3 w - -", "4k3/8/8/8/8/8/3p4/4K3 w - -",
                                 "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
                                 "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", "8/8/8/2k5/3Pp3/8/8/4K2Q b - d3",
                                 "4k3/8/8/8/8/8/r7/R3K2R w KQ -", "3k4/8/8/q7/8/8/3P4/3K4 w - -"}) {
        ChessBoard board = Board(fen);
        MoveGenerator generator;
        MoveList expected;
        generator.GeneratePseudoLegal(board, expected);
        for (int i = 0; i < expected.count;) {
            if (generator.IsLegal(board, expected.moves[static_cast<size_t>(i)]))
                ++i;
            else
                expected.moves[static_cast<size_t>(i)] =
                    expected.moves[static_cast<size_t>(--expected.count)];
        }
        MoveList legal;
        generator.GenerateLegal(board, legal);
        std::vector<std::string> want, got;
        for (const auto& move : expected) want.push_back(MoveToCoordinate(move));
        for (const auto& move : legal) got.push_back(MoveToCoordinate(move));
        EXPECT_EQ(got, want) << fen;
    }
}

TEST(MoveGenerationTest, BoardsWithoutAKingStillGenerate) {
    MoveList list;
    MoveGenerator generator;
    generator.GenerateLegal(Board("8/8/8/8/8/8/8/R7 w"), list);
    EXPECT_EQ(list.count, 14);
    EXPECT_FALSE(generator.InCheck(Board("8/8/8/8/8/8/8/R7 w"), kWhite));
    generator.GenerateLegal(Board("k7/8/8/8/8/8/8/K6K w"), list);  // two kings: still exact
    EXPECT_EQ(list.count, 6);
}

// The moves of one square are the full list's moves from it, and the legal ones among them
// those of the legal list: in checks, pins, castling, en passant and on boards with no king or two.
TEST(MoveGenerationTest, OneSquaresMovesAreTheFullListsMovesFromIt) {
    auto sorted = [](const MoveList& list, int from) {
        std::vector<std::string> moves;
        for (const auto& move : list)
            if (from < 0 || move.from == from) moves.push_back(MoveToCoordinate(move));
        std::sort(moves.begin(), moves.end());
        return moves;
    };
    MoveGenerator generator;
    for (std::string_view fen :
         {kStart, std::string_view("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"),
          std::string_view("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -"),
          std::string_view("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -"),
          std::string_view("4k3/4r3/8/8/8/8/4B3/4K3 w - -"),   // pinned bishop
          std::string_view("4k3/8/8/1b6/8/8/8/R3K2R w KQ -"),  // in check
          std::string_view("8/8/3k4/2pP4/8/8/8/4K3 w - c6"),   // en passant
          std::string_view("8/8/8/8/8/8/8/R7 w"), std::string_view("k7/8/8/8/8/8/8/K6K w")}) {
        ChessBoard board = Board(fen);
        MoveList pseudo, legal, one;
        generator.GeneratePseudoLegal(board, pseudo);
        generator.GenerateLegal(board, legal);
        for (int square = 0; square < 128; ++square) {
            generator.GeneratePseudoLegalFrom(board, square, one);
            EXPECT_EQ(sorted(one, -1), sorted(pseudo, square)) << fen << " square " << square;
            MoveList legalOne;
            for (const auto& move : one)
                if (generator.IsLegal(board, move)) legalOne.Add(move);
            EXPECT_EQ(sorted(legalOne, -1), sorted(legal, square)) << fen << " square " << square;
        }
    }
}

TEST(MoveGenerationTest, PromotionsExpandQueenRookBishopKnight) {
    MoveList list;
    MoveGenerator().GenerateLegal(Board("7k/P7/8/8/8/8/8/7K w - -"), list);
    std::vector<std::string> moves;
    for (const auto& move : list) moves.push_back(MoveToCoordinate(move));
    EXPECT_EQ(std::vector<std::string>(moves.end() - 4, moves.end()),
              (std::vector<std::string>{"a7a8q", "a7a8r", "a7a8b", "a7a8n"}));
}

TEST(ApplyTest, EnPassantSquareOnlyWithAnEnemyPawnBeside) {
    ChessBoard board = Board(kStart);
    MoveRecord e4 = Find(board, "e2e4");
    ASSERT_TRUE(board.MakeMove(e4, true));
    EXPECT_EQ(board.enPassantSquare, kNoSquare);
    ChessBoard beside = Board("4k3/8/8/8/3p4/8/4P3/4K3 w - -");
    MoveRecord push = Find(beside, "e2e4");
    MoveGenerator generator;
    generator.Apply(beside, push);
    EXPECT_EQ(beside.enPassantSquare, SquareOf(4, 2));
    MoveRecord capture = Find(beside, "d4e3");
    ASSERT_FALSE(capture.IsEmpty());
    EXPECT_EQ(beside.MoveToSan(capture, ChessBoard::SanStyle::EnPassantMarked), "dxe3 e.p.");
    ChessBoard before = beside;
    generator.Apply(beside, capture);
    EXPECT_EQ(beside.GetFen(), "4k3/8/8/8/8/4p3/8/4K3 w - - 0 1");
    generator.Undo(beside, capture);
    EXPECT_TRUE(beside.SamePosition(before));
}

TEST(ApplyTest, MakeMoveRefusesIllegalMovesAndUndoRestoresEverything) {
    ChessBoard board = Board("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    ChessBoard before = board;
    MoveGenerator generator;
    MoveList list;
    generator.GenerateLegal(board, list);
    for (MoveRecord move : list) {
        generator.Apply(board, move);
        generator.Undo(board, move);
        EXPECT_TRUE(board.SamePosition(before)) << MoveToCoordinate(move);
    }
    MoveRecord castle = Find(board, "e1g1");
    ASSERT_TRUE(board.MakeMove(castle, true));
    EXPECT_EQ(board.GetFen(), "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1");
    MoveRecord bogus = Find(before, "e1c1");  // White's move, but Black is to move now
    EXPECT_FALSE(board.MakeMove(bogus, true));
    EXPECT_EQ(board.GetFen(), "r3k2r/8/8/8/8/8/8/R4RK1 b kq - 0 1");
}

TEST(ApplyTest, CastlingNeedsKingAndRookAtHomeAndSafePassage) {
    EXPECT_EQ(San("4k3/8/8/8/8/8/8/4K3 w KQ -", "e1g1"), "(illegal)");  // no rooks
    EXPECT_EQ(San("4k3/8/8/8/8/8/8/R3K2R w KQ -", "e1g1"), "O-O");
    EXPECT_EQ(San("4k3/8/8/8/8/8/8/R3K2R w KQ -", "e1c1"), "O-O-O");
    EXPECT_EQ(San("4k3/8/8/8/8/8/5r2/R3K2R w KQ -", "e1g1"), "(illegal)");  // f1 attacked
    EXPECT_EQ(San("4k3/8/8/8/8/8/4r3/R3K2R w KQ -", "e1c1"), "(illegal)");  // in check
    EXPECT_EQ(San("4k3/8/8/8/8/8/1r6/R3K2R w KQ -", "e1c1"), "O-O-O");      // b1 may be attacked
    EXPECT_EQ(San("r3k2r/8/8/8/8/8/8/4K3 b kq -", "e8c8"), "O-O-O");
}

struct SanRow {
    const char* name;
    const char* fen;
    const char* move;
    const char* san;
};

class SanWriteTest : public ::testing::TestWithParam<SanRow> {};
TEST_P(SanWriteTest, Writes) { EXPECT_EQ(San(GetParam().fen, GetParam().move), GetParam().san); }
INSTANTIATE_TEST_SUITE_P(
    Moves, SanWriteTest,
    ::testing::Values(SanRow{"PawnPush", ChessBoard::kStartFen.data(), "e2e4", "e4"},
                      SanRow{"Knight", ChessBoard::kStartFen.data(), "g1f3", "Nf3"},
                      SanRow{"DisambiguateByFile", "4k3/8/8/8/8/8/8/1N2KN2 w - -", "b1d2", "Nbd2"},
                      SanRow{"DisambiguateByRank", "4k3/8/8/N7/8/8/8/N3K3 w - -", "a1b3", "N1b3"},
                      SanRow{"ThreeQueensNeedFileAndRank", "4k3/8/8/8/Q6Q/8/8/Q3K3 w - -", "a4d4", "Qa4d4"},
                      SanRow{"PawnCapture", "4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "exd5"},
                      SanRow{"PromotionWithEquals", "7k/P7/8/8/8/8/8/K7 w - -", "a7a8q", "a8=Q+"},
                      SanRow{"UnderPromotionCapture", "1r5k/P7/8/8/8/8/8/K7 w - -", "a7b8n", "axb8=N"},
                      SanRow{"Check", "4k3/8/8/8/8/8/8/R3K3 w - -", "a1a8", "Ra8+"},
                      SanRow{"Mate", "6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", "Ra8#"},
                      SanRow{"KingCapture", "4k3/8/8/8/8/8/4p3/4K3 w - -", "e1e2", "Kxe2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SanWriteTest, CastlingWithCheckAndMateIsMarkedPlus) {
    EXPECT_EQ(San("5k2/8/8/8/8/8/8/4K2R w K -", "e1g1"), "O-O+");
    EXPECT_EQ(San("3k4/R7/8/8/8/8/8/R3K3 w Q -", "e1c1"), "O-O-O+");  // it mates: still "+"
    EXPECT_EQ(San("3k4/R7/8/8/8/8/8/R3K3 w Q -", "a1a2", ChessBoard::SanStyle::Long), "Ra1-a2");
    EXPECT_EQ(San("3k4/R7/8/8/8/8/8/R3K3 w Q -", "a7d7", ChessBoard::SanStyle::Long), "Ra7-d7+");
}

class SanReadTest : public ::testing::TestWithParam<SanRow> {};
TEST_P(SanReadTest, Reads) { EXPECT_EQ(Parse(GetParam().fen, GetParam().san), GetParam().move); }
INSTANTIATE_TEST_SUITE_P(
    Texts, SanReadTest,
    ::testing::Values(
        SanRow{"Piece", ChessBoard::kStartFen.data(), "g1f3", "Nf3"},
        SanRow{"PieceWithCheckAndAnnotation", ChessBoard::kStartFen.data(), "g1f3", "Nf3+!?"},
        SanRow{"Coordinate", ChessBoard::kStartFen.data(), "e2e4", "e2e4"},
        SanRow{"CoordinateWithDash", ChessBoard::kStartFen.data(), "e2e4", "e2-e4"},
        SanRow{"MoveNumberPrefix", ChessBoard::kStartFen.data(), "e2e4", "1. e4"},
        SanRow{"EnPassantSuffix", "4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "exd6 e.p."},
        SanRow{"PromotionWithEqualsAndCheck", "7k/P7/8/8/8/8/8/K7 w - -", "a7a8q", "a8=Q+"},
        SanRow{"PromotionDefaultsToQueen", "7k/P7/8/8/8/8/8/K7 w - -", "a7a8q", "a7a8"},
        SanRow{"PromotionLowerCase", "7k/P7/8/8/8/8/8/K7 w - -", "a7a8n", "a7a8n"},
        SanRow{"UnderPromotion", "7k/P7/8/8/8/8/8/K7 w - -", "a7a8r", "a8=R"},
        SanRow{"CastlingWithZeros", "r3k3/8/8/8/8/8/8/4K3 b q -", "e8c8", "0-0-0"},
        SanRow{"CastlingLowerCase", "4k3/8/8/8/8/8/8/4K2R w K -", "e1g1", "o-o"},
        SanRow{"CastlingCoordinate", "4k3/8/8/8/8/8/8/4K2R w K -", "e1g1", "e1g1"},
        SanRow{"DisambiguatedByFile", "4k3/8/8/8/8/8/8/1N2KN2 w - -", "f1d2", "Nfd2"},
        SanRow{"DisambiguatedByRank", "4k3/8/8/N7/8/8/8/N3K3 w - -", "a5b3", "N5b3"},
        SanRow{"AmbiguousGivesNothing", "4k3/8/8/8/8/8/8/1N2KN2 w - -", "", "Nd2"},
        SanRow{"IllegalGivesNothing", ChessBoard::kStartFen.data(), "", "e5"},
        SanRow{"TooShort", ChessBoard::kStartFen.data(), "", "e"},
        SanRow{"Garbage", ChessBoard::kStartFen.data(), "", "?!?!"},
        SanRow{"NineteenCharactersWhole", ChessBoard::kStartFen.data(), "g1f3", "              Nf3"},
        SanRow{"TwentyCharactersAreCut", ChessBoard::kStartFen.data(), "", "                 Nf3"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every legal move written in SAN reads back as the same move.
TEST(SanRoundTripTest, AllLegalMovesOfRichPositions) {
    for (std::string_view fen :
         {ChessBoard::kStartFen,
          std::string_view("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"),
          std::string_view("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -"),
          std::string_view("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -"),
          std::string_view("4k3/8/8/8/Q6Q/8/8/Q3K3 w - -"),
          std::string_view("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -")}) {
        ChessBoard board = Board(fen);
        MoveList list;
        MoveGenerator().GenerateLegal(board, list);
        ASSERT_GT(list.count, 0);
        for (const auto& move : list) {
            std::string san = board.MoveToSan(move, ChessBoard::SanStyle::PromotionEquals);
            MoveRecord back = board.ParseSan(san);
            EXPECT_TRUE(back.SameMove(move)) << fen << " " << san;
            EXPECT_TRUE(board.ParseSan(MoveToCoordinate(move)).SameMove(move))
                << fen << " " << MoveToCoordinate(move);
        }
    }
}

TEST(PieceLetterTest, LettersBothWays) {
    EXPECT_EQ(ChessBoard::PieceLetter(MakePiece(piece::kKnight, kBlack)), 'N');
    EXPECT_EQ(ChessBoard::PieceLetter(piece::kPawn), ' ');
    EXPECT_EQ(ChessBoard::PieceLetter(piece::kEmpty), ' ');
    ChessBoard board = Board("4k3/8/8/8/8/8/8/4K3 b - -");
    EXPECT_EQ(board.PieceFromLetter('Q'), 11);
    EXPECT_EQ(board.PieceFromLetter('P'), 0);
    board.sideToMove = kWhite;
    EXPECT_EQ(board.PieceFromLetter('B'), 3);
}

// What debug builds check after every change.
TEST(BoardConsistencyTest, ABoardIsConsistentUntilSomethingOutOfRangeGetsIn) {
    ChessBoard board;
    board.SetFen("garbage w KQkq z9 x y");
    EXPECT_TRUE(board.IsConsistent());
    board.SetFen(ChessBoard::kStartFen);
    EXPECT_TRUE(board.IsConsistent());
    ChessBoard offBoard = board;
    offBoard.SetSquare(SquareOf(0, 0) + 8, piece::kQueen);  // the 0x88 gap beside a1
    EXPECT_FALSE(offBoard.IsConsistent());
    ChessBoard badCode = board;
    badCode.SetSquare(SquareOf(4, 4), 13);
    EXPECT_FALSE(badCode.IsConsistent());
    ChessBoard badPassant = board;
    badPassant.enPassantSquare = SquareOf(3, 5) + 8;
    EXPECT_FALSE(badPassant.IsConsistent());
}

ChessBoard Chess960Board(std::string_view fen) {
    ChessBoard board;
    board.chess960 = true;
    board.SetFen(fen);
    return board;
}

TEST(Chess960FenTest, ShredderAndXFenFieldsNameTheSameRooks) {
    // Two rooks on each wing of the king on d1: "KQ" means the outer ones, a file letter any.
    const char* placement = "r1r1k1rr/8/8/8/8/8/8/R1RK2RR";
    EXPECT_EQ(Chess960Board(std::string(placement) + " w KQkq - 0 1").GetFen(),
              std::string(placement) + " w KQkq - 0 1");
    EXPECT_EQ(Chess960Board(std::string(placement) + " w HAha - 0 1").GetFen(),
              std::string(placement) + " w KQkq - 0 1");
    EXPECT_EQ(Chess960Board(std::string(placement) + " w GCgc - 0 1").GetFen(),
              std::string(placement) + " w GCgc - 0 1");
    EXPECT_EQ(Chess960Board(std::string(placement) + " w Kc - 0 1").GetFen(),
              std::string(placement) + " w Kc - 0 1");
    // A right without its rook or its king on the first rank is dropped.
    EXPECT_EQ(Chess960Board("4k3/8/8/8/8/8/8/1K5R w KQBk - 0 1").GetFen(), "4k3/8/8/8/8/8/8/1K5R w K - 0 1");
    // Standard rules read only the letters.
    EXPECT_EQ(Board("r3k2r/8/8/8/8/8/8/R3K2R w HAha - 0 1").GetFen(), "r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1");
}

// Castling read in every notation and written as the king taking its rook, both wings, both
// colours; a king step that could be castling stays a king step.
TEST(Chess960NotationTest, CastlingIsReadInEveryFormAndWrittenAsTheKingTakingItsRook) {
    const std::string white = "rk5r/8/8/8/8/8/8/RK5R w KQkq - 0 1";
    const std::string black = "rk5r/8/8/8/8/8/8/RK5R b KQkq - 0 1";
    struct Case {
        const std::string& fen;
        const char* text;
        const char* move;
    };
    for (const Case& c :
         {Case{white, "O-O", "b1h1"}, Case{white, "O-O-O", "b1a1"}, Case{white, "0-0", "b1h1"},
          Case{white, "b1h1", "b1h1"}, Case{white, "b1a1", "b1a1"}, Case{white, "b1g1", "b1h1"},
          Case{white, "b1c1", "b1c1"}, Case{black, "O-O", "b8h8"}, Case{black, "O-O-O", "b8a8"},
          Case{black, "b8h8", "b8h8"}, Case{black, "b8g8", "b8h8"}, Case{black, "Kc8", "b8c8"}}) {
        ChessBoard board = Chess960Board(c.fen);
        MoveRecord move = board.ParseSan(c.text);
        EXPECT_EQ(MoveToCoordinate(move), c.move) << c.text << " on " << c.fen;
    }
    ChessBoard board = Chess960Board(white);
    EXPECT_EQ(board.MoveToSan(board.ParseSan("b1h1"), ChessBoard::SanStyle::PromotionEquals), "O-O");
    EXPECT_EQ(board.MoveToSan(board.ParseSan("b1a1"), ChessBoard::SanStyle::PromotionEquals), "O-O-O");
}

TEST(Chess960MovesTest, CastlingMovesBothPiecesAndUndoRestoresThem) {
    struct Case {
        const char* fen;
        const char* castling;
        const char* after;
    };
    for (const Case& c : {
             // The king already on its square: only the rook moves.
             Case{"4k3/8/8/8/8/8/8/6KR w K - 0 1", "O-O", "4k3/8/8/8/8/8/8/5RK1 b - - 0 1"},
             // King and rook swap squares.
             Case{"4k3/8/8/8/8/8/8/5KR1 w K - 0 1", "O-O", "4k3/8/8/8/8/8/8/5RK1 b - - 0 1"},
             // The king moves towards the rook's corner side of the board.
             Case{"rk6/8/8/8/8/8/8/4K3 b q - 0 1", "O-O-O", "2kr4/8/8/8/8/8/8/4K3 w - - 0 1"},
         }) {
        ChessBoard board = Chess960Board(c.fen);
        MoveRecord move = board.ParseSan(c.castling);
        ASSERT_FALSE(move.IsEmpty()) << c.fen;
        ChessBoard before = board;
        MoveGenerator generator;
        generator.Apply(board, move);
        EXPECT_EQ(board.GetFen(), c.after);
        generator.Undo(board, move);
        EXPECT_TRUE(board.SamePosition(before)) << c.fen;
    }
    // The rook that leaves a pin behind it would expose the king: no castling.
    EXPECT_TRUE(Chess960Board("6k1/8/8/8/8/8/8/qRK5 w B - 0 1").ParseSan("O-O-O").IsEmpty());
    // A rook that moves or is taken ends its right only.
    ChessBoard board = Chess960Board("1r4kr/8/8/8/8/8/8/1R4KR w BHbh - 0 1");
    MoveRecord rookMove = board.ParseSan("Rb2");
    board.MakeMove(rookMove, true);
    EXPECT_EQ(board.GetFen(), "1r4kr/8/8/8/8/8/1R6/6KR b Kkq - 0 1");
}

}  // namespace
}  // namespace pontax
