#include "BestMove.h"

#include <utility>

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
    MoveRecord choice;
    if (!FindLegalMove(board, first).IsEmpty())
        choice = first;
    else if (!FindLegalMove(board, second).IsEmpty())
        choice = second;
    else if (legal.count > 0)
        choice = legal.moves[0];
    choice = search.WithinSearchMoves(choice);
    if (choice.IsEmpty()) {
        SendToGui(d, std::string("bestmove ") + kNullMove);
    } else {
        SendClosingVariation(d, choice);
        SendToGui(d, "bestmove " + MoveToCoordinate(choice));
    }
    search.SetMode(EngineMode::Idle);
}

void SendClosingVariation(EngineDialogue& d, const MoveRecord& played) {
    std::string head = d.search.pv.With([&](PvMemory& pv) {
        bool begins = pv.shownHead.empty() || pv.shownFirstMove.SameMove(played);
        return begins ? std::string() : std::exchange(pv.shownHead, {});
    });
    if (!head.empty()) SendToGui(d, head + " pv " + MoveToCoordinate(played));
}

void AnswerOutstandingSearch(EngineDialogue& d) {
    if (d.search.ClaimBestMove()) SynthesiseBestMove(d);
}

}  // namespace pontax
