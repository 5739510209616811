#include "adapter/config/Log.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "adapter/driver/Clock.h"
#include "adapter/driver/TextFile.h"

namespace pontax {

namespace {

struct LogState {
    std::mutex lock;  // guards file, buffer and the flags' changes
    TextFile file;
    std::vector<std::string> buffer;
    std::atomic<bool> buffering{false};
    std::atomic<bool> fileOpen{false};
    std::atomic<uint32_t> startTick{0};
};

LogState& State() {
    static LogState state;
    return state;
}

}  // namespace

void BeginLogBuffering() {
    auto& state = State();
    state.startTick = NowTicks();
    state.buffering = true;
}

void WriteLog(std::string_view text, std::string_view tag) {
    auto& state = State();
    if (!state.buffering && !state.fileOpen) return;
    std::lock_guard guard(state.lock);
    uint32_t t = NowTicks() - state.startTick.load();
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%u.%03u: ", t / 1000, t % 1000);
    std::string entry = prefix;
    entry.append(tag).append(" ").append(text);
    if (state.buffering)
        state.buffer.push_back(std::move(entry));
    else if (state.fileOpen)
        state.file.WriteText(entry);
}

void OpenLogFile() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    if (state.fileOpen) return;
    state.buffering = false;
    if (state.file.Open(kLogFileName, TextFile::Mode::AppendOrCreate)) {
        state.fileOpen = true;
        for (const auto& entry : state.buffer) state.file.WriteText(entry);
    }
    state.buffer.clear();
}

void CloseLogFile() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.file.Close();
    state.fileOpen = false;
    state.buffer.clear();
    state.buffering = false;
}

bool IsLogFileOpen() { return State().fileOpen; }

void DiscardLogBuffer() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.buffering = false;
    state.buffer.clear();
}

}  // namespace pontax
