#include "adapter/driver/EngineRecovery.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <string>

#include "adapter/config/Log.h"
#include "adapter/config/PendingCommands.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/Workers.h"

namespace pontax {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMostRestarts = 3;
constexpr std::chrono::seconds kRestartWindow{60};
// An engine that closed its output but runs on is given this long to end before it is killed.
constexpr std::chrono::milliseconds kExitGrace{200};
constexpr const char* kRestartNotice = "info string The engine stopped; it is started again.";
constexpr const char* kRestartedNotice = "info string The engine stopped and was started again.";

std::atomic<bool> quitRequested{false};
// A restart is owed: taken by whoever holds EngineCommandLock first.
std::atomic<bool> restartOwed{false};
std::atomic<bool> restartFailed{false};
// Engine ends taken on, and those the main thread has seen.
std::atomic<unsigned> recoveriesBegun{0};
unsigned recoveriesSeen = 0;  // main thread only
std::atomic<bool> noticeOwed{false};
std::mutex restartsMutex;
std::deque<Clock::time_point> restarts;

// Counts this restart if the budget allows it.
bool TakeRestartFromBudget() {
    std::lock_guard lock(restartsMutex);
    auto now = Clock::now();
    while (!restarts.empty() && now - restarts.front() > kRestartWindow) restarts.pop_front();
    if (restarts.size() >= kMostRestarts) return false;
    restarts.push_back(now);
    return true;
}

// The host gets its move now; a ponder search waits for its ponderhit or stop, which the
// restarted engine or the adapter answers.
void AnswerForTheLostEngine() {
    auto& search = Search();
    unsigned number = search.SearchNumber();
    if (!search.goPending) {
        noticeOwed = true;
        return;
    }
    search.SendForSearch(number, kRestartNotice);
    if (search.Mode() == EngineMode::Pondering) {
        search.SetMode(EngineMode::Idle);
        return;
    }
    AnswerOutstandingSearch();
}

}  // namespace

std::mutex& EngineCommandLock() {
    static std::mutex lock;
    return lock;
}

bool BeginEngineRecovery() {
    if (!Settings().RestartEngine || quitRequested || GuiReader().HasEnded()) return false;
    if (!TakeRestartFromBudget()) {
        WriteLog("The engine stopped again; it has been restarted too often, so the adapter ends.", log_tag::kRemark);
        return false;
    }
    WriteLog("The engine stopped; it is started again.", log_tag::kRemark);
    // Owed before the host hears of it: its next command may come before the main thread does.
    restartOwed = true;
    ++recoveriesBegun;
    AnswerForTheLostEngine();
    return true;
}

bool TakeRecoveryRequest() {
    if (recoveriesSeen == recoveriesBegun) return false;
    ++recoveriesSeen;
    return true;
}

namespace {

// With EngineCommandLock held.
bool RestartNow() {
    if (quitRequested) return false;
    EngineReader().Stop();
    EngineProcess().Stop(true, kExitGrace);
    auto& search = Search();
    search.SetMode(EngineMode::Idle);
    search.tickerState = TickerState::Idle;
    search.engineForceMode = false;
    search.EngineGameResumed();
    // The next search sets up the whole game, as for an engine that knows nothing.
    ForgetEnginePosition();
    ResetFeatures();
    if (!StartEngine()) {
        WriteLog("The engine could not be started again; the adapter ends.", log_tag::kRemark);
        return false;
    }
    ResendOptionCommands();
    WriteLog("The engine was started again.", log_tag::kRemark);
    return true;
}

bool RestartIfOwed() {
    if (!restartOwed.exchange(false)) return !restartFailed;
    bool started = RestartNow();
    if (!started) restartFailed = true;
    return started;
}

}  // namespace

bool RestartLostEngine() {
    std::lock_guard lock(EngineCommandLock());
    return RestartIfOwed() && !quitRequested;
}

void RestartLostEngineFirst() { RestartIfOwed(); }

void NoteQuitRequested() { quitRequested = true; }

void SendRestartNoticeIfOwed() {
    if (noticeOwed.exchange(false)) SendToGui(kRestartedNotice);
}

}  // namespace pontax
