// FEN texts into the adapter's board, by standard and by Chess960 rules: whatever it reads must
// write back as a FEN that reads as the same position, and every legal move of it must make and
// unmake cleanly.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ChessBoard.h"
#include "MoveGenerator.h"

namespace {

void Check(std::string_view text, bool chess960) {
    pontax::ChessBoard board;
    board.chess960 = chess960;
    board.SetFen(text);
    std::string fen = board.GetFen();
    pontax::ChessBoard again;
    again.chess960 = chess960;
    again.SetFen(fen);
    if (again.GetFen() != fen) {
        std::fprintf(stderr, "FEN %s reads back as %s\n", fen.c_str(), again.GetFen().c_str());
        std::abort();
    }
    pontax::MoveGenerator generator;
    pontax::MoveList list;
    generator.GenerateLegal(board, list);
    for (auto move : list) {
        pontax::BoardState before = board;
        generator.Apply(board, move);
        generator.Undo(board, move);
        if (!board.SamePosition(before)) {
            std::fprintf(stderr, "%s does not unmake on %s\n", pontax::MoveToCoordinate(move).c_str(),
                         fen.c_str());
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(text, false);
    Check(text, true);
    return 0;
}
