#include "LineWriters.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

#include "EngineDialogue.h"
#include "Log.h"
#include "StandardStreams.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr int kMaxDelayMs = 1000;

std::string WithLineEnd(std::string_view line) {
    std::string bytes(line);
    if (bytes.back() != '\n') bytes += '\n';
    return bytes;
}

}  // namespace

void SendToEngine(EngineDialogue& d, std::string_view text) {
    // The option announces 0 to 1000; a larger stored value must not stall every command.
    int delay = std::min(d.settings.Delay.load(), kMaxDelayMs);
    while (!text.empty()) {
        size_t end = delay > 0 ? std::min(text.find('\n'), text.size()) : text.size();
        std::string_view lines = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (lines.empty()) continue;
        if (delay > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        std::lock_guard lock(d.engineWriteLock);
        WriteLog(lines, log_tag::kToEngine);
        // A batch of commands that ends its last line goes out as it is, uncopied.
        if (lines.back() == '\n')
            d.Link().Write(lines);
        else
            d.Link().Write(WithLineEnd(lines));
    }
}

void SendToGui(EngineDialogue& d, std::string_view line) { d.gui.Send(line); }

void GuiOutput::Write(std::string bytes) {
    bytes.insert(0, std::exchange(owed_, {}));
    if (bytes.empty()) return;
    if (sink_)
        sink_(bytes);
    else
        WriteStandardOutput(bytes);
}

void GuiOutput::Send(std::string_view rawLine) {
    if (rawLine.empty()) return;
    // Engine text travels inside some lines; what the GUI gets is always printable.
    const std::string line = PrintableText(rawLine);
    std::lock_guard lock(mutex_);
    WriteLog(line, log_tag::kToGui);
    Write(WithLineEnd(line));
}

void GuiOutput::Owe(std::string_view line) {
    std::lock_guard lock(mutex_);
    Write({});
    WriteLog(line, log_tag::kToGui);
    owed_ = WithLineEnd(line);
}

void GuiOutput::SendOwed() {
    std::lock_guard lock(mutex_);
    Write({});
}

void GuiOutput::SetSink(GuiSink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

}  // namespace pontax
