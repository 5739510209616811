#pragma once

#include <cstdint>

#include "MoveGenerator.h"

namespace pontax {

// Leaf positions at depth plies, counting the last ply by the size of the legal move list.
inline uint64_t Perft(BoardState& board, int depth) {
    if (depth <= 0) return 1;
    MoveGenerator generator;
    MoveList list;
    generator.GenerateLegal(board, list);
    if (depth == 1) return static_cast<uint64_t>(list.count);
    uint64_t nodes = 0;
    for (MoveRecord move : list) {
        generator.Apply(board, move);
        nodes += Perft(board, depth - 1);
        generator.Undo(board, move);
    }
    return nodes;
}

}  // namespace pontax
