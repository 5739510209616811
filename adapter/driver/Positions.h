#pragma once

#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ChessBoard.h"
#include "Settings.h"

namespace pontax {

class EngineDialogue;

inline constexpr int kMaxGameMoves = 1024;

// A start position and the moves played from it, with the position they lead to kept up to date
// move by move: a long game is never replayed whole.
class PositionRecord {
public:
    // start with moves, which lead to end, in the buffer the record has. The record's first
    // `kept` moves, if it holds that many, are already the first of `moves` and are not copied
    // again.
    void Assign(const ChessBoard& start, std::span<const MoveRecord> moves, const ChessBoard& end,
                int kept = 0);
    // An empty board and no moves.
    void Clear();
    // Starts again from start, without moves.
    void Restart(const ChessBoard& start);
    // False (and nothing stored) when the record is full.
    bool Append(const MoveRecord& move);
    // Keeps the first count moves.
    void Truncate(int count);
    // Takes on the moves of `game` after its own, which are the first moves of `game` from the same
    // start, and so the position they lead to.
    void CatchUp(const PositionRecord& game);

    const ChessBoard& Start() const { return start_; }
    int Count() const { return static_cast<int>(moves_.size()); }
    const MoveRecord& Move(int index) const { return moves_[static_cast<size_t>(index)]; }
    // The start position with the moves made on it, each only if legal there.
    const ChessBoard& Replay() const { return end_; }
    // The side to move after the moves, judged by their number.
    int SideToMoveAfterMoves() const { return (start_.sideToMove + Count()) % 2; }

private:
    ChessBoard start_;
    ChessBoard end_;
    std::vector<MoveRecord> moves_;
};

// Reads "position" commands, taking a command that extends the last one by moves from where the
// last one ended: a host repeats the whole game every move.
class PositionReader {
public:
    // Castling fields and moves are read by Chess960 rules or by standard ones.
    PositionRecord Read(std::string_view line, bool chess960 = false);
    // Reads the line without making a record of it.
    void Parse(std::string_view line, bool chess960);
    // The record of the last line read.
    void CopyRecordTo(PositionRecord& record) const;
    // Brings `record`, which holds the record of the line before, up to the last line read.
    void UpdateRecord(PositionRecord& record) const;
    // How many first moves the record of the last line read shares with that of the line before.
    int MovesKept() const { return kept_; }

private:
    void ReadWhole(std::string_view line);
    void AddMove(std::string_view word);
    void Rebase();

    std::string lastLine_;
    bool inMoves_ = false;  // the last command's moves reach its end
    ChessBoard origin_;     // the position the command names before its moves
    ChessBoard scratch_;    // origin_ with every move made on it
    std::vector<MoveRecord> moves_;
    size_t rebase_ = 0;  // moves before the record's start
    ChessBoard recordStart_;
    ChessBoard recordEnd_;  // recordStart_ with the record's legal moves made on it
    int kept_ = 0;
};
// A host may search before it sends a position, and then means the start position.
PositionRecord StartPosition();

// What the GUI last sent ("position") and what the engine has been told. Both readers use them;
// each access takes the lock for a copy or a change and never holds it across a wait or a send.
struct PositionStore {
    std::mutex lock;
    // Written by the GUI thread only, which may therefore read it without the lock.
    PositionRecord game = StartPosition();
    PositionRecord engine;
    // How many first moves of `engine` are known to be those of `game`: a search compares only
    // the moves after them, not a long game's every move.
    int engineShared = 0;
    PositionReader reader;  // the GUI reader's only
    // The GUI thread's copy of the engine record while it starts a search, traded with `engine`
    // when the search starts: its buffer serves search after search, never allocated anew.
    PositionRecord engineWork;
};

// The first `count` moves of both records are the same moves; the first `known` are known to be.
bool SameMoves(const PositionRecord& a, const PositionRecord& b, int count, int known = 0);

PositionRecord GamePosition(EngineDialogue& d);
// The game position's moves made on its start.
ChessBoard GameEnd(EngineDialogue& d);
// The side to move in the game position.
int GameSideToMove(EngineDialogue& d);
PositionRecord EnginePosition(EngineDialogue& d);
// The engine position copied into `into`, whose buffer is reused. Returns how many of its first
// moves are known to be the game position's.
int CopyEnginePosition(EngineDialogue& d, PositionRecord& into);
// Makes `position`, whose moves are the game position's first moves, the engine position;
// `position` gets the one it replaces.
void SwapEnginePosition(EngineDialogue& d, PositionRecord& position);
// Appends an engine move to the engine position; false when it is full.
bool AppendEngineMove(EngineDialogue& d, const MoveRecord& move);
// Clears the engine position, so that the next search starts the engine afresh.
void ForgetEnginePosition(EngineDialogue& d);
// The engine position replayed.
ChessBoard ReplayEnginePosition(EngineDialogue& d);

// The position a UCI "position" command names.
PositionRecord ReadPosition(std::string_view line, bool chess960 = false);

// The UCI "position" command: replaces the game position.
void ParsePosition(EngineDialogue& d, std::string_view line);
// A coordinate move ("e2e4", "e7e8q") read on board; nullopt when it does not name one. Castling
// is read as the king's move to its square ("e1g1") or as the king taking its rook ("e1h1").
std::optional<MoveRecord> ParseCoordinateMove(const BoardState& board, std::string_view text);
// The xboard commands that set up fen on the engine, by setboard, edit or cb-edit.
std::string BuildPositionCommands(EngineDialogue& d, EditMode mode, std::string_view fen);

}  // namespace pontax
