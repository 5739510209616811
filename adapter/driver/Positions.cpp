#include "Positions.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "Castling.h"
#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "MoveGenerator.h"
#include "SearchState.h"
#include "StringUtil.h"

namespace pontax {

// A host may search before it sends a position, and then means the start position.
PositionRecord StartPosition() {
    ChessBoard board;
    board.SetFen(ChessBoard::kStartFen);
    PositionRecord start;
    start.Restart(board);
    return start;
}

namespace {

bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
bool IsRank(char c) { return c >= '1' && c <= '8'; }

// The FEN fields a "position fen" command carries: placement, then side, castling and an
// en-passant square, each only if the one before was taken and it looks right.
std::string CollectFen(const std::vector<std::string>& words, size_t& i) {
    std::string fen = words[i++];
    if (i < words.size() && (words[i] == "w" || words[i] == "b")) {
        fen += " " + words[i++];
        // Castling in "KQkq" letters or the rook files of Shredder-FEN.
        if (i < words.size() && CharInSet(words[i][0], "KQkqABCDEFGHabcdefgh-")) {
            fen += " " + words[i++];
            if (i < words.size() && words[i].size() >= 2 && IsFile(words[i][0]) &&
                CharInSet(words[i][1], "36"))
                fen += " " + words[i++];
        }
    }
    return fen;
}

void AppendPieceLines(std::string& out, const BoardState& board, int side) {
    for (int rank = 0; rank < 8; ++rank) {
        for (int file = 0; file < 8; ++file) {
            int code = board.At(SquareOf(file, rank));
            if (code == piece::kEmpty || PieceColour(code) != side) continue;
            out += PieceType(code) == piece::kPawn ? 'P' : ChessBoard::PieceLetter(code);
            out += static_cast<char>('a' + file);
            out += static_cast<char>('1' + rank);
            out += '\n';
        }
    }
    out += "c\n";
}

}  // namespace

void PositionRecord::Assign(const ChessBoard& start, std::span<const MoveRecord> moves, const ChessBoard& end,
                            int kept) {
    // Moves the record does not hold cannot be kept.
    size_t keep = kept > 0 && static_cast<size_t>(kept) <= std::min(moves_.size(), moves.size())
                      ? static_cast<size_t>(kept)
                      : 0;
    auto keptEnd = moves.begin() + static_cast<std::ptrdiff_t>(keep);
    assert(std::equal(moves.begin(), keptEnd, moves_.begin(),
                      [](const MoveRecord& a, const MoveRecord& b) { return a.SameMove(b); }));
    start_ = start;
    end_ = end;
    moves_.resize(keep);
    moves_.insert(moves_.end(), keptEnd, moves.end());
}

void PositionRecord::Clear() {
    ChessBoard empty;
    empty.Clear();
    Restart(empty);
}

void PositionRecord::Restart(const ChessBoard& start) {
    start_ = end_ = start;
    moves_.clear();
}

bool PositionRecord::Append(const MoveRecord& move) {
    if (Count() >= kMaxGameMoves) return false;
    moves_.push_back(move);
    MoveRecord made = move;
    end_.MakeMove(made, true);
    return true;
}

void PositionRecord::Truncate(int count) {
    if (count >= Count()) return;
    moves_.resize(static_cast<size_t>(std::max(count, 0)));
    end_ = start_;
    for (MoveRecord move : moves_) end_.MakeMove(move, true);
}

void PositionRecord::CatchUp(const PositionRecord& game) {
    assert(start_.SamePosition(game.start_) && SameMoves(game, *this, Count()));
    if (Count() >= game.Count()) return;
    moves_.insert(moves_.end(), game.moves_.begin() + Count(), game.moves_.end());
    end_ = game.end_;
}

bool SameMoves(const PositionRecord& a, const PositionRecord& b, int count, int known) {
    for (int i = std::max(known, 0); i < count; ++i)
        if (!a.Move(i).SameMove(b.Move(i))) return false;
    return true;
}

PositionRecord GamePosition(EngineDialogue& d) {
    std::lock_guard guard(d.positions.lock);
    return d.positions.game;
}

ChessBoard GameEnd(EngineDialogue& d) {
    std::lock_guard guard(d.positions.lock);
    return d.positions.game.Replay();
}

int GameSideToMove(EngineDialogue& d) {
    std::lock_guard guard(d.positions.lock);
    return d.positions.game.SideToMoveAfterMoves();
}

PositionRecord EnginePosition(EngineDialogue& d) {
    std::lock_guard guard(d.positions.lock);
    return d.positions.engine;
}

int CopyEnginePosition(EngineDialogue& d, PositionRecord& into) {
    auto& store = d.positions;
    std::lock_guard guard(store.lock);
    into = store.engine;
    return std::min(store.engineShared, into.Count());
}

void SwapEnginePosition(EngineDialogue& d, PositionRecord& position) {
    auto& store = d.positions;
    std::lock_guard guard(store.lock);
    std::swap(store.engine, position);
    store.engineShared = store.engine.Count();
}

bool AppendEngineMove(EngineDialogue& d, const MoveRecord& move) {
    auto& store = d.positions;
    std::lock_guard guard(store.lock);
    return store.engine.Append(move);
}

void ForgetEnginePosition(EngineDialogue& d) {
    auto& store = d.positions;
    std::lock_guard guard(store.lock);
    store.engine.Clear();
    store.engineShared = 0;
}

ChessBoard ReplayEnginePosition(EngineDialogue& d) {
    auto& store = d.positions;
    std::lock_guard guard(store.lock);
    return store.engine.Replay();
}

std::optional<MoveRecord> ParseCoordinateMove(const BoardState& board, std::string_view text) {
    if (text.size() < 4 || !IsFile(text[0]) || !IsRank(text[1]) || !IsFile(text[2]) || !IsRank(text[3]))
        return std::nullopt;
    MoveRecord move;
    move.from = static_cast<uint8_t>(SquareOf(text[0] - 'a', text[1] - '1'));
    move.to = static_cast<uint8_t>(SquareOf(text[2] - 'a', text[3] - '1'));
    int mover = board.At(move.from);
    // A move onto its own square is no move; it would end the move list early.
    if (mover == piece::kEmpty || move.from == move.to) return std::nullopt;
    if (text.size() > 4) {
        int type = 0;
        switch (AsciiUpper(text[4])) {
            case 'N':
                type = piece::kKnight;
                break;
            case 'B':
                type = piece::kBishop;
                break;
            case 'R':
                type = piece::kRook;
                break;
            case 'Q':
                type = piece::kQueen;
                break;
            case 'K':
                type = piece::kKing;
                break;
        }
        move.promotion = static_cast<uint8_t>(type ? MakePiece(type, board.sideToMove) : 0);
        move.flags |= move_flag::kPromotion;
    }
    int fileDistance = std::abs(FileOf(move.from) - FileOf(move.to));
    bool ontoOwnRook = board.At(move.to) == MakePiece(piece::kRook, PieceColour(mover));
    if (PieceType(mover) == piece::kKing && (ontoOwnRook || fileDistance > 1)) {
        // Castling in either notation, the king's move to its square or the king taking its rook.
        MoveRecord castling = CastlingMove(board, PieceColour(mover), move.to > move.from);
        CastlingSquares squares = SquaresOfCastling(board, castling);
        if (!castling.IsEmpty() && (move.to == squares.kingTo || move.to == squares.rookFrom))
            return castling;
    }
    move.captured = static_cast<uint8_t>(board.At(move.to));
    if (move.captured != piece::kEmpty) move.flags |= move_flag::kCapture;
    if (PieceType(mover) == piece::kPawn) {
        move.flags |= move_flag::kPawn;
        if (std::abs(RankOf(move.from) - RankOf(move.to)) >= 2) move.flags |= move_flag::kDoubleStep;
        if (fileDistance != 0 && move.captured == piece::kEmpty)
            move.flags |= move_flag::kCapture | move_flag::kEnPassant;
    }
    return move;
}

namespace {

// A game longer than the record starts from a later position: the one after a whole number of
// rebase steps, so that the next positions of the same game keep that start and the engine
// follows them move by move again after one set-up.
constexpr size_t kRebaseStep = 512;

size_t RebaseFor(size_t moves) {
    if (moves <= kMaxGameMoves) return 0;
    return (moves - kMaxGameMoves + kRebaseStep - 1) / kRebaseStep * kRebaseStep;
}

}  // namespace

PositionRecord PositionReader::Read(std::string_view line, bool chess960) {
    Parse(line, chess960);
    PositionRecord record;
    CopyRecordTo(record);
    return record;
}

void PositionReader::CopyRecordTo(PositionRecord& record) const {
    record.Assign(recordStart_, std::span(moves_).subspan(rebase_), recordEnd_);
}

void PositionReader::UpdateRecord(PositionRecord& record) const {
    record.Assign(recordStart_, std::span(moves_).subspan(rebase_), recordEnd_, kept_);
}

void PositionReader::Parse(std::string_view line, bool chess960) {
    bool extends = chess960 == origin_.chess960 && inMoves_ && line.size() > lastLine_.size() &&
                   line.substr(0, lastLine_.size()) == lastLine_ &&
                   CharInSet(line[lastLine_.size()], kBlankChars);
    if (extends) {
        std::string_view added = line.substr(lastLine_.size());
        lastLine_.append(added);
        size_t rebase = rebase_;
        kept_ = static_cast<int>(moves_.size() - rebase_);
        for (std::string_view word = TakeWord(added); !word.empty(); word = TakeWord(added)) AddMove(word);
        // A new start for the record moves its every move.
        if (rebase_ != rebase) kept_ = 0;
    } else {
        origin_.chess960 = chess960;
        kept_ = 0;
        ReadWhole(line);
    }
}

void PositionReader::ReadWhole(std::string_view line) {
    lastLine_ = line;
    inMoves_ = false;
    origin_.Clear();
    moves_.clear();
    rebase_ = 0;
    std::vector<std::string> words = SplitWords(line);
    for (size_t i = 1; i < words.size();) {
        const std::string& word = words[i];
        if (word == "startpos") {
            origin_.SetFen(ChessBoard::kStartFen);
            ++i;
        } else if (word == "fen" && i + 1 < words.size()) {
            ++i;
            origin_.SetFen(CollectFen(words, i));
        } else if (word == "moves") {
            // Every word after it is a move or skipped.
            inMoves_ = true;
            break;
        } else {
            ++i;
        }
    }
    scratch_ = recordStart_ = recordEnd_ = origin_;
    if (!inMoves_) return;
    size_t i = 1;
    while (words[i] != "moves") ++i;
    for (++i; i < words.size(); ++i) AddMove(words[i]);
}

void PositionReader::AddMove(std::string_view word) {
    auto move = ParseCoordinateMove(scratch_, word);
    if (!move) return;
    MoveGenerator generator;
    generator.Apply(scratch_, *move);
    moves_.push_back(*move);
    if (RebaseFor(moves_.size()) != rebase_) return Rebase();
    MoveRecord made = *move;
    recordEnd_.MakeMove(made, true);
}

void PositionReader::Rebase() {
    rebase_ = RebaseFor(moves_.size());
    recordStart_ = origin_;
    MoveGenerator generator;
    for (size_t i = 0; i < rebase_; ++i) {
        MoveRecord move = moves_[i];
        generator.Apply(recordStart_, move);
    }
    recordEnd_ = recordStart_;
    for (size_t i = rebase_; i < moves_.size(); ++i) {
        MoveRecord move = moves_[i];
        recordEnd_.MakeMove(move, true);
    }
}

PositionRecord ReadPosition(std::string_view line, bool chess960) {
    return PositionReader().Read(line, chess960);
}

void ParsePosition(EngineDialogue& d, std::string_view line) {
    d.search.CancelSearch();
    auto& store = d.positions;
    store.reader.Parse(line, d.settings.PlaysChess960());
    std::lock_guard guard(store.lock);
    // The game position is this reader's record of the line before, and is written only here.
    store.reader.UpdateRecord(store.game);
    store.engineShared = std::min(store.engineShared, store.reader.MovesKept());
}

std::string BuildPositionCommands(EngineDialogue& d, EditMode mode, std::string_view fen) {
    if (mode == EditMode::Setboard) return "setboard " + std::string(fen) + "\n";
    ChessBoard board;
    board.SetFen(fen);
    std::string out;
    if (board.sideToMove == kWhite) {
        out = "new\nedit\n#\n";
    } else {
        out = "new\nforce\n";
        if (d.features.usermove) out += "usermove ";
        out += d.features.san ? "a3\nedit\n#\n" : "a2a3\nedit\n#\n";
    }
    AppendPieceLines(out, board, kWhite);
    AppendPieceLines(out, board, kBlack);
    if (mode == EditMode::CbEdit) {
        auto sign = [&](int right) { return (board.castlingRights & right) ? '+' : '-'; };
        out += sign(castling::kWhiteKingSide) + std::string("w00\n");
        out += sign(castling::kWhiteQueenSide) + std::string("w000\n");
        out += sign(castling::kBlackKingSide) + std::string("b00\n");
        out += sign(castling::kBlackQueenSide) + std::string("b000\n");
        if (board.enPassantSquare != kNoSquare) {
            out += "ep ";
            out += static_cast<char>('a' + FileOf(board.enPassantSquare));
            out += static_cast<char>('1' + RankOf(board.enPassantSquare));
            out += '\n';
        }
    }
    if (board.sideToMove == kWhite) out += "c\n";
    out += ".\n";
    return out;
}

}  // namespace pontax
