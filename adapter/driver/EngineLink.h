#pragma once

#include <chrono>
#include <string_view>

#include "ChildProcess.h"
#include "NativeHandle.h"

namespace pontax {

// The engine as the dialogue reaches it: a program started as a child process, or for tests a
// recording or an engine on a thread.
class EngineLink {
public:
    virtual ~EngineLink() = default;
    // Starts the engine; false when it cannot be started.
    virtual bool Start(std::string_view commandLine) = 0;
    // The read end of the engine's output, handed over once after a start.
    virtual NativeHandle TakeOutput() = 0;
    // Ends the engine: waits up to `wait` for it to end by itself first, or leaves it to end.
    virtual void Stop(bool waitFirst, std::chrono::milliseconds wait = ChildProcess::kStopWait) = 0;
    // An engine runs to take commands.
    virtual bool Exists() const = 0;
    // Writes whole lines; dropped when no engine runs.
    virtual void Write(std::string_view bytes) = 0;
    // The process behind the link, whose priorities follow the adapter's; none for a test's.
    virtual ChildProcess* Process() { return nullptr; }
};

// The engine's child process behind the link.
class ProcessEngineLink final : public EngineLink {
public:
    explicit ProcessEngineLink(ChildProcess& process) : process_(process) {}
    bool Start(std::string_view commandLine) override { return process_.Start(commandLine) != 0; }
    NativeHandle TakeOutput() override { return process_.TakeOutput(); }
    void Stop(bool waitFirst, std::chrono::milliseconds wait) override { process_.Stop(waitFirst, wait); }
    bool Exists() const override { return process_.Exists(); }
    void Write(std::string_view bytes) override { process_.WriteToInput(bytes); }
    ChildProcess* Process() override { return &process_; }

private:
    ChildProcess& process_;
};

}  // namespace pontax
