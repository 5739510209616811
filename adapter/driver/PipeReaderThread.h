#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace pontax {

// Reads a descriptor on a thread of its own and hands every complete line (without "\r" and "\n")
// to a callback; a false answer ends the thread. The thread also ends at end of input.
class PipeReaderThread {
public:
    using LineCallback = std::function<bool(const std::string& line)>;

    PipeReaderThread() = default;
    PipeReaderThread(const PipeReaderThread&) = delete;
    PipeReaderThread& operator=(const PipeReaderThread&) = delete;
    ~PipeReaderThread() { Stop(); }

    void SetCallback(LineCallback callback) { callback_ = std::move(callback); }
    // Called on the reader's thread when it ends, whatever the reason.
    void SetOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    // Starts reading fd; with ownsFd the reader closes it when it has stopped. True also when a
    // reader runs already.
    bool Start(int fd, bool ownsFd);
    // Asks the thread to end and waits up to a second for it. A thread whose callback is still busy
    // then is left running on its own and false is returned; the caller must not return from main.
    bool Stop();
    bool IsRunning() const { return thread_.joinable(); }
    bool HasEnded() const { return ended_.load(); }

private:
    void Run();

    LineCallback callback_;
    std::function<void()> onEnd_;
    int fd_ = -1;
    bool ownsFd_ = false;
    std::atomic<bool> stopped_{true};
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

}  // namespace pontax
