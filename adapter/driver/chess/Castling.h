#pragma once

#include <string>
#include <string_view>

#include "ChessBoard.h"

namespace pontax {

// A castling move is written as the king's move to its square in standard chess ("e1g1") and as
// the king taking its own rook in Chess960 ("e1h1"), where the king may already stand on its
// square. Either way the rook lies beyond the target on the king side, so the queen side is the
// side of the lower target.
constexpr bool IsQueenSideCastling(const MoveRecord& move) { return move.to < move.from; }

// The castling right of side on one wing.
constexpr int CastlingRight(int side, bool kingSide) {
    return (kingSide ? castling::kWhiteKingSide : castling::kWhiteQueenSide) << (side * 2);
}

struct CastlingSquares {
    int kingFrom;
    int kingTo;
    int rookFrom;
    int rookTo;
};
// Where the king and the rook of a castling move of board's side stand and go.
CastlingSquares SquaresOfCastling(const BoardState& board, const MoveRecord& move);

// The castling move of side on one wing that the rights, the king's and the rook's squares and the
// empty squares between allow, whether or not the king is attacked; an empty record if none.
MoveRecord CastlingMove(const BoardState& board, int side, bool kingSide);

// Reads a FEN castling field: "KQkq" letters, and in Chess960 also the rook files of Shredder-FEN
// and X-FEN ("HAha", "Kb"). The placement must be read before.
void ReadCastlingField(BoardState& board, std::string_view field);
// "KQkq" letters or "-"; in Chess960 X-FEN: a rook that is not the outermost on its wing is named
// by its file.
std::string CastlingField(const BoardState& board);

// Clears the rights whose rook stands on square.
void ClearCastlingRightsAt(BoardState& board, int square);

}  // namespace pontax
