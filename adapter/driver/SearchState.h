#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

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
    // The last variation the host was shown in this search: its line up to the variation
    // ("info depth D score S"; empty when none was shown) and its first move.
    std::string shownHead;
    MoveRecord shownFirstMove;

    // Forgets the variations shown, for a new search.
    void ForgetShown() {
        shownHead.clear();
        shownFirstMove = MoveRecord{};
    }
    // Empties the variation; a full reset also forgets the last score and depth.
    void Reset(bool full) {
        pvFirstMove = pvSecondMove = MoveRecord{};
        ForgetShown();
        if (full || lastInfoScore == 0) lastInfoScore = 1;
        if (full || lastInfoDepth <= 0) lastInfoDepth = 1;
    }
};

// What the adapter knows of the search, shared by both readers, the ticker and the clock guard.
// The mode and the ticker are atomics, read on every engine line; the pending flag and the search
// number change under the output lock, which orders a search's info lines against its bestmove
// claim; the rest lives under one lock, which is never held across a write or a wait.
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
    bool SendForSearch(GuiOutput& gui, unsigned number, const std::string& line);

    // Whether the ticker asks the engine for status lines.
    TickerState Ticker() const { return ticker_.load(); }
    void SetTicker(TickerState state) { ticker_ = state; }
    // The first thinking line of a search starts the ticker's reports.
    void StartReportingIfArmed();

    // What the host's last "go" asked for, kept for the time commands and for ponderhit.
    struct Request {
        int ownTime = -1;
        int opponentTime = -1;
        int savedMovesToGo = -1;  // sent with the next time control only
        int lastDepth = -1;
    };
    Request LastRequest() const;
    template <class F>
    void ChangeRequest(F&& change) {
        std::lock_guard lock(mutex_);
        change(request_);
    }
    int TakeSavedMovesToGo();

    // Pings sent with searches and resets, and the engine's pongs: a move before the pong of the
    // last ping was written before the engine read the search's commands.
    int NextPingNumber();
    void RecordPong(int number);
    bool AnsweredLastPing() const;
    // The engine's game is reset behind the last ping sent.
    void MarkResetAtLastPing();

    // The moves the host's "searchmoves" allows, where the engine was told them (empty: all); a
    // move outside them is answered by the first of them.
    void RestrictTo(std::vector<MoveRecord> moves);
    MoveRecord WithinSearchMoves(const MoveRecord& played) const;
    // The engine was told to exclude moves, which the next search must lift first.
    bool TakeExclusionsSent();

    // The engine was last left in force mode: a move sent to it will not start its search.
    bool EngineInForceMode() const;
    void SetEngineForceMode(bool on);
    // The adapter told the engine to move while ending its game.
    void SetMoveNowPending(bool pending);
    bool EngineResigned() const;
    void NoteEngineResigned();
    // The result the engine announced after its move, which no search has shown yet: the next
    // search, which the adapter answers, shows it.
    Guarded<std::string> gameEndNotice;
    // The engine plays a game again.
    void EngineGameResumed();
    SharedCountdown ownClock;
    SharedCountdown opponentClock;
    Guarded<PvMemory> pv;

private:
    std::atomic<EngineMode> engineMode_{EngineMode::Idle};
    std::atomic<TickerState> ticker_{TickerState::Idle};
    // Under mutex_.
    Request request_;
    int pingSent_ = 0;
    int pongReceived_ = 0;
    int resetPing_ = 0;  // the ping sent just before the engine's game was last reset
    bool engineForceMode_ = false;
    bool engineResigned_ = false;
    bool moveNowPending_ = false;
    std::vector<MoveRecord> searchMoves_;
    bool exclusionsSent_ = false;
    std::atomic<bool> searchPending_{false};
    std::atomic<unsigned> searchNumber_{0};
    // Orders a search's info lines against the claim of its bestmove.
    std::mutex outputLock_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int modeWaiters_ = 0;  // under mutex_: a change of mode wakes no one when no one waits
};

}  // namespace pontax
