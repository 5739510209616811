#include "adapter/driver/PipeReaderThread.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace pontax {

namespace {
constexpr std::chrono::milliseconds kPollInterval{50};
constexpr size_t kReadChunk = 4096;
constexpr std::chrono::milliseconds kStopWait{1000};
}  // namespace

bool PipeReaderThread::Start(int fd, bool ownsFd) {
    if (thread_.joinable() && ended_) thread_.join();
    if (thread_.joinable()) return true;
    fd_ = fd;
    ownsFd_ = ownsFd;
    stopped_ = false;
    ended_ = false;
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        stopped_ = true;
        return false;
    }
    return true;
}

bool PipeReaderThread::Stop() {
    if (!thread_.joinable()) return true;
    stopped_ = true;
    auto deadline = std::chrono::steady_clock::now() + kStopWait;
    while (!ended_ && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds{2});
    if (ended_ && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
        return true;
    }
    thread_.detach();
    return ended_;
}

void PipeReaderThread::Run() {
    std::string line;
    char chunk[kReadChunk];
    bool reading = fd_ >= 0;
    while (reading && !stopped_) {
        pollfd request{fd_, POLLIN, 0};
        int ready = ::poll(&request, 1, static_cast<int>(kPollInterval.count()));
        if (ready == 0 || (ready < 0 && errno == EINTR)) continue;
        if (ready < 0) break;
        ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        for (ssize_t i = 0; i < n && reading; ++i) {
            char c = chunk[i];
            if (c == '\n') {
                reading = !callback_ || callback_(line);
                line.clear();
            } else if (c != '\r') {
                line += c;
            }
        }
    }
    if (ownsFd_ && fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ended_ = true;
    if (onEnd_) onEnd_();
}

}  // namespace pontax
