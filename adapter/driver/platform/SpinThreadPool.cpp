#include "SpinThreadPool.h"

#include <string>
#include <system_error>

namespace pontax {

std::string SpinThreadPool::SetCount(int n) {
    if (Count() > n) StopAll();
    if (n < 1) return {};
    stop_ = false;
    while (Count() < n) {
        try {
            threads_.emplace_back([this] {
                while (!stop_.load(std::memory_order_relaxed)) {
                }
            });
        } catch (const std::system_error& error) {
            // The machine allows no more: the threads that run stay, and the adapter goes on.
            return "only " + std::to_string(Count()) + " of " + std::to_string(n) +
                   " busy threads could be made (" + error.what() + ").";
        }
    }
    return {};
}

void SpinThreadPool::StopAll() {
    stop_ = true;
    for (auto& thread : threads_) thread.join();
    threads_.clear();
}

}  // namespace pontax
