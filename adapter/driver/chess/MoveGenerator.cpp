#include "MoveGenerator.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

#include "Castling.h"

namespace pontax {

namespace {

constexpr int kKnightSteps[8] = {14, 31, 33, 18, -14, -31, -33, -18};
constexpr int kKingSteps[8] = {-1, 15, 16, 17, 1, -15, -16, -17};
constexpr int kBishopDirections[4] = {15, 17, -15, -17};
constexpr int kRookDirections[4] = {-1, 16, 1, -16};
constexpr int kPromotionOrder[4] = {piece::kQueen, piece::kRook, piece::kBishop, piece::kKnight};

// The queen-line direction from one square to another, indexed by difference + 119; 0 if none.
struct DirectionTable {
    int8_t direction[239] = {};
    constexpr DirectionTable() {
        for (int d : kKingSteps)
            for (int k = 1; k < 8; ++k) direction[d * k + 119] = static_cast<int8_t>(d);
    }
    constexpr int operator()(int from, int to) const { return direction[to - from + 119]; }
};
constexpr DirectionTable kDirection;

constexpr bool IsOrthogonal(int direction) {
    return direction == 1 || direction == -1 || direction == 16 || direction == -16;
}

// Which piece codes slide along orthogonal [0] and diagonal [1] lines.
struct SliderTable {
    bool slides[2][16] = {};
    constexpr SliderTable() {
        for (int side : {kWhite, kBlack}) {
            slides[0][MakePiece(piece::kRook, side)] = slides[0][MakePiece(piece::kQueen, side)] = true;
            slides[1][MakePiece(piece::kBishop, side)] = slides[1][MakePiece(piece::kQueen, side)] = true;
        }
    }
};
constexpr SliderTable kSliders;

bool SlidesAlong(int code, int direction) {
    return kSliders.slides[IsOrthogonal(direction) ? 0 : 1][code & 15];
}

int PawnForward(int side) { return side == kWhite ? 16 : -16; }

class PseudoLegalGenerator {
public:
    PseudoLegalGenerator(const BoardState& board, MoveList& list)
        : board_(board), list_(list), side_(board.sideToMove) {}

    int FirstKing() const { return firstKing_; }
    int KingCount() const { return kingCount_; }

    void Run() {
        for (int square = 0; square < 128; ++square) {
            if (!OnBoard(square)) {
                square += 7;
                continue;
            }
            int code = board_.At(square);
            if (code == piece::kEmpty || PieceColour(code) != side_) continue;
            if (PieceType(code) == piece::kKing && kingCount_++ == 0) firstKing_ = square;
            PieceMoves(square, code);
        }
    }

    // The moves of the piece on one square, if it is the side to move's.
    void RunFrom(int square) {
        if (!OnBoard(square)) return;
        int code = board_.At(square);
        if (code != piece::kEmpty && PieceColour(code) == side_) PieceMoves(square, code);
    }

private:
    void PieceMoves(int square, int code) {
        switch (PieceType(code)) {
            case piece::kPawn:
                Pawn(square);
                break;
            case piece::kKnight:
                Steps(square, kKnightSteps);
                break;
            case piece::kBishop:
                Slides(square, kBishopDirections);
                break;
            case piece::kRook:
                Slides(square, kRookDirections);
                break;
            case piece::kQueen:
                Slides(square, kBishopDirections);
                Slides(square, kRookDirections);
                break;
            case piece::kKing:
                Steps(square, kKingSteps);
                Castling(square);
                break;
        }
    }

    bool IsEnemy(int code) const { return code != piece::kEmpty && PieceColour(code) != side_; }

    void Add(int from, int to, uint8_t flags, int captured = piece::kEmpty, int promotion = piece::kEmpty) {
        if (list_.count >= MoveList::kCapacity) return;
        MoveRecord& move = list_.moves[static_cast<size_t>(list_.count++)];
        move.from = static_cast<uint8_t>(from);
        move.to = static_cast<uint8_t>(to);
        move.flags = flags;
        move.promotion = static_cast<uint8_t>(promotion);
        move.captured = static_cast<uint8_t>(captured);
        move.castlingBefore = 0;
        move.enPassantBefore = kNoSquare;
        move.halfMoveClockBefore = 0;
    }

    void AddPawnMove(int from, int to, uint8_t flags, int captured) {
        int lastRank = side_ == kWhite ? 7 : 0;
        if (RankOf(to) != lastRank) {
            Add(from, to, flags, captured);
            return;
        }
        for (int type : kPromotionOrder)
            Add(from, to, flags | move_flag::kPromotion, captured, MakePiece(type, side_));
    }

