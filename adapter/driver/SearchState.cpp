#include "SearchState.h"

#include "EngineDialogue.h"
#include "LineWriters.h"

namespace pontax {

void SearchState::SetMode(EngineMode mode) {
    {
        std::lock_guard lock(mutex_);
        engineMode_ = mode;
    }
    changed_.notify_all();
}

bool SearchState::ChangeMode(EngineMode from, EngineMode to) {
    bool changed;
    {
        std::lock_guard lock(mutex_);
        changed = engineMode_.compare_exchange_strong(from, to);
    }
    if (changed) changed_.notify_all();
    return changed;
}

bool SearchState::ClaimBestMove() {
    std::lock_guard lock(outputLock_);
    return searchPending_.exchange(false);
}

unsigned SearchState::BeginSearch() {
    std::lock_guard lock(outputLock_);
    searchPending_ = true;
    return ++searchNumber_;
}

void SearchState::CancelSearch() {
    std::lock_guard lock(outputLock_);
    searchPending_ = false;
}

SearchState::MoveVerdict SearchState::JudgeEngineMove(bool caughtUp) {
    // A search is marked before anything that starts it goes out, so a move that finds none
    // answers nothing the host asked; the next search must not take it.
    if (Mode() != EngineMode::Searching) return MoveVerdict::NotSearching;
    if (!caughtUp)
        return pongReceived < resetPing ? MoveVerdict::WrittenBeforeReset : MoveVerdict::WrittenBeforeSearch;
    // Decided while the mode still says searching: a new search cannot start before it changes.
    bool resigned = engineResigned;
    bool interrupted = moveNowPending;
    bool claimed = !resigned && !interrupted && ClaimBestMove();
    SetMode(EngineMode::Idle);
    tickerState = TickerState::Idle;
    if (resigned) return MoveVerdict::EngineResigned;
    if (interrupted) return MoveVerdict::Interrupted;
    return claimed ? MoveVerdict::Accepted : MoveVerdict::AlreadyAnswered;
}

void SearchState::SendForSearch(GuiOutput& gui, unsigned number, const std::string& line) {
    std::lock_guard lock(outputLock_);
    if (searchPending_ && number == searchNumber_) gui.Send(line);
}

bool SearchState::WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return engineMode_.load() != mode; });
}

}  // namespace pontax
