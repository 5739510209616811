// FEN texts into the adapter's board: whatever it reads must write back as a FEN that reads as the
// same position, and every legal move of it must make and unmake cleanly.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "ChessBoard.h"
#include "MoveGenerator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    pontax::ChessBoard board;
    board.SetFen(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string fen = board.GetFen();
    pontax::ChessBoard again;
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
    return 0;
}
