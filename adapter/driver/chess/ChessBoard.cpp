#include "ChessBoard.h"

#include <algorithm>
#include <cassert>
#include <cctype>

#include "Castling.h"
#include "MoveGenerator.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr char kWhiteLetters[] = " PNBRQK";
constexpr char kBlackLetters[] = " pnbrqk";

int PieceFromFenLetter(char c) {
    for (int type = piece::kPawn; type <= piece::kKing; ++type) {
        if (c == kWhiteLetters[type]) return MakePiece(type, kWhite);
        if (c == kBlackLetters[type]) return MakePiece(type, kBlack);
    }
    return piece::kEmpty;
}

// The next blank-separated word at or after pos; pos moves past it.
std::string_view NextWord(std::string_view text, size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    size_t start = pos;
    while (pos < text.size() && text[pos] != ' ') ++pos;
    return text.substr(start, pos - start);
}

std::string SquareName(int square) {
    return {static_cast<char>('a' + FileOf(square)), static_cast<char>('1' + RankOf(square))};
}

}  // namespace

std::string MoveToCoordinate(const MoveRecord& move) {
    std::string text = SquareName(move.from) + SquareName(move.to);
    if ((move.flags & move_flag::kPromotion) && move.promotion != piece::kEmpty)
        text += kBlackLetters[PieceType(move.promotion)];
    return text;
}

BoardState::Difference BoardState::Compare(const BoardState& other) const {
    if (squares != other.squares) return Difference::Squares;
    if (castlingRights != other.castlingRights || chess960 != other.chess960) return Difference::Castling;
    for (size_t right = 0; right < castlingRookFiles.size(); ++right)
        if ((castlingRights & (1 << right)) && castlingRookFiles[right] != other.castlingRookFiles[right])
            return Difference::Castling;
    if (enPassantSquare != other.enPassantSquare) return Difference::EnPassant;
    if (sideToMove != other.sideToMove) return Difference::Side;
    return Difference::None;
}

bool BoardState::IsConsistent() const {
    for (int square = 0; square < kBoardEntries; ++square) {
        int code = At(square);
        if (OnBoard(square) ? code > MakePiece(piece::kKing, kBlack) : code != piece::kEmpty) return false;
    }
    return (sideToMove == kWhite || sideToMove == kBlack) && castlingRights >= 0 && castlingRights <= 15 &&
           std::all_of(castlingRookFiles.begin(), castlingRookFiles.end(),
                       [](int file) { return file >= 0 && file < 8; }) &&
           (enPassantSquare == kNoSquare || OnBoard(enPassantSquare)) && halfMoveClock >= 0;
}

void BoardState::Clear() {
    squares.fill(piece::kEmpty);
    castlingRights = 0;
    castlingRookFiles = kCornerRookFiles;
    enPassantSquare = kNoSquare;
    sideToMove = kWhite;
    halfMoveClock = 0;
}

void ChessBoard::SetFen(std::string_view text) {
    Clear();
    size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    int rank = 7, file = 0;
    for (; pos < text.size() && text[pos] != ' ' && rank >= 0; ++pos) {
        char c = text[pos];
        if (c >= '1' && c <= '8') {
            file += c - '0';
        } else if (c == '/') {
            if (file > 0) {
                --rank;
                file = 0;
            }
            continue;
        } else if (int code = PieceFromFenLetter(c)) {
            SetSquare(SquareOf(file, rank), code);
            ++file;
        } else {
            continue;
        }
        while (file >= 8 && rank >= 0) {
            file -= 8;
            --rank;
        }
    }
    while (pos < text.size() && text[pos] != ' ') ++pos;  // the placement's rest past the first rank
    std::string_view side = NextWord(text, pos);
    sideToMove = !side.empty() && std::tolower(static_cast<unsigned char>(side[0])) == 'b' ? kBlack : kWhite;
    ReadCastlingField(*this, NextWord(text, pos));
    std::string_view enPassant = NextWord(text, pos);
    if (enPassant.size() >= 2 && enPassant[1] >= '2' && enPassant[1] <= '8') {
        int epFile = enPassant[0] >= 'a' && enPassant[0] <= 'h' ? enPassant[0] - 'a' : 0;
        enPassantSquare = SquareOf(epFile, enPassant[1] - '1');
    }
    assert(IsConsistent());
}

std::string ChessBoard::GetFen() const {
    std::string fen;
    for (int rank = 7; rank >= 0; --rank) {
        int empty = 0;
        for (int file = 0; file < 8; ++file) {
            int code = At(SquareOf(file, rank));
            if (code == piece::kEmpty) {
                ++empty;
                continue;
            }
            if (empty) fen += static_cast<char>('0' + empty);
            empty = 0;
            fen +=
                PieceColour(code) == kWhite ? kWhiteLetters[PieceType(code)] : kBlackLetters[PieceType(code)];
        }
        if (empty) fen += static_cast<char>('0' + empty);
        if (rank > 0) fen += '/';
    }
    fen += sideToMove == kWhite ? " w " : " b ";
    fen += CastlingField(*this);
    fen += ' ';
    fen += enPassantSquare == kNoSquare ? "-" : SquareName(enPassantSquare);
    fen += " 0 1";
    return fen;
}

bool ChessBoard::MakeMove(MoveRecord& move, bool checkLegal) {
    MoveGenerator generator;
    if (checkLegal && !generator.IsLegal(*this, move)) return false;
    generator.Apply(*this, move);
    return true;
}

char ChessBoard::PieceLetter(int code) {
    int type = PieceType(code);
    return type == piece::kPawn ? ' ' : kWhiteLetters[type];
}

int ChessBoard::PieceFromLetter(char letter) const {
    int type;
    switch (AsciiUpper(letter)) {
        case 'B':
            type = piece::kBishop;
            break;
        case 'K':
            type = piece::kKing;
            break;
        case 'N':
            type = piece::kKnight;
            break;
        case 'Q':
            type = piece::kQueen;
            break;
        case 'R':
            type = piece::kRook;
            break;
        default:
            return piece::kEmpty;
    }
    return MakePiece(type, sideToMove);
}

}  // namespace pontax
