#pragma once

#include <mutex>
#include <string_view>

#include "ChildProcess.h"

namespace pontax {

// Where the adapter's engine commands go: the engine's process, or a test's recording.
class EngineLink {
public:
    virtual ~EngineLink() = default;
    // An engine runs to take commands.
    virtual bool Exists() const = 0;
    // Writes whole lines; dropped when no engine runs.
    virtual void Write(std::string_view bytes) = 0;
};

// The engine's child process behind the link.
class ProcessEngineLink final : public EngineLink {
public:
    explicit ProcessEngineLink(ChildProcess& process) : process_(process) {}
    bool Exists() const override { return process_.Exists(); }
    void Write(std::string_view bytes) override { process_.WriteToInput(bytes); }

private:
    ChildProcess& process_;
};

}  // namespace pontax
