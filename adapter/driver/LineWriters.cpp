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

void SendToEngine(EngineDialogue& d, std::string_view line) {
    if (line.empty()) return;
    // The option announces 0 to 1000; a larger stored value must not stall every command.
    if (int delay = std::min(d.settings.Delay.load(), kMaxDelayMs); delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    std::lock_guard lock(d.engineWriteLock);
    WriteLog(line, log_tag::kToEngine);
    // Lines that end themselves go out as they are, uncopied.
    if (line.back() == '\n')
        d.Link().Write(line);
    else
        d.Link().Write(WithLineEnd(line));
}

void SendCommandsToEngine(EngineDialogue& d, std::string_view commands) {
    if (d.settings.Delay <= 0) return SendToEngine(d, commands);
    while (!commands.empty()) {
        size_t end = std::min(commands.find('\n'), commands.size());
        SendToEngine(d, commands.substr(0, end));
        commands.remove_prefix(std::min(end + 1, commands.size()));
    }
}

void SendToGui(EngineDialogue& d, std::string_view line) { d.gui.Send(line); }

void GuiOutput::Write(std::string bytes) {
    {
        std::lock_guard owedLock(owedMutex_);
        bytes.insert(0, std::exchange(owed_, {}));
    }
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
    // A search's opening line is owed when the host has the last search's move, which the engine
    // reader may still be inside writing: owing waits for that write only if a line is owed still.
    std::unique_lock owedLock(owedMutex_);
    if (!owed_.empty()) {
        owedLock.unlock();
        std::lock_guard lock(mutex_);
        Write({});
        owedLock.lock();
    }
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
