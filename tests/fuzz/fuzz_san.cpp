// Move texts into the SAN reader. The first line is a FEN (empty: the start position), read by
// Chess960 rules when it begins with "960 "; every later line is read as a move there. A move it accepts must
// be legal, and, on a board with one king a side (SAN never names a king's square), its notation in each
// style must read back as the same move; then it is played.
#include <cstdio>
#include <cstdlib>

#include "ChessBoard.h"
#include "MoveGenerator.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

int CountPieces(const pontax::ChessBoard& board, int code) {
    int count = 0;
    for (int square = 0; square < pontax::kBoardEntries; ++square)
        if (pontax::OnBoard(square) && board.At(square) == code) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = fuzzing::SplitLines(data, size);
    if (lines.empty()) return 0;
    pontax::ChessBoard board;
    std::string fen = lines.front();
    board.chess960 = fen.rfind("960 ", 0) == 0;
    if (board.chess960) fen.erase(0, 4);
    board.SetFen(fen.empty() ? std::string(pontax::ChessBoard::kStartFen) : fen);
    for (size_t i = 1; i < lines.size(); ++i) {
        pontax::MoveRecord move = board.ParseSan(lines[i]);
        if (move.IsEmpty()) continue;
        if (pontax::FindLegalMove(board, move).IsEmpty()) {
            std::fprintf(stderr, "\"%s\" read as the illegal %s on %s\n", lines[i].c_str(),
                         pontax::MoveToCoordinate(move).c_str(), board.GetFen().c_str());
            std::abort();
        }
        bool oneKingEach = CountPieces(board, pontax::MakePiece(pontax::piece::kKing, pontax::kWhite)) == 1 &&
                           CountPieces(board, pontax::MakePiece(pontax::piece::kKing, pontax::kBlack)) == 1;
        for (int style = 0; style <= 2 && oneKingEach; ++style) {
            std::string san = board.MoveToSan(move, static_cast<pontax::ChessBoard::SanStyle>(style));
            if (!board.ParseSan(san).SameMove(move)) {
                std::fprintf(stderr, "%s (style %d) does not read back as %s on %s\n", san.c_str(), style,
                             pontax::MoveToCoordinate(move).c_str(), board.GetFen().c_str());
                std::abort();
            }
        }
        board.MakeMove(move, true);
    }
    return 0;
}
