#include "adapter/core/CommandLoop.h"

#include <chrono>

#include "adapter/config/Log.h"
#include "adapter/config/OptionList.h"
#include "adapter/config/SettingHandler.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/EngineRecovery.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/MainWait.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchControl.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

void HandleUci() {
    // The engine's own options must be known before "uciok"; a start that fails is reported at
    // "isready", which tries again.
    if (Settings().EngineOptions && !EngineProcess().Exists()) StartEngine();
    SendToGui("id name " + Settings().EngineName.Get());
    SendToGui("id author " + Settings().EngineAuthor.Get());
    SendOptionList();
    SendToGui("uciok");
}

bool HandleIsReady() {
    DiscardLogBuffer();
    if (!EngineProcess().Exists() && !StartEngine()) {
        SendToGui(kEngineStartError);
        MainLoop().SignalWakeEvent();
        return false;
    }
    SendToGui("readyok");
    return true;
}

constexpr std::chrono::milliseconds kStopStep{250};
constexpr int kStopSteps = 41;

// Ends the outstanding search with exactly one "bestmove": a searching engine is told to move
// now and given ten seconds; an analysing one leaves analysis. With nothing outstanding there is
// nothing to answer.
void HandleStop() {
    auto& search = Search();
    search.tickerState = TickerState::Idle;
    if (!search.goPending) return;
    if (search.Mode() == EngineMode::Searching) {
        SendToEngine("?");
        for (int step = 0; step < kStopSteps && search.Mode() == EngineMode::Searching; ++step)
            search.WaitWhileMode(EngineMode::Searching, kStopStep);
        if (search.Mode() != EngineMode::Searching || !search.ClaimBestMove()) return;
        // The engine may still play its move; its game must then start afresh.
        ForgetEnginePosition();
    } else {
        if (search.Mode() == EngineMode::Analysing) EndAnalysis();
        if (!search.ClaimBestMove()) return;
    }
    SynthesiseBestMove();
}

}  // namespace

bool HandleGuiLine(const std::string& rawLine) {
    std::string line = Trim(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromGui);
    // A search's clock runs from here, also while an engine that stopped is started again; the
    // clock guard watches it from here on.
    auto received = std::chrono::steady_clock::now();
    const std::string command = GetWord(line, 1);
    // A position needs no engine, so it never waits for one being started again: the "go" after
    // it is read, and guarded, at once.
    if (command == "position") {
        ParsePosition(line);
        return true;
    }
    unsigned arrival = command == "go" ? GuardArrivingGo(line, received) : 0;
    std::lock_guard lock(EngineCommandLock());
    if (line != "quit") RestartLostEngineFirst();
    if (line == "uci") {
        HandleUci();
    } else if (line == "isready") {
        return HandleIsReady();
    } else if (line == "quit") {
        NoteQuitRequested();
        StopEngine();
    } else if (line == "stop") {
        HandleStop();
    } else if (command == "setoption") {
        HandleGuiSetOption(line);
    } else if (command == "go") {
        Go(line, false, received, arrival);
    } else if (command == "ponderhit") {
        Ponderhit(received);
    }
    return true;
}

}  // namespace pontax
