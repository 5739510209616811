#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace pontax {

// Threads that only burn processor time, so that an engine gets a share of the machine.
class SpinThreadPool {
public:
    SpinThreadPool() = default;
    SpinThreadPool(const SpinThreadPool&) = delete;
    SpinThreadPool& operator=(const SpinThreadPool&) = delete;
    ~SpinThreadPool() { StopAll(); }

    // Stops all threads when more than n run, then starts the missing ones up to n. Says why when
    // the machine allowed fewer; empty when all run.
    std::string SetCount(int n);
    void StopAll();
    int Count() const { return static_cast<int>(threads_.size()); }

private:
    std::atomic<bool> stop_{true};
    std::vector<std::thread> threads_;
};

}  // namespace pontax
