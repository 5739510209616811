#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace pontax {

// Calls a callback once per interval on a thread of its own until stopped.
class PeriodicThread {
public:
    PeriodicThread() = default;
    PeriodicThread(const PeriodicThread&) = delete;
    PeriodicThread& operator=(const PeriodicThread&) = delete;
    ~PeriodicThread() { Stop(); }

    void SetCallback(std::function<void()> callback);
    bool Start(std::chrono::milliseconds interval);
    // Ends the thread at once, also in the middle of an interval.
    void Stop();
    bool IsRunning() const { return thread_.joinable(); }

private:
    void Run(std::chrono::milliseconds interval);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool running_ = false;
    std::function<void()> callback_;
    std::thread thread_;
};

}  // namespace pontax
