#include "adapter/core/EngineOutput.h"

#include <chrono>

#include "adapter/config/Log.h"
#include "adapter/config/Settings.h"
#include "adapter/core/ThinkingOutput.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

// How long an engine move may precede the search it answers (it can arrive while "go" is
// still being sent).
constexpr std::chrono::milliseconds kMoveWait{500};
constexpr const char* kFillerInfo = "info depth 1 score cp 1";

void Discard(std::string_view reason) {
    WriteLog(reason, log_tag::kRemark);
    // The engine has played a move the adapter does not record: its game must start afresh.
    ForgetEnginePosition();
}

void HandleEngineMove(std::string_view line, std::string_view moveText) {
    auto& search = Search();
    if (search.Mode() != EngineMode::Searching) {
        if (!search.WaitForMode(EngineMode::Searching, kMoveWait)) {
            Discard("Move discarded, engine is not thinking.");
            return;
        }
        WriteLog("Move accepted after a delay.", log_tag::kRemark);
    }
    // Decided while the mode still says searching: a new search cannot start before it changes.
    bool resigned = search.engineResigned;
    bool interrupted = search.moveNowPending;
    bool claimed = !resigned && !interrupted && search.ClaimBestMove();
    search.SetMode(EngineMode::Idle);
    search.tickerState = TickerState::Idle;
    if (resigned) return Discard("Move discarded, engine allready resigned.");
    if (interrupted) return Discard("Move discarded, stopMove=true.");
    if (!claimed) return Discard("Move discarded, the search was already answered.");
    bool filler = search.pv.With([](PvMemory& pv) { return pv.lastInfoScore == 0 && pv.lastInfoDepth == 1; });
    if (filler) SendToGui(kFillerInfo);
    search.ownClock.Stop();
    ChessBoard board = ReplayEnginePosition();
    MoveRecord move = board.ParseSan(moveText);
    if (move.IsEmpty()) {
        WriteLog("illegal move", log_tag::kFromEngine);
        SendToGui("info string illegal engine move " + std::string(line));
        ForgetEnginePosition();
        SynthesiseBestMove();
        return;
    }
    // A full game record cannot take the move; the GUI still gets it.
    AppendEngineMove(move);
    std::string out = "bestmove " + MoveToCoordinate(move);
    bool simulateHint = Settings().SimulateHint;
    search.pv.With([&](PvMemory& pv) {
        pv.announcedPonderMove = MoveRecord{};
        pv.ponderAnnounced = false;
        MoveRecord played = move;
        if (move.SameMove(pv.pvFirstMove) && board.MakeMove(played, true)) {
            MoveRecord second = pv.pvSecondMove;
            if (!second.IsEmpty() && board.MakeMove(second, true)) {
                out += " ponder " + MoveToCoordinate(pv.pvSecondMove);
                pv.announcedPonderMove = pv.pvSecondMove;
                pv.ponderAnnounced = true;
            }
        }
        pv.Reset(false);
        pv.expectedReply = simulateHint && pv.ponderAnnounced ? pv.announcedPonderMove : MoveRecord{};
    });
    SendToGui(out);
}

void HandleHint(std::string_view moveText) {
    MoveRecord reply = ReplayEnginePosition().ParseSan(moveText);
    Search().pv.With([&](PvMemory& pv) {
        pv.expectedReply = reply;
        pv.ponderAnnounced = !reply.IsEmpty() && reply.SameMove(pv.announcedPonderMove);
    });
}

// "resign", "1-0" or "0-1": the engine ends the game; every later search is answered by the
// adapter until the GUI starts a new game.
void HandleDecisiveResult(std::string_view line, std::string_view first) {
    auto& search = Search();
    search.tickerState = TickerState::Idle;
    SendToGui("info string " + std::string(line));
    search.pv.With([](PvMemory& pv) {
        pv.expectedReply = MoveRecord{};
        pv.Reset(true);
        pv.announcedPonderMove = MoveRecord{};
    });
    if (first == "resign")
        SendToEngine(GamePosition().SideToMoveAfterMoves() == kWhite ? "result 0-1" : "result 1-0");
    else
        SendToEngine("result " + std::string(first));
    search.engineResigned = true;
    if (search.Mode() == EngineMode::Searching && search.ClaimBestMove())
        SynthesiseBestMove();
    else
        search.SetMode(EngineMode::Idle);
}

// An engine that claims a draw while it searches will not move; the GUI still gets its move, and
// the engine's game starts afresh at the next search, so it plays on if the GUI does.
void HandleDrawClaim(const std::string& line) {
    auto& search = Search();
    search.tickerState = TickerState::Idle;
    SendToGui("info string " + line);
    if (search.Mode() == EngineMode::Searching && search.ClaimBestMove()) {
        ForgetEnginePosition();
        SynthesiseBestMove();
    }
}

}  // namespace

bool HandleEngineLine(const std::string& rawLine) {
    NoteEngineOutput();
    std::string line = Trim(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromEngine);
    std::vector<std::string> words = SplitWords(line);
    // Protocol 1 engines announce their moves as "12. ... Nf3".
    if (words.size() >= 3 && words[1] == "..." && (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '.'))
        words = {"move", words[2]};
    const std::string& first = words[0];
    std::string second = words.size() > 1 ? words[1] : std::string();
    if (first == "move") {
        HandleEngineMove(line, second);
    } else if (first == "Hint:") {
        HandleHint(second);
    } else if ((first == "resign" && words.size() == 1) || first == "1-0" || first == "0-1") {
        HandleDecisiveResult(line, first);
    } else if (first == "1/2-1/2") {
        HandleDrawClaim(line);
    } else if (first == "feature") {
        ParseFeatures(line);
    } else if (Search().goPending) {
        TranslateThinkingOutput(line);
    }
    return true;
}

void RequestStatusTick() {
    if (Search().tickerState == TickerState::Reporting) SendToEngine(".");
}

}  // namespace pontax
