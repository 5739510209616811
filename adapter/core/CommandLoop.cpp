#include "CommandLoop.h"

#include <chrono>

#include "BestMove.h"
#include "EngineControl.h"
#include "EngineDialogue.h"
#include "EngineRecovery.h"
#include "LineWriters.h"
#include "Log.h"
#include "MainWait.h"
#include "OptionList.h"
#include "Positions.h"
#include "SearchControl.h"
#include "SearchState.h"
#include "SettingHandler.h"
#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

void HandleUci(EngineDialogue& d) {
    // The engine's own options must be known before "uciok"; a start that fails is reported at
    // "isready", which tries again.
    if (d.settings.EngineOptions && !d.EngineExists()) StartEngine(d);
    SendToGui(d, "id name " + d.settings.EngineName.Get());
    SendToGui(d, "id author " + d.settings.EngineAuthor.Get());
    for (const auto& line : BuildOptionLines(d.config)) SendToGui(d, line);
    SendToGui(d, "uciok");
}

bool HandleIsReady(EngineDialogue& d) {
    DiscardLogBuffer();
    if (!d.EngineExists() && !StartEngine(d)) {
        SendToGui(d, kEngineStartError);
        d.mainWait.SignalWakeEvent();
        return false;
    }
    SendToGui(d, "readyok");
    return true;
}

constexpr std::chrono::milliseconds kStopStep{250};
constexpr int kStopSteps = 41;

// Ends the outstanding search with exactly one "bestmove": a searching engine is told to move
// now and given ten seconds; an analysing one leaves analysis. With nothing outstanding there is
// nothing to answer.
void HandleStop(EngineDialogue& d) {
    auto& search = d.search;
    search.SetTicker(TickerState::Idle);
    if (!search.SearchPending()) return;
    if (search.Mode() == EngineMode::Searching) {
        SendToEngine(d, "?");
        for (int step = 0; step < kStopSteps && search.Mode() == EngineMode::Searching; ++step)
            search.WaitWhileMode(EngineMode::Searching, kStopStep);
        if (search.Mode() != EngineMode::Searching || !search.ClaimBestMove()) return;
        // The engine may still play its move; its game must then start afresh.
        ForgetEnginePosition(d);
    } else {
        if (search.Mode() == EngineMode::Analysing) EndAnalysis(d);
        if (!search.ClaimBestMove()) return;
    }
    SynthesiseBestMove(d);
}

}  // namespace

bool HandleGuiLine(EngineDialogue& d, std::string_view rawLine) {
    // A host's "position" line can be many kilobytes; it is read where it is.
    std::string_view line = TrimmedView(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromGui);
    // A search's clock runs from here, also while an engine that stopped is started again; the
    // clock guard watches it from here on.
    auto received = std::chrono::steady_clock::now();
    const std::string command = GetWord(line, 1);
    // A position needs no engine, so it never waits for one being started again: the "go" after
    // it is read, and guarded, at once.
    if (command == "position") {
        ParsePosition(d, line);
        return true;
    }
    GoRequest request;
    unsigned arrival = 0;
    if (command == "go") {
        request = ParseGo(line);
        arrival = GuardArrivingGo(d, request, received);
    }
    std::lock_guard lock(d.commandLock);
    if (line != "quit") RestartLostEngineFirst(d);
    if (line == "uci") {
        HandleUci(d);
    } else if (line == "isready") {
        return HandleIsReady(d);
    } else if (line == "quit") {
        NoteQuitRequested(d);
        StopEngine(d);
    } else if (line == "stop") {
        HandleStop(d);
    } else if (command == "setoption") {
        HandleGuiSetOption(d.config, d, line);
    } else if (command == "go") {
        Go(d, request, false, received, arrival);
    } else if (command == "ponderhit") {
        Ponderhit(d, received);
    }
    return true;
}

}  // namespace pontax