    void Pawn(int from) {
        int forward = PawnForward(side_);
        int ahead = from + forward;
        if (OnBoard(ahead) && board_.At(ahead) == piece::kEmpty)
            AddPawnMove(from, ahead, move_flag::kPawn, 0);
        for (int side : {-1, 1}) {
            int target = ahead + side;
            if (!OnBoard(target)) continue;
            int code = board_.At(target);
            if (IsEnemy(code))
                AddPawnMove(from, target, move_flag::kPawn | move_flag::kCapture, code);
            else if (target == board_.enPassantSquare && code == piece::kEmpty &&
                     board_.At(target - forward) == MakePiece(piece::kPawn, 1 - side_))
                Add(from, target, move_flag::kPawn | move_flag::kCapture | move_flag::kEnPassant,
                    MakePiece(piece::kPawn, 1 - side_));
        }
        int startRank = side_ == kWhite ? 1 : 6;
        int twoAhead = ahead + forward;
        if (RankOf(from) == startRank && board_.At(ahead) == piece::kEmpty &&
            board_.At(twoAhead) == piece::kEmpty)
            Add(from, twoAhead, move_flag::kPawn | move_flag::kDoubleStep);
    }

    template <size_t N>
    void Steps(int from, const int (&steps)[N]) {
        for (int step : steps) {
            int to = from + step;
            if (!OnBoard(to)) continue;
            int code = board_.At(to);
            if (code == piece::kEmpty)
                Add(from, to, 0);
            else if (IsEnemy(code))
                Add(from, to, move_flag::kCapture, code);
        }
    }

    template <size_t N>
    void Slides(int from, const int (&directions)[N]) {
        for (int direction : directions) {
            for (int to = from + direction; OnBoard(to); to += direction) {
                int code = board_.At(to);
                if (code == piece::kEmpty) {
                    Add(from, to, 0);
                    continue;
                }
                if (IsEnemy(code)) Add(from, to, move_flag::kCapture, code);
                break;
            }
        }
    }

    void Castling(int king) {
        for (bool kingSide : {true, false}) {
            MoveRecord move = CastlingMove(board_, side_, kingSide);
            if (!move.IsEmpty() && move.from == king) Add(move.from, move.to, move_flag::kCastling);
        }
    }

    const BoardState& board_;
    MoveList& list_;
    int side_;
    int firstKing_ = kNoSquare;
    int kingCount_ = 0;
};

// Checks and pins against one king, found once per position so that most moves are tested
// without making them.
class KingSafety {
public:
    KingSafety(const BoardState& board, int king) : king_(king) {
        int side = PieceColour(board.At(king));
        for (int direction : kKingSteps) ScanLine(board, side, direction);
        for (int step : kKnightSteps) {
            int square = king + step;
            if (OnBoard(square) && board.At(square) == MakePiece(piece::kKnight, 1 - side))
                AddChecker(square, 0);
        }
        int forward = PawnForward(side);
        for (int sideStep : {-1, 1}) {
            int square = king + forward + sideStep;
            if (OnBoard(square) && board.At(square) == MakePiece(piece::kPawn, 1 - side))
                AddChecker(square, 0);
        }
        // Only a malformed position has the kings side by side; the enemy king then attacks ours.
        for (int step : kKingSteps) {
            int square = king + step;
            if (OnBoard(square) && board.At(square) == MakePiece(piece::kKing, 1 - side))
                AddChecker(square, 0);
        }
    }

    // Whether a move of a piece other than the king leaves the king safe.
    bool AllowsNonKingMove(int from, int to) const {
        if (checkers_ == 0 && pinCount_ == 0) return true;
        if (checkers_ >= 2) return false;
        for (int i = 0; i < pinCount_; ++i)
            if (pinned_[i] == from && kDirection(king_, to) != pinDirection_[i]) return false;
        if (checkers_ == 0) return true;
        if (to == checkSquare_) return true;
        return checkDirection_ != 0 && kDirection(king_, to) == checkDirection_ &&
               std::abs(to - king_) < std::abs(checkSquare_ - king_);
    }

private:
    void AddChecker(int square, int direction) {
        ++checkers_;
        checkSquare_ = square;
        checkDirection_ = direction;
    }

    void ScanLine(const BoardState& board, int side, int direction) {
        int shield = kNoSquare;
        for (int square = king_ + direction; OnBoard(square); square += direction) {
            int code = board.At(square);
            if (code == piece::kEmpty) continue;
            if (PieceColour(code) == side) {
                if (shield != kNoSquare) return;
                shield = square;
                continue;
            }
            if (!SlidesAlong(code, direction)) return;
            if (shield == kNoSquare) {
                AddChecker(square, direction);
            } else {
                pinned_[pinCount_] = shield;
                pinDirection_[pinCount_++] = direction;
            }
            return;
        }
    }

