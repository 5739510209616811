#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pontax {

// Squares on the 0x88 layout: index = rank * 16 + file, rank 0 being White's first rank.
inline constexpr int kNoSquare = 136;
inline constexpr int kBoardEntries = 136;
constexpr bool OnBoard(int square) { return (square & 0x88) == 0; }
constexpr int SquareOf(int file, int rank) { return rank * 16 + file; }
constexpr int FileOf(int square) { return square & 7; }
constexpr int RankOf(int square) { return square >> 4; }

// Piece codes: 1-6 White pawn, knight, bishop, rook, queen, king; 7-12 the same for Black.
namespace piece {
inline constexpr int kEmpty = 0;
inline constexpr int kPawn = 1;
inline constexpr int kKnight = 2;
inline constexpr int kBishop = 3;
inline constexpr int kRook = 4;
inline constexpr int kQueen = 5;
inline constexpr int kKing = 6;
inline constexpr int kBlackOffset = 6;
}  // namespace piece
inline constexpr int8_t kPieceTypes[16] = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6, 0, 0, 0};
constexpr int PieceType(int code) { return kPieceTypes[code & 15]; }
constexpr int PieceColour(int code) { return code > piece::kBlackOffset ? 1 : 0; }
constexpr int MakePiece(int type, int side) { return type + side * piece::kBlackOffset; }

inline constexpr int kWhite = 0;
inline constexpr int kBlack = 1;

namespace castling {
inline constexpr int kWhiteKingSide = 1;
inline constexpr int kWhiteQueenSide = 2;
inline constexpr int kBlackKingSide = 4;
inline constexpr int kBlackQueenSide = 8;
}  // namespace castling

namespace move_flag {
inline constexpr uint8_t kCapture = 1;
inline constexpr uint8_t kEnPassant = 2;
inline constexpr uint8_t kCastling = 4;
inline constexpr uint8_t kPawn = 8;
inline constexpr uint8_t kDoubleStep = 16;
inline constexpr uint8_t kPromotion = 32;
}  // namespace move_flag

// One move with what Undo needs. An entry whose from and to are equal is empty.
struct MoveRecord {
    uint8_t from = 0;
    uint8_t to = 0;
    uint8_t flags = 0;
    uint8_t promotion = 0;
    uint8_t captured = 0;
    uint8_t castlingBefore = 0;
    uint8_t enPassantBefore = kNoSquare;
    uint16_t halfMoveClockBefore = 0;

    bool IsEmpty() const { return from == to; }
    // Same from, to and promotion piece.
    bool SameMove(const MoveRecord& other) const {
        return from == other.from && to == other.to && promotion == other.promotion;
    }
};

// Coordinate notation: from, to and a lower-case promotion letter ("e7e8q").
std::string MoveToCoordinate(const MoveRecord& move);

// The position: squares, castling rights, en-passant square, side to move and half-move clock.
class BoardState {
public:
    static constexpr std::array<int8_t, 4> kCornerRookFiles{7, 0, 7, 0};

    // The first difference from other, in this order.
    enum class Difference { None, Squares, Castling, EnPassant, Side };
    Difference Compare(const BoardState& other) const;
    bool SamePosition(const BoardState& other) const { return Compare(other) == Difference::None; }
    void CopyFrom(const BoardState& other) { *this = other; }
    void Clear();
    // Squares off the board empty, piece codes, side, castling rights and en-passant square in
    // range: what every change keeps, checked by debug builds after each.
    bool IsConsistent() const;
    void SetSquare(int index, int code) { squares[static_cast<size_t>(index)] = static_cast<uint8_t>(code); }
    int At(int square) const { return squares[static_cast<size_t>(square)]; }

    std::array<uint8_t, kBoardEntries> squares{};
    int castlingRights = 0;
    // The file of the rook each right moves, for K, Q, k and q.
    std::array<int8_t, 4> castlingRookFiles = kCornerRookFiles;
    // Chess960 rules: kings and castling rooks may start on any file of the first rank. A rule of
    // the game rather than of the position, so Clear keeps it.
    bool chess960 = false;
    int enPassantSquare = kNoSquare;
    int sideToMove = kWhite;
    int halfMoveClock = 0;
};

class ChessBoard : public BoardState {
public:
    inline static constexpr std::string_view kStartFen =
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

    // Reads placement, side, castling and en-passant fields; anything unreadable is skipped. The
    // castling field is read by the board's rules: standard chess or Chess960.
    void SetFen(std::string_view text);
    // Always ends in " 0 1": the clocks are not tracked.
    std::string GetFen() const;
    // With checkLegal an illegal move returns false and leaves the board as it was.
    bool MakeMove(MoveRecord& move, bool checkLegal);

    // Standard algebraic notation on the position before the move, in one of its styles.
    enum class SanStyle {
        EnPassantMarked,  // " e.p." after an en-passant capture
        PromotionEquals,  // "=" before a promotion piece
        Long,             // the from square too ("Ng1-f3")
    };
    std::string MoveToSan(const MoveRecord& move, SanStyle style) const;
    // A move in SAN or coordinate notation, or an empty record when the text does not name
    // exactly one legal move. Castling is read in every notation: "O-O", the king's move to its
    // square and the king taking its rook.
    MoveRecord ParseSan(std::string_view text) const;

    static char PieceLetter(int code);
    int PieceFromLetter(char letter) const;
};

}  // namespace pontax
