#include "adapter/driver/BestMove.h"

#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MoveGenerator.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"

namespace pontax {

namespace {
constexpr const char* kNullMove = "0000";

bool Contains(const MoveList& list, const MoveRecord& move) {
    for (const auto& legal : list)
        if (legal.SameMove(move)) return true;
    return false;
}
}  // namespace

void SynthesiseBestMove() {
    auto& search = Search();
    search.goPending = false;
    search.ownClock.Stop();
    ChessBoard board = GamePosition().Replay();
    MoveList legal;
    MoveGenerator().GenerateLegal(board, legal);
    auto [first, second] = search.pv.With([](PvMemory& pv) { return std::pair(pv.pvFirstMove, pv.pvSecondMove); });
    std::string choice = kNullMove;
    if (!first.IsEmpty() && Contains(legal, first))
        choice = MoveToCoordinate(first);
    else if (!second.IsEmpty() && Contains(legal, second))
        choice = MoveToCoordinate(second);
    else if (legal.count > 0)
        choice = MoveToCoordinate(legal.moves[0]);
    SendToGui("bestmove " + choice);
    search.SetMode(EngineMode::Idle);
}

}  // namespace pontax
