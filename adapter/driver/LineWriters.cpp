#include "adapter/driver/LineWriters.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "adapter/config/Log.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/StandardStreams.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

constexpr int kMaxDelayMs = 1000;

std::mutex engineWriteLock;
std::mutex guiWriteLock;
GuiSink guiSink;        // guarded by guiWriteLock
std::string owedGuiLine;  // guarded by guiWriteLock

std::string WithLineEnd(std::string_view line) {
    std::string bytes(line);
    if (bytes.back() != '\n') bytes += '\n';
    return bytes;
}

}  // namespace

ChildProcess& EngineProcess() {
    static ChildProcess process;
    return process;
}

void SendToEngine(std::string_view line) {
    if (line.empty()) return;
    // The option announces 0 to 1000; a larger stored value must not stall every command.
    if (int delay = std::min(Settings().Delay.load(), kMaxDelayMs); delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    std::lock_guard lock(engineWriteLock);
    WriteLog(line, log_tag::kToEngine);
    EngineProcess().WriteToInput(WithLineEnd(line));
}

void SendToEngine(const std::vector<std::string>& lines) {
    if (Settings().Delay > 0) {
        for (const auto& line : lines) SendToEngine(line);
        return;
    }
    std::string joined;
    for (const auto& line : lines)
        if (!line.empty()) joined.append(line).append(line.back() == '\n' ? "" : "\n");
    SendToEngine(joined);
}

namespace {

// Under guiWriteLock: the owed line, if any, then bytes, in one write.
void WriteToGui(std::string bytes) {
    bytes.insert(0, std::exchange(owedGuiLine, {}));
    if (bytes.empty()) return;
    if (guiSink)
        guiSink(bytes);
    else
        WriteStandardOutput(bytes);
}

}  // namespace

void SendToGui(std::string_view rawLine) {
    if (rawLine.empty()) return;
    // Engine text travels inside some lines; what the GUI gets is always printable.
    const std::string line = PrintableText(rawLine);
    std::lock_guard lock(guiWriteLock);
    WriteLog(line, log_tag::kToGui);
    WriteToGui(WithLineEnd(line));
}

void OweGuiLine(std::string_view line) {
    std::lock_guard lock(guiWriteLock);
    WriteToGui({});
    WriteLog(line, log_tag::kToGui);
    owedGuiLine = WithLineEnd(line);
}

void SendOwedGuiLine() {
    std::lock_guard lock(guiWriteLock);
    WriteToGui({});
}

void SetGuiSink(GuiSink sink) {
    std::lock_guard lock(guiWriteLock);
    guiSink = std::move(sink);
}

}  // namespace pontax
