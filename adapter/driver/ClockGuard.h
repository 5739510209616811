#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace pontax {

// Ends a search before the GUI's clock for the engine runs out, whatever the engine does: when
// only the margin is left it tells the engine to move now, and when half the margin more has
// passed without a move it answers the GUI with the best move it knows and ends the engine's
// game, which the next search then sets up afresh.
class ClockGuard {
public:
    using Clock = std::chrono::steady_clock;

    ClockGuard() = default;
    ClockGuard(const ClockGuard&) = delete;
    ClockGuard& operator=(const ClockGuard&) = delete;
    ~ClockGuard() { Stop(); }

    // Watches search `number`, which may take budgetMs from `since`; replaces any earlier watch.
    void Watch(unsigned number, int budgetMs, int marginMs, Clock::time_point since);
    // Ends the thread at once.
    void Stop();

private:
    void Run();
    // What to do for the watched search once its time has come; called without the lock.
    static void MoveNow(unsigned number, int marginMs);
    static void Answer(unsigned number);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool running_ = false;
    bool watching_ = false;
    unsigned number_ = 0;
    int marginMs_ = 0;
    Clock::time_point moveNowAt_;
    std::thread thread_;
};

ClockGuard& SearchClockGuard();

}  // namespace pontax
