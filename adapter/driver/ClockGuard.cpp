#include "ClockGuard.h"

#include <string>
#include <system_error>

#include "BestMove.h"
#include "EngineDialogue.h"
#include "LineWriters.h"
#include "Log.h"
#include "Positions.h"
#include "SearchState.h"

namespace pontax {

bool ClockGuard::StillSearching(unsigned number) {
    auto& search = d_.search;
    return search.SearchPending() && search.SearchNumber() == number &&
           search.Mode() == EngineMode::Searching;
}

bool ClockGuard::EnsureThread() {
    if (running_) return true;
    try {
        thread_ = std::thread(&ClockGuard::Run, this);
    } catch (const std::system_error& error) {
        WriteLog(std::string("Clock guard: no thread could be made (") + error.what() +
                     "); searches go unguarded.",
                 log_tag::kRemark);
        return false;
    }
    running_ = true;
    return true;
}

bool ClockGuard::NeedsWaking(Clock::time_point deadline) const {
    return wakesBy_ == Clock::time_point::min() || deadline < wakesBy_;
}

void ClockGuard::Watch(unsigned number, int budgetMs, int marginMs, Clock::time_point since) {
    bool wake;
    {
        std::lock_guard lock(mutex_);
        watching_ = true;
        number_ = number;
        marginMs_ = marginMs;
        moveNowAt_ = since + std::chrono::milliseconds(budgetMs > marginMs ? budgetMs - marginMs : 0);
        ++changes_;
        if (!EnsureThread()) return;
        wake = NeedsWaking(moveNowAt_);
    }
    if (wake) wake_.notify_all();
}

unsigned ClockGuard::Arrive(int budgetMs, int marginMs, Clock::time_point since) {
    unsigned ticket;
    bool wake;
    {
        std::lock_guard lock(mutex_);
        ticket = ++arrivalTicket_;
        arrivalPending_ = true;
        arrivalAnswered_ = false;
        // No engine searches yet that could be told to move: the answer comes at the margin.
        arrivalAnswerAt_ = since + std::chrono::milliseconds(budgetMs > marginMs ? budgetMs - marginMs : 0);
        ++changes_;
        if (!EnsureThread()) arrivalPending_ = false;
        wake = NeedsWaking(arrivalAnswerAt_);
    }
    if (wake) wake_.notify_all();
    return ticket;
}

bool ClockGuard::TakeOn(unsigned ticket) {
    std::lock_guard lock(mutex_);
    if (ticket != arrivalTicket_) return true;
    arrivalPending_ = false;
    ++changes_;
    return !arrivalAnswered_;
}

void ClockGuard::Stop() {
    {
        std::lock_guard lock(mutex_);
        running_ = false;
        ++changes_;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ClockGuard::Run() {
    std::unique_lock lock(mutex_);
    while (running_) {
        const auto now = Clock::now();
        if (arrivalPending_ && now >= arrivalAnswerAt_) {
            arrivalPending_ = false;
            arrivalAnswered_ = true;
            lock.unlock();
            AnswerBeforeTheSearch();
            lock.lock();
            continue;
        }
        if (watching_ && now >= moveNowAt_) {
            GuardWatchedSearch(lock);
            continue;
        }
        const unsigned seen = changes_;
        auto changed = [&] { return !running_ || changes_ != seen; };
        auto until = Clock::time_point::max();
        if (arrivalPending_) until = std::min(until, arrivalAnswerAt_);
        if (watching_) until = std::min(until, moveNowAt_);
        wakesBy_ = until;
        if (until == Clock::time_point::max())
            wake_.wait(lock, changed);
        else
            wake_.wait_until(lock, until, changed);
        wakesBy_ = Clock::time_point::min();
    }
}

// The watched search's time has come: the engine is told to move now, and answered for half a
// margin later unless a new watch replaces this one.
void ClockGuard::GuardWatchedSearch(std::unique_lock<std::mutex>& lock) {
    unsigned number = number_;
    int margin = marginMs_;
    watching_ = false;
    lock.unlock();
    MoveNow(number, margin);
    lock.lock();
    auto answerAt = Clock::now() + std::chrono::milliseconds(margin / 2);
    if (wake_.wait_until(lock, answerAt, [&] { return !running_ || watching_; })) return;
    lock.unlock();
    Answer(number);
    lock.lock();
}

void ClockGuard::MoveNow(unsigned number, int marginMs) {
    if (!StillSearching(number)) return;
    WriteLog(
        "Clock guard: " + std::to_string(marginMs) + " ms left on the clock, the engine is told to move now.",
        log_tag::kRemark);
    SendToEngine(d_, "?");
}

void ClockGuard::Answer(unsigned number) {
    auto& search = d_.search;
    if (!StillSearching(number) || !search.ClaimBestMove()) return;
    WriteLog(
        "Clock guard: no move from the engine in time, the adapter answers; the engine's game starts afresh.",
        log_tag::kRemark);
    // The engine may still play its move; its game must then start afresh.
    ForgetEnginePosition(d_);
    SynthesiseBestMove(d_);
}

void ClockGuard::AnswerBeforeTheSearch() {
    WriteLog(
        "Clock guard: the search could not begin in time (the adapter was busy with the engine); the adapter "
        "answers.",
        log_tag::kRemark);
    SynthesiseBestMove(d_);
}

}  // namespace pontax
