#include "adapter/driver/SpinThreadPool.h"

namespace pontax {

void SpinThreadPool::SetCount(int n) {
    if (Count() > n) StopAll();
    if (n < 1) return;
    stop_ = false;
    while (Count() < n) {
        threads_.emplace_back([this] {
            while (!stop_.load(std::memory_order_relaxed)) {
            }
        });
    }
}

void SpinThreadPool::StopAll() {
    stop_ = true;
    for (auto& thread : threads_) thread.join();
    threads_.clear();
}

}  // namespace pontax
