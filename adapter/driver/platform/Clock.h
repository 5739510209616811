#pragma once

#include <chrono>
#include <cstdint>

namespace pontax {

// What is left of the time until `deadline`, never less than nothing.
std::chrono::milliseconds TimeLeftUntil(std::chrono::steady_clock::time_point deadline);

// Milliseconds of a monotonic clock, wrapping in unsigned 32-bit arithmetic.
uint32_t NowTicks();

// A stopwatch over NowTicks; differences are taken modulo 2^32, so a wrap is harmless.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    void Start();
    int32_t Stop();
    virtual int32_t Elapsed() const;
    void Resume();
    virtual void Reset();
    virtual void Set(int32_t ms);
    bool IsRunning() const { return running_; }

protected:
    int32_t BaseElapsed() const;

private:
    uint32_t startTick_ = 0;
    int32_t elapsedMs_ = 0;
    bool running_ = false;
};

// A clock that counts down from a limit; Elapsed() is the time remaining.
class CountdownTimer : public TickTimer {
public:
    int32_t Elapsed() const override;
    void Reset() override;
    void Set(int32_t ms) override;

private:
    uint32_t limitMs_ = 0;
};

}  // namespace pontax
