// Counts and notation of the adapter's chess rules, for checking them against other programs.
//   pontax-perft FEN DEPTH             leaf positions at DEPTH
//   pontax-perft --divide FEN DEPTH    one line per legal move with its count, then the total
//   pontax-perft --san FEN MOVE        the SAN of a coordinate move, nothing if it is not legal
//   pontax-perft --parse FEN TEXT      the coordinate move that TEXT names, an empty line if none
// Each takes --chess960 first for Chess960 rules: castling fields in Shredder-FEN or X-FEN, and
// castling written as the king taking its rook.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ChessBoard.h"
#include "MoveGenerator.h"
#include "tools/PerftCounter.h"

namespace {

using namespace pontax;

int Usage(const char* message) {
    std::fprintf(stderr, "pontax-perft: %s\n", message);
    std::fprintf(stderr,
                 "usage: pontax-perft [--chess960] FEN DEPTH\n"
                 "       pontax-perft [--chess960] --divide FEN DEPTH\n"
                 "       pontax-perft [--chess960] --san FEN MOVE\n"
                 "       pontax-perft [--chess960] --parse FEN TEXT\n");
    return 2;
}

bool ReadDepth(const char* text, int& depth) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 20) return false;
    depth = static_cast<int>(value);
    return true;
}

bool chess960 = false;

ChessBoard BoardFromFen(const char* fen) {
    ChessBoard board;
    board.chess960 = chess960;
    board.SetFen(fen);
    return board;
}

int Divide(ChessBoard board, int depth) {
    MoveGenerator generator;
    MoveList list;
    generator.GenerateLegal(board, list);
    uint64_t total = 0;
    for (MoveRecord move : list) {
        generator.Apply(board, move);
        uint64_t nodes = Perft(board, depth - 1);
        generator.Undo(board, move);
        std::printf("%s: %llu\n", MoveToCoordinate(move).c_str(), static_cast<unsigned long long>(nodes));
        total += nodes;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(total));
    return 0;
}

int PrintSan(const ChessBoard& board, const std::string& coordinate) {
    MoveList list;
    MoveGenerator().GenerateLegal(board, list);
    for (const auto& move : list)
        if (MoveToCoordinate(move) == coordinate)
            std::printf("%s\n", board.MoveToSan(move, ChessBoard::SanStyle::PromotionEquals).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--chess960") {
        chess960 = true;
        --argc;
        ++argv;
    }
    std::string mode = argc > 1 ? argv[1] : "";
    int depth = 0;
    if (mode == "--divide") {
        if (argc != 4 || !ReadDepth(argv[3], depth) || depth < 1)
            return Usage("--divide needs a FEN and a depth of 1 or more");
        return Divide(BoardFromFen(argv[2]), depth);
    }
    if (mode == "--san") {
        if (argc != 4) return Usage("--san needs a FEN and a move");
        return PrintSan(BoardFromFen(argv[2]), argv[3]);
    }
    if (mode == "--parse") {
        if (argc != 4) return Usage("--parse needs a FEN and a text");
        MoveRecord move = BoardFromFen(argv[2]).ParseSan(argv[3]);
        std::printf("%s\n", move.IsEmpty() ? "" : MoveToCoordinate(move).c_str());
        return 0;
    }
    if (argc != 3 || !ReadDepth(argv[2], depth)) return Usage("expected a FEN and a depth from 0 to 20");
    ChessBoard board = BoardFromFen(argv[1]);
    std::printf("%llu\n", static_cast<unsigned long long>(Perft(board, depth)));
    return 0;
}
