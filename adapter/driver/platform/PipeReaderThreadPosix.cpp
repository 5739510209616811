#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "PipeReaderThread.h"

namespace pontax {

namespace {
// How often a reader with nothing to read looks at its stop flag.
constexpr int kPollIntervalMs = 50;
}  // namespace

size_t PipeReaderThread::ReadSome(char* buffer, size_t size) {
    while (!stopped_) {
        pollfd request{handle_, POLLIN, 0};
        int ready = ::poll(&request, 1, kPollIntervalMs);
        if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
        if (ready < 0) return 0;
        ssize_t n = ::read(handle_, buffer, size);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return n > 0 ? static_cast<size_t>(n) : 0;
    }
    return 0;
}

// The poll notices the stop flag by itself.
void PipeReaderThread::InterruptRead() {}

void PipeReaderThread::EndReading() {
    if (ownsHandle_ && handle_ >= 0) ::close(handle_);
}

}  // namespace pontax
