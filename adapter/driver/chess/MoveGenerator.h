#pragma once

#include <array>

#include "ChessBoard.h"

namespace pontax {

// A fixed list of moves; moves beyond its capacity are dropped. Never allocates.
struct MoveList {
    static constexpr int kCapacity = 255;
    // Left uninitialised: a list is filled before it is read, and zeroing 255 records for every
    // generated position would cost more than generating them.
    MoveList() {}
    union {
        std::array<MoveRecord, kCapacity> moves;
    };
    int count = 0;

    void Add(const MoveRecord& move) {
        if (count < kCapacity) moves[static_cast<size_t>(count++)] = move;
    }
    const MoveRecord* begin() const { return moves.data(); }
    const MoveRecord* end() const { return moves.data() + count; }
};

// Move generation and make/unmake on a ChessBoard. Pseudo-legal moves come in a fixed order
// (squares a1 to h8; per pawn: push, captures, double step; per king: steps, then castling), and
// the legal list is that list with illegal moves replaced by the list's last entry.
class MoveGenerator {
public:
    void GeneratePseudoLegal(const BoardState& board, MoveList& list) const;
    // The pseudo-legal moves of the piece on `from`; none unless it is the side to move's.
    void GeneratePseudoLegalFrom(const BoardState& board, int from, MoveList& list) const;
    void GenerateLegal(const BoardState& board, MoveList& list) const;
    bool IsLegal(const BoardState& board, const MoveRecord& move) const;
    void Apply(BoardState& board, MoveRecord& move) const;
    void Undo(BoardState& board, const MoveRecord& move) const;
    // The king of side is attacked; false when side has no king.
    bool InCheck(const BoardState& board, int side) const;
    bool IsAttacked(const BoardState& board, int square, int bySide) const;
};

// The generated legal move of board that is the same move as `move`, or an empty record.
MoveRecord FindLegalMove(const BoardState& board, const MoveRecord& move);

// The first king of side scanning a1 to h8, or kNoSquare.
int FindKing(const BoardState& board, int side);

}  // namespace pontax
