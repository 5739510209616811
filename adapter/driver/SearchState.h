#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace pontax {

// What the engine is doing, as far as the adapter knows. The numbers are fixed.
enum class EngineMode : int { Idle = 0, Searching = 1, Pondering = 2, Analysing = 3 };
// Whether the ticker asks the engine for status lines.
enum class TickerState : int { Idle = 0, Armed = 1, Reporting = 2 };

class SearchState {
public:
    EngineMode Mode() const { return engineMode_.load(); }
    // Changes the mode and wakes the threads waiting for a change.
    void SetMode(EngineMode mode);
    // Waits up to limit while the mode is `mode`; true when it changed in time.
    bool WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit);

    std::atomic<bool> goPending{false};
    std::atomic<TickerState> tickerState{TickerState::Idle};

private:
    std::atomic<EngineMode> engineMode_{EngineMode::Idle};
    std::mutex mutex_;
    std::condition_variable changed_;
};

SearchState& Search();

}  // namespace pontax
