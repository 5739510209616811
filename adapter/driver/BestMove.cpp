#include "BestMove.h"

#include "EngineDialogue.h"
#include "LineWriters.h"
#include "MoveGenerator.h"
#include "Positions.h"
#include "SearchState.h"

namespace pontax {

namespace {
constexpr const char* kNullMove = "0000";
}  // namespace

void SynthesiseBestMove(EngineDialogue& d) {
    auto& search = d.search;
    search.CancelSearch();
    search.ownClock.Stop();
    ChessBoard board = GameEnd(d);
    MoveList legal;
    MoveGenerator().GenerateLegal(board, legal);
    auto [first, second] =
        search.pv.With([](PvMemory& pv) { return std::pair(pv.pvFirstMove, pv.pvSecondMove); });
    std::string choice = kNullMove;
    if (!FindLegalMove(board, first).IsEmpty())
        choice = MoveToCoordinate(first);
    else if (!FindLegalMove(board, second).IsEmpty())
        choice = MoveToCoordinate(second);
    else if (legal.count > 0)
        choice = MoveToCoordinate(legal.moves[0]);
    SendToGui(d, "bestmove " + choice);
    search.SetMode(EngineMode::Idle);
}

void AnswerOutstandingSearch(EngineDialogue& d) {
    if (d.search.ClaimBestMove()) SynthesiseBestMove(d);
}

}  // namespace pontax
