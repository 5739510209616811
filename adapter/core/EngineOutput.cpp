#include "adapter/core/EngineOutput.h"

#include "adapter/config/Log.h"
#include "adapter/config/Settings.h"
#include "adapter/core/ThinkingOutput.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MoveGenerator.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

constexpr const char* kFillerInfo = "info depth 1 score cp 1";

void Discard(std::string_view reason) {
    WriteLog(reason, log_tag::kRemark);
    // The engine has played a move the adapter does not record: its game must start afresh.
    ForgetEnginePosition();
}

void HandleEngineMove(std::string_view line, std::string_view moveText) {
    auto& search = Search();
    // A search is marked before anything that starts it goes out, so a move that finds none
    // answers nothing the host asked; the next search must not take it.
    if (search.Mode() != EngineMode::Searching) return Discard("Move discarded, engine is not thinking.");
    if (!EngineCaughtUp()) {
        // Written before the engine read the last reset: it was played in the game the reset
        // replaces, and the engine's new game is still in step.
        if (search.pongReceived < search.resetPing)
            return WriteLog("Move discarded, it was written before the engine's game was reset.", log_tag::kRemark);
        return Discard("Move discarded, it was written before the search began.");
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
    // The move must be legal where the host searched, whatever the engine's record says.
    ChessBoard board = GamePosition().Replay();
    if (board.Compare(ReplayEnginePosition()) != 0) ForgetEnginePosition();
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
            MoveRecord reply = FindLegalMove(board, pv.pvSecondMove);
            if (!reply.IsEmpty()) {
                out += " ponder " + MoveToCoordinate(reply);
                pv.announcedPonderMove = reply;
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
    if (!EngineCaughtUp()) return WriteLog("Result discarded, it was written before the game was reset.", log_tag::kRemark);
    search.tickerState = TickerState::Idle;
    bool answering = search.Mode() == EngineMode::Searching && search.ClaimBestMove();
    if (answering) SendToGui("info string " + std::string(line));
    search.pv.With([](PvMemory& pv) {
        pv.expectedReply = MoveRecord{};
        pv.Reset(true);
        pv.announcedPonderMove = MoveRecord{};
    });
    if (first == "resign")
        SendToEngine(GameSideToMove() == kWhite ? "result 0-1" : "result 1-0");
    else
        SendToEngine("result " + std::string(first));
    search.engineResigned = true;
    if (!answering) search.gameEndNotice.With([&](std::string& notice) { notice = line; });
    if (answering)
        SynthesiseBestMove();
    else
        search.SetMode(EngineMode::Idle);
}

// An engine that claims a draw while it searches will not move; the GUI still gets its move, and
// the engine's game starts afresh at the next search, so it plays on if the GUI does. A claim
// outside a search is only logged: strict hosts refuse output while no search is outstanding.
void HandleDrawClaim(const std::string& line) {
    auto& search = Search();
    search.tickerState = TickerState::Idle;
    if (!EngineCaughtUp() || search.Mode() != EngineMode::Searching || !search.ClaimBestMove()) return;
    SendToGui("info string " + line);
    ForgetEnginePosition();
    SynthesiseBestMove();
}

// "My move is : e2e4", the console form some engines fall back to. They may print it beside the
// protocol's own announcement, so it counts only while a search waits for a move.
bool IsConsoleMoveAnnouncement(std::string_view line) { return line.rfind("My move is", 0) == 0; }

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
    } else if (IsConsoleMoveAnnouncement(line) && words.size() > 3) {
        if (Search().Mode() == EngineMode::Searching) HandleEngineMove(line, words.back());
    } else if (first == "Hint:") {
        HandleHint(second);
    } else if ((first == "resign" && words.size() == 1) || first == "1-0" || first == "0-1") {
        HandleDecisiveResult(line, first);
    } else if (first == "1/2-1/2") {
        HandleDrawClaim(line);
    } else if (first == "pong") {
        Search().pongReceived = ParseInteger(second);
    } else if (first == "feature") {
        ParseFeatures(line);
    } else if (Search().goPending && EngineCaughtUp()) {
        // Thinking written before the engine read the search's commands belongs to an older one.
        TranslateThinkingOutput(line);
    }
    return true;
}

void RequestStatusTick() {
    if (Search().tickerState == TickerState::Reporting) SendToEngine(".");
}

}  // namespace pontax
