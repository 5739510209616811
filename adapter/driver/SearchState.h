#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "ChessBoard.h"
#include "Clock.h"
#include "LineWriters.h"

namespace pontax {

// What the engine is doing, as far as the adapter knows. The numbers are fixed.
enum class EngineMode : int { Idle = 0, Searching = 1, Pondering = 2, Analysing = 3 };
// Whether the ticker asks the engine for status lines.
enum class TickerState : int { Idle = 0, Armed = 1, Reporting = 2 };

// A value shared by the two reader threads, used only under its lock.
template <class T>
class Guarded {
public:
    template <class F>
    auto With(F&& f) {
        std::lock_guard lock(mutex_);
        return f(value_);
    }

private:
    std::mutex mutex_;
    T value_{};
};

// A countdown clock used by both readers.
class SharedCountdown {
public:
    void StartWithLimit(int32_t ms) {
        std::lock_guard lock(mutex_);
        clock_.Start();
        clock_.Set(ms);
    }
    void Stop() {
        std::lock_guard lock(mutex_);
        clock_.Stop();
    }
    void Reset() {
        std::lock_guard lock(mutex_);
        clock_.Reset();
    }
    int32_t Remaining() {
        std::lock_guard lock(mutex_);
        return clock_.Elapsed();
    }

private:
    std::mutex mutex_;
    CountdownTimer clock_;
};

// The last principal variation and the ponder records.
struct PvMemory {
    MoveRecord pvFirstMove;
    MoveRecord pvSecondMove;
    MoveRecord announcedPonderMove;
    MoveRecord expectedReply;
    bool ponderAnnounced = false;
    int lastInfoScore = 1;
    int lastInfoDepth = 1;

    // Empties the variation; a full reset also forgets the last score and depth.
    void Reset(bool full) {
        pvFirstMove = pvSecondMove = MoveRecord{};
        if (full || lastInfoScore == 0) lastInfoScore = 1;
        if (full || lastInfoDepth <= 0) lastInfoDepth = 1;
    }
};

class SearchState {
public:
    EngineMode Mode() const { return engineMode_.load(); }
    // Changes the mode and wakes the threads waiting for a change.
    void SetMode(EngineMode mode);
    // Changes the mode from `from` to `to` only; false when it was another.
    bool ChangeMode(EngineMode from, EngineMode to);
    // Waits up to limit while the mode is `mode`; true when it changed in time.
    bool WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit);

    // A search was started and its best move is not reported yet. Whoever reports a best move
    // claims it first, so a search is never answered twice.
    bool SearchPending() const { return searchPending_.load(); }
    bool ClaimBestMove();
    // Marks a new search outstanding and returns its number.
    unsigned BeginSearch();
    // No search is outstanding any more, and none will be answered.
    void CancelSearch();
    // What becomes of a "move" line from the engine; only an accepted move answers the search.
    // A move is judged once: the engine is idle afterwards.
    enum class MoveVerdict {
        Accepted,
        NotSearching,
        WrittenBeforeReset,  // the engine's game was reset since; its new game is in step
        WrittenBeforeSearch,
        EngineResigned,
        Interrupted,  // the adapter told the engine to move while ending its game
        AlreadyAnswered,
    };
    // caughtUp: the engine has answered the last ping sent.
    MoveVerdict JudgeEngineMove(bool caughtUp);
    unsigned SearchNumber() const { return searchNumber_.load(); }
    // Sends an info line read for search `number`, only while that search is outstanding: a line
    // read while a search ends never follows its bestmove or lands in the next search.
    void SendForSearch(GuiOutput& gui, unsigned number, const std::string& line);

    std::atomic<TickerState> tickerState{TickerState::Idle};
    std::atomic<int> ownTime{-1};
    std::atomic<int> opponentTime{-1};
    std::atomic<int> savedMovesToGo{-1};
    std::atomic<int> lastDepth{-1};
    std::atomic<bool> moveNowPending{false};
    // The last "ping" number sent with a search, and the last "pong" the engine answered: a move
    // before that pong was written before the engine read the search's commands.
    std::atomic<int> pingSent{0};
    std::atomic<int> pongReceived{0};
    // The ping sent just before the engine's game was last reset.
    std::atomic<int> resetPing{0};
    // The engine was last left in force mode: a move sent to it will not start its search.
    std::atomic<bool> engineForceMode{false};
    std::atomic<bool> engineResigned{false};
    // The result the engine announced after its move, which no search has shown yet: the next
    // search, which the adapter answers, shows it.
    Guarded<std::string> gameEndNotice;
    // The engine plays a game again.
    void EngineGameResumed() {
        engineResigned = false;
        gameEndNotice.With([](std::string& notice) { notice.clear(); });
    }
    SharedCountdown ownClock;
    SharedCountdown opponentClock;
    Guarded<PvMemory> pv;

private:
    std::atomic<EngineMode> engineMode_{EngineMode::Idle};
    std::atomic<bool> searchPending_{false};
    std::atomic<unsigned> searchNumber_{0};
    // Orders a search's info lines against the claim of its bestmove.
    std::mutex outputLock_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

}  // namespace pontax
