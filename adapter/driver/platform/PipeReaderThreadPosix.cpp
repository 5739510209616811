#include <poll.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <mutex>

#include "PipeReaderThread.h"

namespace pontax {

namespace {
// Interrupts a reader's blocking read. Ignored by default, so a stray one harms no one.
constexpr int kInterruptSignal = SIGURG;
// How often a reader of a non-blocking descriptor looks at its stop flag.
constexpr int kNonBlockingWaitMs = 50;

void IgnoreInterrupt(int) {}

// Without SA_RESTART, so that the read returns and the reader sees its stop flag.
void InstallInterruptHandler() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_handler = IgnoreInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(kInterruptSignal, &action, nullptr);
    });
}
}  // namespace

// A plain blocking read: one system call per wake-up keeps the adapter's added latency low.
size_t PipeReaderThread::ReadSome(char* buffer, size_t size) {
    InstallInterruptHandler();
    while (!stopped_) {
        ssize_t n = ::read(handle_, buffer, size);
        if (n < 0 && errno == EINTR) continue;
        // A descriptor its owner made non-blocking is waited on instead.
        if (n < 0 && errno == EAGAIN) {
            pollfd request{handle_, POLLIN, 0};
            ::poll(&request, 1, kNonBlockingWaitMs);
            continue;
        }
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    return 0;
}

// Stop calls this until the thread has ended, so a signal that comes just before the read is
// followed by another.
void PipeReaderThread::InterruptRead() {
    InstallInterruptHandler();
    if (thread_.joinable() && !ended_) ::pthread_kill(thread_.native_handle(), kInterruptSignal);
}

void PipeReaderThread::EndReading() {
    if (ownsHandle_ && handle_ >= 0) ::close(handle_);
}

}  // namespace pontax
