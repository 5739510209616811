#include "PeriodicThread.h"

namespace pontax {

void PeriodicThread::SetCallback(std::function<void()> callback) {
    std::lock_guard lock(mutex_);
    callback_ = std::move(callback);
}

bool PeriodicThread::Start(std::chrono::milliseconds interval) {
    if (thread_.joinable()) return true;
    {
        std::lock_guard lock(mutex_);
        running_ = true;
    }
    try {
        thread_ = std::thread([this, interval] { Run(interval); });
    } catch (const std::system_error&) {
        std::lock_guard lock(mutex_);
        running_ = false;
        return false;
    }
    return true;
}

void PeriodicThread::Stop() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        running_ = false;
    }
    wake_.notify_all();
    thread_.join();
}

void PeriodicThread::Run(std::chrono::milliseconds interval) {
    std::unique_lock lock(mutex_);
    while (running_) {
        if (wake_.wait_for(lock, interval, [this] { return !running_; })) break;
        auto callback = callback_;
        lock.unlock();
        if (callback) callback();
        lock.lock();
    }
}

}  // namespace pontax
