#include "Log.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "Clock.h"
#include "TextFile.h"

namespace pontax {

namespace {

// Entries held before the log's fate is known; a host that never says is not to make them grow
// without end (a "position" line can be many kilobytes).
constexpr size_t kMaxHeldBytes = 1 << 20;

struct LogState {
    std::mutex lock;  // guards file, buffer and the flags' changes
    TextFile file;
    std::vector<std::string> buffer;
    size_t heldBytes = 0;
    size_t droppedEntries = 0;
    std::atomic<bool> buffering{false};
    std::atomic<bool> fileOpen{false};
    std::atomic<uint32_t> startTick{0};
};

LogState& State() {
    static LogState state;
    return state;
}

// "<seconds>.<ms>: ", the time since start-up every entry begins with.
std::string TimePrefix(const LogState& state) {
    uint32_t t = NowTicks() - state.startTick.load();
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%u.%03u: ", t / 1000, t % 1000);
    return prefix;
}

void Hold(LogState& state, std::string entry) {
    if (state.heldBytes + entry.size() > kMaxHeldBytes) {
        ++state.droppedEntries;
        return;
    }
    state.heldBytes += entry.size();
    state.buffer.push_back(std::move(entry));
}

void ReleaseHeld(LogState& state) {
    state.buffer.clear();
    state.heldBytes = 0;
    state.droppedEntries = 0;
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
    const std::string prefix = TimePrefix(state);
    // A command of several lines (an edit sequence) is logged line by line, each with its time.
    do {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string entry = prefix;
        entry.append(tag).append(" ").append(line);
        if (state.buffering)
            Hold(state, std::move(entry));
        else if (state.fileOpen)
            state.file.WriteText(entry);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    } while (!text.empty());
}

void OpenLogFile() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    if (state.fileOpen) return;
    state.buffering = false;
    if (state.file.Open(kLogFileName, TextFile::Mode::AppendOrCreate)) {
        state.fileOpen = true;
        // The file is appended to: each start is marked, with the date, where its lines begin.
        char stamp[32] = "";
        const std::time_t now = std::time(nullptr);
        if (const std::tm* local = std::localtime(&now))
            std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
        state.file.WriteText(std::string("=== pontax started ") + stamp + " ===");
        for (const auto& entry : state.buffer) state.file.WriteText(entry);
        if (state.droppedEntries > 0)
            state.file.WriteText(TimePrefix(state) + std::string(log_tag::kRemark) +
                                 std::to_string(state.droppedEntries) +
                                 " later entries from before the log opened were not kept.");
    }
    ReleaseHeld(state);
}

void CloseLogFile() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.file.Close();
    state.fileOpen = false;
    ReleaseHeld(state);
    state.buffering = false;
}

bool IsLogFileOpen() { return State().fileOpen; }

void DiscardLogBuffer() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.buffering = false;
    ReleaseHeld(state);
}

}  // namespace pontax
