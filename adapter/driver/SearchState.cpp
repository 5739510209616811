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
    return goPending.exchange(false);
}

unsigned SearchState::BeginSearch() {
    std::lock_guard lock(outputLock_);
    goPending = true;
    return ++searchNumber_;
}

void SearchState::SendForSearch(GuiOutput& gui, unsigned number, const std::string& line) {
    std::lock_guard lock(outputLock_);
    if (goPending && number == searchNumber_) gui.Send(line);
}

bool SearchState::WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return engineMode_.load() != mode; });
}

}  // namespace pontax
