#include "SearchState.h"

#include <utility>

#include "EngineDialogue.h"
#include "LineWriters.h"

namespace pontax {

void SearchState::SetMode(EngineMode mode) {
    bool waited;
    {
        std::lock_guard lock(mutex_);
        engineMode_ = mode;
        waited = modeWaiters_ > 0;
    }
    if (waited) changed_.notify_all();
}

bool SearchState::ChangeMode(EngineMode from, EngineMode to) {
    bool changed, waited;
    {
        std::lock_guard lock(mutex_);
        changed = engineMode_.compare_exchange_strong(from, to);
        waited = modeWaiters_ > 0;
    }
    if (changed && waited) changed_.notify_all();
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
    bool resigned, interrupted;
    {
        std::lock_guard lock(mutex_);
        if (!caughtUp)
            return pongReceived_ < resetPing_ ? MoveVerdict::WrittenBeforeReset
                                              : MoveVerdict::WrittenBeforeSearch;
        // Decided while the mode still says searching: a new search cannot start before it changes.
        resigned = engineResigned_;
        interrupted = moveNowPending_;
    }
    bool claimed = !resigned && !interrupted && ClaimBestMove();
    SetMode(EngineMode::Idle);
    ticker_ = TickerState::Idle;
    if (resigned) return MoveVerdict::EngineResigned;
    if (interrupted) return MoveVerdict::Interrupted;
    return claimed ? MoveVerdict::Accepted : MoveVerdict::AlreadyAnswered;
}

bool SearchState::SendForSearch(GuiOutput& gui, unsigned number, const std::string& line) {
    std::lock_guard lock(outputLock_);
    if (!searchPending_ || number != searchNumber_) return false;
    gui.Send(line);
    return true;
}

void SearchState::StartReportingIfArmed() {
    TickerState armed = TickerState::Armed;
    ticker_.compare_exchange_strong(armed, TickerState::Reporting);
}

SearchState::Request SearchState::LastRequest() const {
    std::lock_guard lock(mutex_);
    return request_;
}

int SearchState::TakeSavedMovesToGo() {
    std::lock_guard lock(mutex_);
    return std::exchange(request_.savedMovesToGo, -1);
}

int SearchState::NextPingNumber() {
    std::lock_guard lock(mutex_);
    return ++pingSent_;
}

void SearchState::RecordPong(int number) {
    std::lock_guard lock(mutex_);
    pongReceived_ = number;
}

bool SearchState::AnsweredLastPing() const {
    std::lock_guard lock(mutex_);
    return pongReceived_ == pingSent_;
}

void SearchState::MarkResetAtLastPing() {
    std::lock_guard lock(mutex_);
    resetPing_ = pingSent_;
}

void SearchState::RestrictTo(std::vector<MoveRecord> moves) {
    std::lock_guard lock(mutex_);
    exclusionsSent_ = exclusionsSent_ || !moves.empty();
    searchMoves_ = std::move(moves);
}

MoveRecord SearchState::WithinSearchMoves(const MoveRecord& played) const {
    std::lock_guard lock(mutex_);
    if (searchMoves_.empty() || played.IsEmpty()) return played;
    for (const MoveRecord& allowed : searchMoves_)
        if (allowed.SameMove(played)) return played;
    return searchMoves_.front();
}

bool SearchState::TakeExclusionsSent() {
    std::lock_guard lock(mutex_);
    return std::exchange(exclusionsSent_, false);
}

bool SearchState::EngineInForceMode() const {
    std::lock_guard lock(mutex_);
    return engineForceMode_;
}

void SearchState::SetEngineForceMode(bool on) {
    std::lock_guard lock(mutex_);
    engineForceMode_ = on;
}

void SearchState::SetMoveNowPending(bool pending) {
    std::lock_guard lock(mutex_);
    moveNowPending_ = pending;
}

bool SearchState::EngineResigned() const {
    std::lock_guard lock(mutex_);
    return engineResigned_;
}

void SearchState::NoteEngineResigned() {
    std::lock_guard lock(mutex_);
    engineResigned_ = true;
}

void SearchState::EngineGameResumed() {
    {
        std::lock_guard lock(mutex_);
        engineResigned_ = false;
    }
    gameEndNotice.With([](std::string& notice) { notice.clear(); });
}

bool SearchState::WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    ++modeWaiters_;
    bool changed = changed_.wait_for(lock, limit, [&] { return engineMode_.load() != mode; });
    --modeWaiters_;
    return changed;
}

}  // namespace pontax
