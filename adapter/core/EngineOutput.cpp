#include "EngineOutput.h"

#include "BestMove.h"
#include "EngineControl.h"
#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "EngineRefusals.h"
#include "LineWriters.h"
#include "Log.h"
#include "MoveGenerator.h"
#include "Positions.h"
#include "SearchState.h"
#include "Settings.h"
#include "StringUtil.h"
#include "ThinkingOutput.h"

namespace pontax {

namespace {

constexpr const char* kFillerInfo = "info depth 1 score cp 1";

void Discard(EngineDialogue& d, std::string_view reason) {
    WriteLog(reason, log_tag::kRemark);
    // The engine has played a move the adapter does not record: its game must start afresh.
    ForgetEnginePosition(d);
}

void HandleEngineMove(EngineDialogue& d, std::string_view line, std::string_view moveText) {
    auto& search = d.search;
    using Verdict = SearchState::MoveVerdict;
    switch (search.JudgeEngineMove(EngineCaughtUp(d))) {
        case Verdict::Accepted:
            break;
        case Verdict::NotSearching:
            return Discard(d, "Move discarded, engine is not thinking.");
        case Verdict::WrittenBeforeReset:
            return WriteLog("Move discarded, it was written before the engine's game was reset.",
                            log_tag::kRemark);
        case Verdict::WrittenBeforeSearch:
            return Discard(d, "Move discarded, it was written before the search began.");
        case Verdict::EngineResigned:
            return Discard(d, "Move discarded, engine allready resigned.");
        case Verdict::Interrupted:
            return Discard(d, "Move discarded, stopMove=true.");
        case Verdict::AlreadyAnswered:
            return Discard(d, "Move discarded, the search was already answered.");
    }
    bool filler = search.pv.With([](PvMemory& pv) { return pv.lastInfoScore == 0 && pv.lastInfoDepth == 1; });
    if (filler) SendToGui(d, kFillerInfo);
    search.ownClock.Stop();
    // The move must be legal where the host searched, whatever the engine's record says.
    ChessBoard board = GameEnd(d);
    if (!board.SamePosition(ReplayEnginePosition(d))) ForgetEnginePosition(d);
    MoveRecord move = board.ParseSan(moveText);
    if (move.IsEmpty()) {
        WriteLog("illegal move", log_tag::kFromEngine);
        SendToGui(d, "info string illegal engine move " + std::string(line));
        ForgetEnginePosition(d);
        SynthesiseBestMove(d);
        return;
    }
    // A full game record cannot take the move; the GUI still gets it.
    AppendEngineMove(d, move);
    // The engine's game has its own move; the host gets one it allowed.
    if (MoveRecord allowed = search.WithinSearchMoves(move); !allowed.SameMove(move)) {
        WriteLog("The engine played " + MoveToCoordinate(move) +
                     ", which the host's searchmoves leave out; " + MoveToCoordinate(allowed) +
                     " is answered instead.",
                 log_tag::kRemark);
        move = allowed;
    }
    SendClosingVariation(d, move);
    std::string out = "bestmove " + MoveToCoordinate(move);
    bool simulateHint = d.settings.SimulateHint;
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
    SendToGui(d, out);
}

void HandleHint(EngineDialogue& d, std::string_view moveText) {
    MoveRecord reply = ReplayEnginePosition(d).ParseSan(moveText);
    d.search.pv.With([&](PvMemory& pv) {
        pv.expectedReply = reply;
        pv.ponderAnnounced = !reply.IsEmpty() && reply.SameMove(pv.announcedPonderMove);
    });
}

// "resign", "1-0" or "0-1": the engine ends the game; every later search is answered by the
// adapter until the GUI starts a new game.
void HandleDecisiveResult(EngineDialogue& d, std::string_view line, std::string_view first) {
    auto& search = d.search;
    if (!EngineCaughtUp(d))
        return WriteLog("Result discarded, it was written before the game was reset.", log_tag::kRemark);
    search.SetTicker(TickerState::Idle);
    bool answering = search.Mode() == EngineMode::Searching && search.ClaimBestMove();
    if (answering) SendToGui(d, "info string " + std::string(line));
    search.pv.With([](PvMemory& pv) {
        pv.expectedReply = MoveRecord{};
        pv.Reset(true);
        pv.announcedPonderMove = MoveRecord{};
    });
    if (first == "resign")
        SendToEngine(d, GameSideToMove(d) == kWhite ? "result 0-1" : "result 1-0");
    else
        SendToEngine(d, "result " + std::string(first));
    search.NoteEngineResigned();
    if (!answering) search.gameEndNotice.With([&](std::string& notice) { notice = line; });
    if (answering)
        SynthesiseBestMove(d);
    else
        search.SetMode(EngineMode::Idle);
}

// An engine that claims a draw while it searches will not move; the GUI still gets its move, and
// the engine's game starts afresh at the next search, so it plays on if the GUI does. A claim
// outside a search is only logged: strict hosts refuse output while no search is outstanding.
void HandleDrawClaim(EngineDialogue& d, std::string_view line) {
    auto& search = d.search;
    search.SetTicker(TickerState::Idle);
    if (!EngineCaughtUp(d) || search.Mode() != EngineMode::Searching || !search.ClaimBestMove()) return;
    SendToGui(d, "info string " + std::string(line));
    ForgetEnginePosition(d);
    SynthesiseBestMove(d);
}

// "My move is : e2e4", the console form some engines fall back to. They may print it beside the
// protocol's own announcement, so it counts only while a search waits for a move.
bool IsConsoleMoveAnnouncement(std::string_view line) { return line.rfind("My move is", 0) == 0; }

}  // namespace

bool HandleEngineLine(EngineDialogue& d, std::string_view rawLine) {
    NoteEngineOutput(d);
    // Read where it is: a move is answered before anything else is done with its line.
    std::string_view line = TrimmedView(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromEngine);
    std::string_view rest = line;
    std::string_view first = TakeWord(rest), second = TakeWord(rest), third = TakeWord(rest);
    bool moreThanThreeWords = !PeekWord(rest).empty();
    // Protocol 1 engines announce their moves as "12. ... Nf3".
    if (second == "..." && !third.empty() &&
        (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '.')) {
        first = "move";
        second = third;
    }
    if (first == "move") {
        HandleEngineMove(d, line, second);
    } else if (IsConsoleMoveAnnouncement(line) && moreThanThreeWords) {
        std::string_view last = line.substr(line.find_last_of(kBlankChars) + 1);
        if (d.search.Mode() == EngineMode::Searching) HandleEngineMove(d, line, last);
    } else if (first == "Hint:") {
        HandleHint(d, second);
    } else if ((first == "resign" && second.empty()) || first == "1-0" || first == "0-1") {
        HandleDecisiveResult(d, line, first);
    } else if (first == "1/2-1/2") {
        HandleDrawClaim(d, line);
    } else if (first == "pong") {
        d.search.RecordPong(ParseInteger(second));
    } else if (first == "feature") {
        ParseFeatures(d, line);
    } else if (HandleEngineRefusal(d, line)) {
    } else if (d.search.SearchPending() && EngineCaughtUp(d)) {
        // Thinking written before the engine read the search's commands belongs to an older one.
        TranslateThinkingOutput(d, line);
    }
    return true;
}

void RequestStatusTick(EngineDialogue& d) {
    if (d.search.Ticker() == TickerState::Reporting) SendToEngine(d, ".");
}

}  // namespace pontax
