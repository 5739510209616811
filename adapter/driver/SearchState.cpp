#include "adapter/driver/SearchState.h"

namespace pontax {

void SearchState::SetMode(EngineMode mode) {
    {
        std::lock_guard lock(mutex_);
        engineMode_ = mode;
    }
    changed_.notify_all();
}

bool SearchState::WaitWhileMode(EngineMode mode, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return engineMode_.load() != mode; });
}

SearchState& Search() {
    static SearchState state;
    return state;
}

}  // namespace pontax
