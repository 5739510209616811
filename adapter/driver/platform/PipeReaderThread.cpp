#include "PipeReaderThread.h"

#include <chrono>
#include <cstring>
#include <vector>

namespace pontax {

namespace {
constexpr size_t kPipeChunk = 65536;
constexpr std::chrono::milliseconds kStopWait{1000};

void AppendWithoutCarriageReturns(std::string& line, const char* begin, const char* end) {
    for (const char* at = begin; at < end;) {
        const char* cr = static_cast<const char*>(std::memchr(at, '\r', static_cast<size_t>(end - at)));
        line.append(at, cr ? cr : end);
        at = cr ? cr + 1 : end;
    }
}
}  // namespace

bool PipeReaderThread::Start(NativeHandle handle, bool ownsHandle) {
    if (thread_.joinable() && ended_) thread_.join();
    if (thread_.joinable()) return true;
    handle_ = handle;
    ownsHandle_ = ownsHandle;
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
    while (!ended_ && std::chrono::steady_clock::now() < deadline) {
        InterruptRead();
        std::this_thread::sleep_for(std::chrono::milliseconds{2});
    }
    if (ended_ && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
        return true;
    }
    thread_.detach();
    return ended_;
}

void PipeReaderThread::Run() {
    std::string line;
    std::vector<char> buffer(kPipeChunk);
    char* chunk = buffer.data();
    bool reading = handle_ != kNoHandle;
    while (reading && !stopped_) {
        size_t n = ReadSome(chunk, buffer.size());
        if (n == 0) break;
        // Whole runs up to each line end: a host's "position" line can be many kilobytes.
        for (const char* at = chunk; reading && at < chunk + n;) {
            const char* end =
                static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(chunk + n - at)));
            if (!end) {
                AppendWithoutCarriageReturns(line, at, chunk + n);
                break;
            }
            auto length = static_cast<size_t>(end - at);
            // A line that lies whole in the chunk, without carriage returns, is handed over there.
            if (line.empty() && !std::memchr(at, '\r', length)) {
                reading = !callback_ || callback_(std::string_view(at, length));
            } else {
                AppendWithoutCarriageReturns(line, at, end);
                reading = !callback_ || callback_(line);
                line.clear();
            }
            at = end + 1;
        }
    }
    EndReading();
    handle_ = kNoHandle;
    ended_ = true;
    if (onEnd_) onEnd_();
}

}  // namespace pontax
