#include "Clock.h"

#include <algorithm>
#include <chrono>

namespace pontax {

std::chrono::milliseconds TimeLeftUntil(std::chrono::steady_clock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds{0});
}

uint32_t NowTicks() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void TickTimer::Start() {
    elapsedMs_ = 0;
    running_ = true;
    startTick_ = NowTicks();
}

int32_t TickTimer::Stop() {
    if (running_) {
        running_ = false;
        elapsedMs_ += static_cast<int32_t>(NowTicks() - startTick_);
    }
    return elapsedMs_;
}

int32_t TickTimer::BaseElapsed() const {
    return running_ ? elapsedMs_ + static_cast<int32_t>(NowTicks() - startTick_) : elapsedMs_;
}

int32_t TickTimer::Elapsed() const { return BaseElapsed(); }

void TickTimer::Resume() {
    startTick_ = NowTicks();
    running_ = true;
}

void TickTimer::Reset() {
    startTick_ = 0;
    elapsedMs_ = 0;
    running_ = false;
}

void TickTimer::Set(int32_t ms) {
    elapsedMs_ = ms < 0 ? 0 : ms;
    if (running_) startTick_ = NowTicks();
}

int32_t CountdownTimer::Elapsed() const {
    int64_t used = BaseElapsed();
    return static_cast<int64_t>(limitMs_) > used ? static_cast<int32_t>(limitMs_ - used) : 0;
}

void CountdownTimer::Reset() {
    TickTimer::Reset();
    limitMs_ = 0;
}

void CountdownTimer::Set(int32_t ms) {
    int32_t value = ms < 0 ? 0 : ms;
    if (IsRunning())
        Start();
    else
        Reset();
    limitMs_ = static_cast<uint32_t>(value);
}

}  // namespace pontax
