#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "adapter/config/Settings.h"
#include "adapter/driver/ChessBoard.h"

namespace pontax {

inline constexpr int kMaxGameMoves = 1024;

// A start position and the moves played from it.
struct PositionRecord {
    ChessBoard board;
    std::array<MoveRecord, kMaxGameMoves> moves{};
    int count = 0;

    void Clear();
    // False (and nothing stored) when the record is full.
    bool Append(const MoveRecord& move);
    // The start position with the moves made on it, each only if legal there.
    ChessBoard Replay() const;
    // The side to move after the moves, judged by their number.
    int SideToMoveAfterMoves() const;
};

// The first `count` moves of both records are the same moves.
bool SameMoves(const PositionRecord& a, const PositionRecord& b, int count);

// What the GUI last sent ("position") and what the engine has been told. Both readers use them;
// each call takes the lock for a copy or a change and never holds it across a wait or a send.
PositionRecord GamePosition();
PositionRecord EnginePosition();
void SetEnginePosition(const PositionRecord& position);
// Appends an engine move to the engine position; false when it is full.
bool AppendEngineMove(const MoveRecord& move);
// Clears the engine position, so that the next search starts the engine afresh.
void ForgetEnginePosition();
// The engine position replayed (cached until the engine position changes).
ChessBoard ReplayEnginePosition();

// The position a UCI "position" command names.
PositionRecord ReadPosition(std::string_view line);
// The UCI "position" command: replaces the game position.
void ParsePosition(std::string_view line);
// A coordinate move ("e2e4", "e7e8q") read on board; nullopt when it does not name one.
std::optional<MoveRecord> ParseCoordinateMove(const BoardState& board, std::string_view text);
// The xboard commands that set up fen on the engine, by setboard, edit or cb-edit.
std::string BuildPositionCommands(EditMode mode, std::string_view fen);

}  // namespace pontax
