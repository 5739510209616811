#include "adapter/driver/ClockGuard.h"

#include <string>

#include "adapter/config/Log.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"

namespace pontax {

namespace {

bool StillSearching(unsigned number) {
    auto& search = Search();
    return search.goPending && search.SearchNumber() == number && search.Mode() == EngineMode::Searching;
}

}  // namespace

void ClockGuard::Watch(unsigned number, int budgetMs, int marginMs, Clock::time_point since) {
    {
        std::lock_guard lock(mutex_);
        watching_ = true;
        number_ = number;
        marginMs_ = marginMs;
        moveNowAt_ = since + std::chrono::milliseconds(budgetMs > marginMs ? budgetMs - marginMs : 0);
        if (!running_) {
            running_ = true;
            thread_ = std::thread(&ClockGuard::Run, this);
        }
    }
    wake_.notify_all();
}

void ClockGuard::Stop() {
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ClockGuard::Run() {
    std::unique_lock lock(mutex_);
    while (running_) {
        if (!watching_) {
            wake_.wait(lock);
            continue;
        }
        unsigned number = number_;
        if (wake_.wait_until(lock, moveNowAt_, [&] { return !running_ || number_ != number || !watching_; })) continue;
        // Moving now, then waiting half a margin more, unless a new watch replaces this one.
        int margin = marginMs_;
        watching_ = false;
        lock.unlock();
        MoveNow(number, margin);
        lock.lock();
        auto answerAt = Clock::now() + std::chrono::milliseconds(margin / 2);
        if (wake_.wait_until(lock, answerAt, [&] { return !running_ || watching_; })) continue;
        lock.unlock();
        Answer(number);
        lock.lock();
    }
}

void ClockGuard::MoveNow(unsigned number, int marginMs) {
    if (!StillSearching(number)) return;
    WriteLog("Clock guard: " + std::to_string(marginMs) + " ms left on the clock, the engine is told to move now.",
             log_tag::kRemark);
    SendToEngine("?");
}

void ClockGuard::Answer(unsigned number) {
    auto& search = Search();
    if (!StillSearching(number) || !search.ClaimBestMove()) return;
    WriteLog("Clock guard: no move from the engine in time, the adapter answers; the engine's game starts afresh.",
             log_tag::kRemark);
    // The engine may still play its move; its game must then start afresh.
    ForgetEnginePosition();
    SynthesiseBestMove();
}

ClockGuard& SearchClockGuard() {
    static ClockGuard guard;
    return guard;
}

}  // namespace pontax
