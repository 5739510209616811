#include "adapter/driver/LineWriters.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "adapter/config/Log.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/StandardStreams.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

constexpr int kMaxDelayMs = 1000;

std::mutex engineWriteLock;
std::mutex guiWriteLock;
GuiSink guiSink;  // guarded by guiWriteLock

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

void SendToGui(std::string_view rawLine) {
    if (rawLine.empty()) return;
    // Engine text travels inside some lines; what the GUI gets is always printable.
    const std::string line = PrintableText(rawLine);
    std::lock_guard lock(guiWriteLock);
    WriteLog(line, log_tag::kToGui);
    std::string bytes = WithLineEnd(line);
    if (guiSink)
        guiSink(bytes);
    else
        WriteStandardOutput(bytes);
}

void SetGuiSink(GuiSink sink) {
    std::lock_guard lock(guiWriteLock);
    guiSink = std::move(sink);
}

}  // namespace pontax
