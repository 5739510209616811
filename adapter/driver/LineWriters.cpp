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

void GuiOutput::Write(std::string_view lines) {
    out_.clear();
    {
        std::lock_guard owedLock(owedMutex_);
        out_.append(owed_);
        owed_.clear();
    }
    out_.append(lines);
    if (out_.empty()) return;
    if (sink_)
        sink_(out_);
    else
        WriteStandardOutput(out_);
}

void GuiOutput::Send(std::string_view rawLine) {
    if (rawLine.empty()) return;
    std::lock_guard lock(mutex_);
    // Engine text travels inside some lines; what the GUI gets is always printable.
    line_.clear();
    AppendPrintableText(line_, rawLine);
    WriteLog(line_, log_tag::kToGui);
    if (line_.back() != '\n') line_ += '\n';
    Write(line_);
}

void GuiOutput::Owe(std::string_view line) {
    if (line.empty()) return;
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
    owed_.assign(line);
    if (owed_.back() != '\n') owed_ += '\n';
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
