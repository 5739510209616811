#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "NativeHandle.h"

namespace pontax {

// The engine as a child process whose standard input and output are pipes. The child runs detached
// from the GUI's console or session (the GUI's signals do not reach it) and is killed by the
// system if this process dies, so an engine never outlives the adapter.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Stop(false); }

    // Starts the program the command line names; returns its process id, or 0 on failure.
    ProcessId Start(std::string_view commandLine);
    // Waits up to `wait` for the process to end when waitFirst is set and kills it after that;
    // then closes the pipes. Without waitFirst the process is left to end by itself, and
    // ReapDetachedChildren ends it if it has not. Blocks at most `wait`.
    void Stop(bool waitFirst, std::chrono::milliseconds wait = kStopWait);
    bool Exists() const { return pid_.load() != 0; }
    ProcessId Pid() const { return pid_.load(); }

    // Writes all bytes to the child's input; false when there is no child or the pipe broke.
    bool WriteToInput(std::string_view bytes);
    // Hands the read end of the child's output pipe to the caller, who closes it.
    NativeHandle TakeOutput();

    void SetPriorityClass(int priorityClass);
    void SetThreadPriority(int threadPriority);
    int PriorityClass() const { return priorityClass_.load(); }
    int ThreadPriority() const { return threadPriority_.load(); }

    static constexpr std::chrono::milliseconds kStopWait{5000};

private:
    std::atomic<ProcessId> pid_{0};
    std::atomic<NativeHandle> output_{kNoHandle};
    std::mutex inputMutex_;  // guards input_ against a close during a write
    NativeHandle input_ = kNoHandle;
    std::atomic<int> priorityClass_{32};
    std::atomic<int> threadPriority_{0};
#ifdef _WIN32
    std::mutex handlesMutex_;  // guards the two handles against a close while a priority is set
    void* process_ = nullptr;
    void* thread_ = nullptr;
#else
    std::atomic<int> watcher_{-1};  // see EngineWatcherPosix.h
#endif
};

// Waits up to grace for children left to end by themselves, kills the rest, and reaps them all.
void ReapDetachedChildren(std::chrono::milliseconds grace);
// At the adapter's exit: its own exit is not delayed where a watcher gives each child its grace
// (POSIX); elsewhere as ReapDetachedChildren.
void LeaveDetachedChildren(std::chrono::milliseconds grace);

}  // namespace pontax