    int king_;
    int checkers_ = 0;
    int checkSquare_ = kNoSquare;
    int checkDirection_ = 0;
    int pinned_[8] = {};
    int pinDirection_[8] = {};
    int pinCount_ = 0;
};

// Whether bySide attacks square, with the piece on `ignored` taken off the board.
bool IsAttackedIgnoring(const BoardState& board, int square, int bySide, int ignored) {
    int pawn = MakePiece(piece::kPawn, bySide);
    int pawnFrom = square - PawnForward(bySide);
    for (int sideStep : {-1, 1})
        if (OnBoard(pawnFrom + sideStep) && board.At(pawnFrom + sideStep) == pawn) return true;
    int knight = MakePiece(piece::kKnight, bySide);
    for (int step : kKnightSteps)
        if (OnBoard(square + step) && board.At(square + step) == knight) return true;
    int king = MakePiece(piece::kKing, bySide);
    for (int step : kKingSteps)
        if (OnBoard(square + step) && board.At(square + step) == king) return true;
    for (int direction : kKingSteps) {
        for (int at = square + direction; OnBoard(at); at += direction) {
            int code = board.At(at);
            if (code == piece::kEmpty || at == ignored) continue;
            if (PieceColour(code) == bySide && SlidesAlong(code, direction)) return true;
            break;
        }
    }
    return false;
}

// Both pieces are lifted before either lands: in Chess960 they may swap squares.
void MoveCastlingPieces(BoardState& board, const MoveRecord& move, bool back) {
    CastlingSquares squares = SquaresOfCastling(board, move);
    int kingFrom = back ? squares.kingTo : squares.kingFrom,
        kingTo = back ? squares.kingFrom : squares.kingTo;
    int rookFrom = back ? squares.rookTo : squares.rookFrom,
        rookTo = back ? squares.rookFrom : squares.rookTo;
    int king = board.At(kingFrom), rook = board.At(rookFrom);
    board.SetSquare(kingFrom, piece::kEmpty);
    board.SetSquare(rookFrom, piece::kEmpty);
    board.SetSquare(kingTo, king);
    board.SetSquare(rookTo, rook);
}

}  // namespace

int FindKing(const BoardState& board, int side) {
    int king = MakePiece(piece::kKing, side);
    for (int rank = 0; rank < 8; ++rank)
        for (int square = rank * 16; square < rank * 16 + 8; ++square)
            if (board.At(square) == king) return square;
    return kNoSquare;
}

void MoveGenerator::GeneratePseudoLegal(const BoardState& board, MoveList& list) const {
    list.count = 0;
    PseudoLegalGenerator(board, list).Run();
}

void MoveGenerator::GeneratePseudoLegalFrom(const BoardState& board, int from, MoveList& list) const {
    list.count = 0;
    PseudoLegalGenerator(board, list).RunFrom(from);
}

void MoveGenerator::GenerateLegal(const BoardState& board, MoveList& list) const {
    list.count = 0;
    PseudoLegalGenerator generator(board, list);
    generator.Run();
    int side = board.sideToMove;
    if (generator.KingCount() == 0) return;
    int king = generator.FirstKing();
    // With several kings "the king" is the first one found after each move; only making the
    // moves answers that, so the shortcuts below assume exactly one king.
    bool oneKing = generator.KingCount() == 1;
    KingSafety safety(board, king);
    for (int i = 0; i < list.count;) {
        const MoveRecord& move = list.moves[static_cast<size_t>(i)];
        bool legal;
        if (!oneKing || (move.flags & (move_flag::kEnPassant | move_flag::kCastling)))
            legal = IsLegal(board, move);
        else if (move.from == king)
            legal = !IsAttackedIgnoring(board, move.to, 1 - side, king);
        else
            legal = safety.AllowsNonKingMove(move.from, move.to);
        if (legal)
            ++i;
        else
            list.moves[static_cast<size_t>(i)] = list.moves[static_cast<size_t>(--list.count)];
    }
}

bool MoveGenerator::IsLegal(const BoardState& board, const MoveRecord& move) const {
    if (move.from == move.to) return false;
    int side = board.sideToMove;
    if (move.flags & move_flag::kCastling) {
        // Only a castling the position allows, and never out of, through or into check.
        if (!CastlingMove(board, side, !IsQueenSideCastling(move)).SameMove(move)) return false;
        CastlingSquares squares = SquaresOfCastling(board, move);
        int step = squares.kingTo >= squares.kingFrom ? 1 : -1;
        for (int square = squares.kingFrom;; square += step) {
            if (IsAttacked(board, square, 1 - side)) return false;
            if (square == squares.kingTo) break;
        }
    }
    BoardState after = board;
    MoveRecord copy = move;
    Apply(after, copy);
    return !InCheck(after, side);
}

void MoveGenerator::Apply(BoardState& board, MoveRecord& move) const {
    int side = board.sideToMove;
    int mover = board.At(move.from);
    move.castlingBefore = static_cast<uint8_t>(board.castlingRights);
    move.enPassantBefore = static_cast<uint8_t>(board.enPassantSquare);
    move.halfMoveClockBefore = static_cast<uint16_t>(board.halfMoveClock);
    board.enPassantSquare = kNoSquare;
    board.halfMoveClock++;
    if (move.flags & move_flag::kCastling) {
        move.captured = piece::kEmpty;
        MoveCastlingPieces(board, move, false);
        board.castlingRights &= ~(CastlingRight(side, true) | CastlingRight(side, false));
        board.sideToMove = 1 - side;
        assert(board.IsConsistent());
        return;
    }
    if (move.flags & move_flag::kEnPassant) {
        int behind = move.to - PawnForward(side);
        move.captured = static_cast<uint8_t>(board.At(behind));
        board.SetSquare(behind, piece::kEmpty);
    } else {
        move.captured = static_cast<uint8_t>(board.At(move.to));
    }
    bool promotes = (move.flags & move_flag::kPromotion) && move.promotion != piece::kEmpty;
    board.SetSquare(move.to, promotes ? move.promotion : mover);
    board.SetSquare(move.from, piece::kEmpty);

    if (move.flags & move_flag::kDoubleStep) {
        int enemyPawn = MakePiece(piece::kPawn, 1 - side);
        bool besideLeft = OnBoard(move.to - 1) && board.At(move.to - 1) == enemyPawn;
        bool besideRight = OnBoard(move.to + 1) && board.At(move.to + 1) == enemyPawn;
        if (besideLeft || besideRight) board.enPassantSquare = (move.from + move.to) / 2;
    }
    if (move.captured != piece::kEmpty || PieceType(mover) == piece::kPawn) board.halfMoveClock = 0;
    if (PieceType(mover) == piece::kKing)
        board.castlingRights &= ~(CastlingRight(side, true) | CastlingRight(side, false));
    ClearCastlingRightsAt(board, move.from);
    ClearCastlingRightsAt(board, move.to);
    board.sideToMove = 1 - side;
    assert(board.IsConsistent());
}

void MoveGenerator::Undo(BoardState& board, const MoveRecord& move) const {
    int side = 1 - board.sideToMove;
    board.sideToMove = side;
    board.castlingRights = move.castlingBefore;
    board.enPassantSquare = move.enPassantBefore;
    board.halfMoveClock = move.halfMoveClockBefore;
    if (move.flags & move_flag::kCastling) {
        MoveCastlingPieces(board, move, true);
        assert(board.IsConsistent());
        return;
    }
    bool promotes = (move.flags & move_flag::kPromotion) && move.promotion != piece::kEmpty;
    int mover = promotes ? MakePiece(piece::kPawn, side) : board.At(move.to);
    board.SetSquare(move.from, mover);
    if (move.flags & move_flag::kEnPassant) {
        board.SetSquare(move.to, piece::kEmpty);
        board.SetSquare(move.to - PawnForward(side), move.captured);
    } else {
        board.SetSquare(move.to, move.captured);
    }
    assert(board.IsConsistent());
}

bool MoveGenerator::InCheck(const BoardState& board, int side) const {
    int king = FindKing(board, side);
    return king != kNoSquare && IsAttacked(board, king, 1 - side);
}

bool MoveGenerator::IsAttacked(const BoardState& board, int square, int bySide) const {
    return IsAttackedIgnoring(board, square, bySide, kNoSquare);
}

MoveRecord FindLegalMove(const BoardState& board, const MoveRecord& move) {
    if (move.IsEmpty()) return {};
    MoveGenerator generator;
    MoveList candidates;
    generator.GeneratePseudoLegalFrom(board, move.from, candidates);
    for (const auto& candidate : candidates)
        if (candidate.SameMove(move)) return generator.IsLegal(board, candidate) ? candidate : MoveRecord{};
    return {};
}

}  // namespace pontax
