#include "adapter/driver/BestMove.h"

#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MoveGenerator.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"

namespace pontax {

namespace {
constexpr const char* kNullMove = "0000";
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
    if (!FindLegalMove(board, first).IsEmpty())
        choice = MoveToCoordinate(first);
    else if (!FindLegalMove(board, second).IsEmpty())
        choice = MoveToCoordinate(second);
    else if (legal.count > 0)
        choice = MoveToCoordinate(legal.moves[0]);
    SendToGui("bestmove " + choice);
    search.SetMode(EngineMode::Idle);
}

void AnswerOutstandingSearch() {
    if (Search().ClaimBestMove()) SynthesiseBestMove();
}

}  // namespace pontax
