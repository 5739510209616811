#include "EngineRecovery.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <string>

#include "BestMove.h"
#include "EngineControl.h"
#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "LineWriters.h"
#include "Log.h"
#include "PendingCommands.h"
#include "Positions.h"
#include "SearchState.h"
#include "Settings.h"

namespace pontax {

namespace {

using Clock = RecoveryClock;

constexpr size_t kMostRestarts = 3;
constexpr std::chrono::seconds kRestartWindow{60};
// An engine that closed its output but runs on is given this long to end before it is killed.
constexpr std::chrono::milliseconds kExitGrace{200};
constexpr const char* kRestartNotice = "info string The engine stopped; it is started again.";
constexpr const char* kRestartedNotice = "info string The engine stopped and was started again.";

// Counts this restart if the budget allows it.
bool TakeRestartFromBudget(EngineDialogue& d) {
    std::lock_guard lock(d.recovery.restartsMutex);
    auto now = Clock::now();
    while (!d.recovery.restarts.empty() && now - d.recovery.restarts.front() > kRestartWindow)
        d.recovery.restarts.pop_front();
    if (d.recovery.restarts.size() >= kMostRestarts) return false;
    d.recovery.restarts.push_back(now);
    return true;
}

// The host gets its move now; a ponder search waits for its ponderhit or stop, which the
// restarted engine or the adapter answers.
void AnswerForTheLostEngine(EngineDialogue& d) {
    auto& search = d.search;
    unsigned number = search.SearchNumber();
    if (!search.SearchPending()) {
        d.recovery.noticeOwed = true;
        return;
    }
    search.SendForSearch(d.gui, number, kRestartNotice);
    if (search.Mode() == EngineMode::Pondering) {
        search.SetMode(EngineMode::Idle);
        return;
    }
    AnswerOutstandingSearch(d);
}

}  // namespace

bool BeginEngineRecovery(EngineDialogue& d) {
    if (!d.settings.RestartEngine || d.recovery.quitRequested || d.guiReader.HasEnded()) return false;
    if (!TakeRestartFromBudget(d)) {
        WriteLog("The engine stopped again; it has been restarted too often, so the adapter ends.",
                 log_tag::kRemark);
        return false;
    }
    WriteLog("The engine stopped; it is started again.", log_tag::kRemark);
    // Owed before the host hears of it: its next command may come before the main thread does.
    d.recovery.restartOwed = true;
    ++d.recovery.recoveriesBegun;
    AnswerForTheLostEngine(d);
    return true;
}

bool TakeRecoveryRequest(EngineDialogue& d) {
    if (d.recovery.recoveriesSeen == d.recovery.recoveriesBegun) return false;
    ++d.recovery.recoveriesSeen;
    return true;
}

namespace {

// With EngineCommandLock held.
bool RestartNow(EngineDialogue& d) {
    if (d.recovery.quitRequested) return false;
    d.engineReader.Stop();
    d.Link().Stop(true, kExitGrace);
    auto& search = d.search;
    search.SetMode(EngineMode::Idle);
    search.SetTicker(TickerState::Idle);
    search.SetEngineForceMode(false);
    search.EngineGameResumed();
    // The next search sets up the whole game, as for an engine that knows nothing.
    ForgetEnginePosition(d);
    ResetFeatures(d);
    if (!StartEngine(d)) {
        WriteLog("The engine could not be started again; the adapter ends.", log_tag::kRemark);
        return false;
    }
    for (const auto& command : d.config.pending.OptionCommands()) SendToEngine(d, command);
    WriteLog("The engine was started again.", log_tag::kRemark);
    return true;
}

bool RestartIfOwed(EngineDialogue& d) {
    if (!d.recovery.restartOwed.exchange(false)) return !d.recovery.restartFailed;
    bool started = RestartNow(d);
    if (!started) d.recovery.restartFailed = true;
    return started;
}

}  // namespace

bool RestartLostEngine(EngineDialogue& d) {
    std::lock_guard lock(d.commandLock);
    return RestartIfOwed(d) && !d.recovery.quitRequested;
}

void RestartLostEngineFirst(EngineDialogue& d) { RestartIfOwed(d); }

void NoteQuitRequested(EngineDialogue& d) { d.recovery.quitRequested = true; }

void SendRestartNoticeIfOwed(EngineDialogue& d) {
    if (d.recovery.noticeOwed.exchange(false)) SendToGui(d, kRestartedNotice);
}

}  // namespace pontax
