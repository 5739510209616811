#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pontax {

class EngineDialogue;

// Ends a search before the GUI's clock for the engine runs out, whatever the engine does: when
// only the margin is left it tells the engine to move now, and when half the margin more has
// passed without a move it answers the GUI with the best move it knows and ends the engine's
// game, which the next search then sets up afresh. It watches a search from the moment its "go"
// arrives: while the command waits for the adapter (an engine being started again), it answers
// by itself once only the margin is left.
class ClockGuard {
public:
    using Clock = std::chrono::steady_clock;

    explicit ClockGuard(EngineDialogue& dialogue) : d_(dialogue) {}
    ClockGuard(const ClockGuard&) = delete;
    ClockGuard& operator=(const ClockGuard&) = delete;
    ~ClockGuard() { Stop(); }

    // Watches search `number`, which may take budgetMs from `since`; replaces any earlier watch.
    void Watch(unsigned number, int budgetMs, int marginMs, Clock::time_point since);
    // A "go" that may take budgetMs from `since` has arrived; returns its ticket for TakeOn.
    unsigned Arrive(int budgetMs, int marginMs, Clock::time_point since);
    // The search of ticket `ticket` begins; false when the guard has answered it already.
    bool TakeOn(unsigned ticket);
    // Ends the thread at once.
    void Stop();

private:
    // Starts the thread if it does not run; false (and logged) when none can be made.
    bool EnsureThread();
    // Whether the thread must be woken for a new deadline, or will look by then anyway.
    bool NeedsWaking(Clock::time_point deadline) const;
    void Run();
    void GuardWatchedSearch(std::unique_lock<std::mutex>& lock);
    // What to do for the watched search once its time has come; called without the lock.
    bool StillSearching(unsigned number);
    void MoveNow(unsigned number, int marginMs);
    void Answer(unsigned number);
    void AnswerBeforeTheSearch();

    EngineDialogue& d_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool running_ = false;
    bool watching_ = false;
    unsigned number_ = 0;
    int marginMs_ = 0;
    Clock::time_point moveNowAt_;
    // The last "go" that arrived, until its search begins.
    unsigned arrivalTicket_ = 0;
    bool arrivalPending_ = false;
    bool arrivalAnswered_ = false;
    Clock::time_point arrivalAnswerAt_;
    // Counts the changes, so the thread sees each one.
    unsigned changes_ = 0;
    // While the thread sleeps towards a deadline: that deadline. The next "go" almost always has a
    // later one, so it is not woken for it: two wake-ups of a third thread per move are spared.
    // min() while it must be woken for every change.
    Clock::time_point wakesBy_ = Clock::time_point::min();
    std::thread thread_;
};

}  // namespace pontax
