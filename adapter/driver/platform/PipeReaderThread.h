#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "NativeHandle.h"

namespace pontax {

// Reads a pipe on a thread of its own and hands every complete line (without "\r" and "\n")
// to a callback; a false answer ends the thread. The thread also ends at end of input.
class PipeReaderThread {
public:
    using LineCallback = std::function<bool(std::string_view line)>;

    PipeReaderThread() = default;
    PipeReaderThread(const PipeReaderThread&) = delete;
    PipeReaderThread& operator=(const PipeReaderThread&) = delete;
    ~PipeReaderThread() { Stop(); }

    void SetCallback(LineCallback callback) { callback_ = std::move(callback); }
    // Called on the reader's thread when it ends, whatever the reason.
    void SetOnEnd(std::function<void()> onEnd) { onEnd_ = std::move(onEnd); }
    // Starts reading the pipe; with ownsHandle the reader closes it when it has stopped. True also
    // when a reader runs already.
    bool Start(NativeHandle handle, bool ownsHandle);
    // Asks the thread to end and waits up to a second for it. A thread whose callback is still busy
    // then is left running on its own and false is returned; the caller must not return from main.
    bool Stop();
    bool IsRunning() const { return thread_.joinable(); }
    bool HasEnded() const { return ended_.load(); }

private:
    void Run();
    // Reads what the pipe holds, waiting for at least one byte; 0 at its end or when stopped.
    size_t ReadSome(char* buffer, size_t size);
    // Makes a read that waits return, so that Stop need not wait for the next byte.
    void InterruptRead();
    // Releases what reading held, the pipe too when the reader owns it.
    void EndReading();

    LineCallback callback_;
    std::function<void()> onEnd_;
    NativeHandle handle_ = kNoHandle;
    bool ownsHandle_ = false;
    std::atomic<bool> stopped_{true};
    std::atomic<bool> ended_{false};
    std::thread thread_;
#ifdef _WIN32
    std::mutex threadHandleMutex_;  // guards threadHandle_ against a close during a cancel
    void* threadHandle_ = nullptr;  // of the reading thread, which Stop cancels the read of
#endif
};

}  // namespace pontax
