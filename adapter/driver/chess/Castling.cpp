#include "Castling.h"

#include <algorithm>
#include <cctype>

namespace pontax {

namespace {

constexpr int kKingSideKingFile = 6, kKingSideRookFile = 5;
constexpr int kQueenSideKingFile = 2, kQueenSideRookFile = 3;

int HomeRank(int side) { return side == kWhite ? 0 : 7; }
int RightIndex(int side, bool kingSide) { return side * 2 + (kingSide ? 0 : 1); }

// The file of side's king on its first rank, or -1; in standard chess only the e-file counts.
int KingFileOnHomeRank(const BoardState& board, int side) {
    int king = MakePiece(piece::kKing, side);
    int rank = HomeRank(side);
    if (!board.chess960) return board.At(SquareOf(4, rank)) == king ? 4 : -1;
    for (int file = 0; file < 8; ++file)
        if (board.At(SquareOf(file, rank)) == king) return file;
    return -1;
}

// The file of side's rook farthest out on one wing of its king, or -1.
int OutermostRookFile(const BoardState& board, int side, bool kingSide, int kingFile) {
    int rook = MakePiece(piece::kRook, side);
    int rank = HomeRank(side);
    if (kingSide) {
        for (int file = 7; file > kingFile; --file)
            if (board.At(SquareOf(file, rank)) == rook) return file;
    } else {
        for (int file = 0; file < kingFile; ++file)
            if (board.At(SquareOf(file, rank)) == rook) return file;
    }
    return -1;
}

void GrantRight(BoardState& board, int side, bool kingSide, int rookFile) {
    board.castlingRights |= CastlingRight(side, kingSide);
    board.castlingRookFiles[static_cast<size_t>(RightIndex(side, kingSide))] = static_cast<int8_t>(rookFile);
}

// A Chess960 right is kept only with the king on its first rank and the rook on the named file.
void ReadChess960Letter(BoardState& board, char c) {
    int side = std::isupper(static_cast<unsigned char>(c)) ? kWhite : kBlack;
    char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    int kingFile = KingFileOnHomeRank(board, side);
    if (kingFile < 0) return;
    int rookFile;
    bool kingSide;
    if (lower == 'k' || lower == 'q') {
        kingSide = lower == 'k';
        rookFile = OutermostRookFile(board, side, kingSide, kingFile);
        if (rookFile < 0) return;
    } else if (lower >= 'a' && lower <= 'h') {
        rookFile = lower - 'a';
        kingSide = rookFile > kingFile;
        if (rookFile == kingFile ||
            board.At(SquareOf(rookFile, HomeRank(side))) != MakePiece(piece::kRook, side))
            return;
    } else {
        return;
    }
    GrantRight(board, side, kingSide, rookFile);
}

}  // namespace

CastlingSquares SquaresOfCastling(const BoardState& board, const MoveRecord& move) {
    int side = PieceColour(board.At(move.from));
    bool kingSide = !IsQueenSideCastling(move);
    int rank = RankOf(move.from);
    int rookFile = board.castlingRookFiles[static_cast<size_t>(RightIndex(side, kingSide))];
    return {move.from, SquareOf(kingSide ? kKingSideKingFile : kQueenSideKingFile, rank),
            board.chess960 ? static_cast<int>(move.to) : SquareOf(rookFile, rank),
            SquareOf(kingSide ? kKingSideRookFile : kQueenSideRookFile, rank)};
}

MoveRecord CastlingMove(const BoardState& board, int side, bool kingSide) {
    if (!(board.castlingRights & CastlingRight(side, kingSide))) return {};
    int kingFile = KingFileOnHomeRank(board, side);
    if (kingFile < 0) return {};
    int rank = HomeRank(side);
    int rookFile = board.castlingRookFiles[static_cast<size_t>(RightIndex(side, kingSide))];
    if ((rookFile > kingFile) != kingSide ||
        board.At(SquareOf(rookFile, rank)) != MakePiece(piece::kRook, side))
        return {};
    int kingTo = kingSide ? kKingSideKingFile : kQueenSideKingFile;
    int rookTo = kingSide ? kKingSideRookFile : kQueenSideRookFile;
    int low = std::min({kingFile, kingTo, rookFile, rookTo});
    int high = std::max({kingFile, kingTo, rookFile, rookTo});
    for (int file = low; file <= high; ++file)
        if (file != kingFile && file != rookFile && board.At(SquareOf(file, rank)) != piece::kEmpty)
            return {};
    MoveRecord move;
    move.from = static_cast<uint8_t>(SquareOf(kingFile, rank));
    move.to = static_cast<uint8_t>(SquareOf(board.chess960 ? rookFile : kingTo, rank));
    move.flags = move_flag::kCastling;
    return move;
}

void ReadCastlingField(BoardState& board, std::string_view field) {
    for (char c : field) {
        if (board.chess960) {
            ReadChess960Letter(board, c);
            continue;
        }
        if (c == 'K') board.castlingRights |= castling::kWhiteKingSide;
        if (c == 'Q') board.castlingRights |= castling::kWhiteQueenSide;
        if (c == 'k') board.castlingRights |= castling::kBlackKingSide;
        if (c == 'q') board.castlingRights |= castling::kBlackQueenSide;
    }
}

std::string CastlingField(const BoardState& board) {
    std::string field;
    for (int side : {kWhite, kBlack}) {
        for (bool kingSide : {true, false}) {
            if (!(board.castlingRights & CastlingRight(side, kingSide))) continue;
            char letter = kingSide ? 'K' : 'Q';
            if (board.chess960) {
                int rookFile = board.castlingRookFiles[static_cast<size_t>(RightIndex(side, kingSide))];
                int kingFile = KingFileOnHomeRank(board, side);
                if (OutermostRookFile(board, side, kingSide, kingFile) != rookFile)
                    letter = static_cast<char>('A' + rookFile);
            }
            field +=
                side == kWhite ? letter : static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
        }
    }
    return field.empty() ? "-" : field;
}

void ClearCastlingRightsAt(BoardState& board, int square) {
    for (int side : {kWhite, kBlack}) {
        if (RankOf(square) != HomeRank(side)) continue;
        for (bool kingSide : {true, false})
            if (board.castlingRookFiles[static_cast<size_t>(RightIndex(side, kingSide))] == FileOf(square))
                board.castlingRights &= ~CastlingRight(side, kingSide);
    }
}

}  // namespace pontax
