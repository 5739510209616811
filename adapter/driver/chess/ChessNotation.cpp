#include "Castling.h"
#include "ChessBoard.h"
#include "MoveGenerator.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr size_t kWholeSanLength = 19;
constexpr size_t kCutSanLength = 18;

std::string SquareText(int square) {
    return {static_cast<char>('a' + FileOf(square)), static_cast<char>('1' + RankOf(square))};
}

bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }
bool IsPieceLetter(char c) { return c == 'B' || c == 'K' || c == 'N' || c == 'Q' || c == 'R'; }
bool IsPieceLetterAnyCase(char c) { return IsPieceLetter(AsciiUpper(c)); }

// Keeps what can belong to a move: from its first file, piece letter or castling "O" on, only
// files, ranks, piece letters and "O". A trailing "e" is the rest of " e.p.".
std::string CleanSan(std::string_view text) {
    std::string raw(text.size() <= kWholeSanLength ? text : text.substr(0, kCutSanLength));
    for (char& c : raw)
        if (c == '0' || c == 'o') c = 'O';
    size_t start = 0;
    while (start < raw.size() && !IsFileLetter(raw[start]) && !IsPieceLetter(raw[start]) && raw[start] != 'O')
        ++start;
    std::string clean;
    for (size_t i = start; i < raw.size(); ++i) {
        char c = raw[i];
        if (IsFileLetter(c) || IsRankDigit(c) || IsPieceLetterAnyCase(c) || c == 'O') clean += c;
    }
    if (clean.size() > 2 && clean.back() == 'e') clean.pop_back();
    return clean;
}

}  // namespace

std::string ChessBoard::MoveToSan(const MoveRecord& move, SanStyle style) const {
    MoveGenerator generator;
    int mover = At(move.from);
    int type = PieceType(mover);
    bool capture = (move.flags & move_flag::kCapture) || At(move.to) != piece::kEmpty;
    std::string san;
    if (move.flags & move_flag::kCastling) {
        san = IsQueenSideCastling(move) ? "O-O-O" : "O-O";
        BoardState after = *this;
        MoveRecord copy = move;
        generator.Apply(after, copy);
        if (generator.InCheck(after, after.sideToMove)) san += '+';
        return san;
    }
    if (style == SanStyle::Long) {
        if (type != piece::kPawn) san += PieceLetter(mover);
        san += SquareText(move.from);
        san += capture ? 'x' : '-';
    } else if (type == piece::kPawn) {
        if (capture) san += {static_cast<char>('a' + FileOf(move.from)), 'x'};
    } else {
        san += PieceLetter(mover);
        if (type != piece::kKing) {
            MoveList legal;
            generator.GenerateLegal(*this, legal);
            int rivals = 0, sameFile = 0, sameRank = 0;
            for (const auto& other : legal) {
                if (other.to != move.to || PieceType(At(other.from)) != type) continue;
                if (other.from != move.from) ++rivals;
                if (FileOf(other.from) == FileOf(move.from)) ++sameFile;
                if (RankOf(other.from) == RankOf(move.from)) ++sameRank;
            }
            // Three pieces (after promotions) may share the file with one rival and the rank with
            // another: only both name the piece then.
            char file = static_cast<char>('a' + FileOf(move.from));
            char rank = static_cast<char>('1' + RankOf(move.from));
            if (rivals > 0 && sameFile == 1)
                san += file;
            else if (rivals > 0 && sameRank == 1)
                san += rank;
            else if (rivals > 0)
                san += {file, rank};
        }
        if (capture) san += 'x';
    }
    san += SquareText(move.to);
    if ((move.flags & move_flag::kPromotion) && move.promotion != piece::kEmpty) {
        if (style == SanStyle::PromotionEquals) san += '=';
        san += PieceLetter(move.promotion);
    }
    if (style == SanStyle::EnPassantMarked && (move.flags & move_flag::kEnPassant)) san += " e.p.";
    BoardState after = *this;
    MoveRecord copy = move;
    generator.Apply(after, copy);
    if (generator.InCheck(after, after.sideToMove)) {
        MoveList replies;
        generator.GenerateLegal(after, replies);
        san += replies.count == 0 ? '#' : '+';
    }
    return san;
}

MoveRecord ChessBoard::ParseSan(std::string_view text) const {
    std::string san = CleanSan(text);
    if (san.size() < 2) return {};
    int side = sideToMove;
    int type = piece::kPawn;
    int promotion = piece::kEmpty;
    int toFile = -1, toRank = -1, fromFile = -1, fromRank = -1;
    MoveList legal;
    MoveGenerator generator;
    if (san.rfind("OO", 0) == 0) {
        generator.GenerateLegal(*this, legal);
        bool queenSide = san.rfind("OOO", 0) == 0;
        for (const auto& move : legal)
            if ((move.flags & move_flag::kCastling) && IsQueenSideCastling(move) == queenSide) return move;
        return {};
    }
    {
        size_t first = 0, last = san.size();
        if (IsPieceLetter(san[0])) type = PieceType(PieceFromLetter(san[first++]));
        if (last > first && IsPieceLetterAnyCase(san[last - 1])) promotion = PieceFromLetter(san[--last]);
        for (size_t i = last; i-- > first;) {
            char c = san[i];
            if (IsFileLetter(c)) {
                if (toFile < 0)
                    toFile = c - 'a';
                else if (fromFile < 0)
                    fromFile = c - 'a';
            } else if (IsRankDigit(c)) {
                if (toRank < 0)
                    toRank = c - '1';
                else if (fromRank < 0)
                    fromRank = c - '1';
            }
        }
        if (toFile < 0 || toRank < 0) return {};
        if (type == piece::kPawn && fromFile < 0) fromFile = toFile;
        if (fromFile >= 0 && fromRank >= 0) type = PieceType(At(SquareOf(fromFile, fromRank)));
        int lastRank = side == kWhite ? 7 : 0;
        if (type == piece::kPawn && toRank == lastRank && promotion == piece::kEmpty)
            promotion = MakePiece(piece::kQueen, side);
    }
    int to = SquareOf(toFile, toRank);
    // A move that names its square (every coordinate move) can only be a move of that piece; only
    // the moves the text names are tested for legality.
    MoveList candidates;
    if (fromFile >= 0 && fromRank >= 0)
        generator.GeneratePseudoLegalFrom(*this, SquareOf(fromFile, fromRank), candidates);
    else
        generator.GeneratePseudoLegal(*this, candidates);
    MoveRecord found;
    int matches = 0;
    for (const auto& move : candidates) {
        if (move.to != to || PieceType(At(move.from)) != type) continue;
        if (fromFile >= 0 && FileOf(move.from) != fromFile) continue;
        if (fromRank >= 0 && RankOf(move.from) != fromRank) continue;
        int movePromotion = (move.flags & move_flag::kPromotion) ? move.promotion : piece::kEmpty;
        if (movePromotion != promotion || !generator.IsLegal(*this, move)) continue;
        found = move;
        ++matches;
    }
    if (matches == 0 && type == piece::kKing && fromFile >= 0 && fromRank >= 0) {
        // A castling written in the other notation: the king's move to its square, or the king
        // taking its rook. Reached only when no plain king move has that target.
        int from = SquareOf(fromFile, fromRank);
        for (const auto& move : candidates) {
            if (!(move.flags & move_flag::kCastling) || move.from != from) continue;
            CastlingSquares squares = SquaresOfCastling(*this, move);
            if ((to == squares.kingTo || to == squares.rookFrom) && generator.IsLegal(*this, move))
                return move;
        }
    }
    return matches == 1 ? found : MoveRecord{};
}

}  // namespace pontax
