#include <windows.h>

#include <vector>

#include "ChildProcess.h"
#include "Clock.h"
#include "CommandLine.h"

namespace pontax {

namespace {

void CloseIfOpen(HANDLE& handle) {
    if (handle) ::CloseHandle(handle);
    handle = nullptr;
}

// Every engine runs in this job, whose last handle closes when the adapter ends, however it ends:
// the system then kills what is left in it.
HANDLE KillOnCloseJob() {
    static HANDLE job = [] {
        HANDLE created = ::CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created &&
            !::SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            CloseIfOpen(created);
        return created;
    }();
    return job;
}

// An inheritable pipe of which only the child's end stays inheritable.
bool CreateChildPipe(HANDLE& read, HANDLE& write, bool childReads) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    if (!::CreatePipe(&read, &write, &inheritable, 0)) return false;
    ::SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

// Children told to end by themselves: ended at shutdown if they have not.
std::mutex detachedMutex;
std::vector<HANDLE> detachedChildren;

void CloseEndedDetachedChildren() {
    std::lock_guard lock(detachedMutex);
    std::erase_if(detachedChildren, [](HANDLE process) {
        if (::WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return false;
        ::CloseHandle(process);
        return true;
    });
}

bool WaitForExit(HANDLE process, std::chrono::milliseconds limit) {
    return ::WaitForSingleObject(process, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

}  // namespace

ProcessId ChildProcess::Start(std::string_view commandLine) {
    CloseEndedDetachedChildren();
    if (Exists() || commandLine.empty()) return 0;
    // Only this thread's starts may inherit the child's pipe ends; one start at a time.
    static std::mutex startMutex;
    std::lock_guard startLock(startMutex);
    HANDLE childInput, toChild, fromChild, childOutput;
    if (!CreateChildPipe(childInput, toChild, true)) return 0;
    if (!CreateChildPipe(fromChild, childOutput, false)) {
        ::CloseHandle(childInput);
        ::CloseHandle(toChild);
        return 0;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
    PROCESS_INFORMATION created{};
    std::string mutableLine(commandLine);  // CreateProcessA may write into its command line
    auto directory = FindProgramDirectory(commandLine);
    DWORD flags = static_cast<DWORD>(priorityClass_.load()) | DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP |
                  CREATE_SUSPENDED;
    bool started = ::CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                    directory ? directory->c_str() : nullptr, &startup, &created);
    ::CloseHandle(childInput);
    ::CloseHandle(childOutput);
    if (!started) {
        ::CloseHandle(toChild);
        ::CloseHandle(fromChild);
        return 0;
    }
    // Without a job (an older system that forbids nesting one) the engine still runs; only a
    // crashed adapter could then leave it behind.
    if (HANDLE job = KillOnCloseJob()) ::AssignProcessToJobObject(job, created.hProcess);
    ::SetThreadPriority(created.hThread, threadPriority_.load());
    ::ResumeThread(created.hThread);
    {
        std::lock_guard lock(handlesMutex_);
        process_ = created.hProcess;
        thread_ = created.hThread;
    }
    {
        std::lock_guard lock(inputMutex_);
        input_ = toChild;
    }
    output_ = fromChild;
    pid_ = created.dwProcessId;
    return created.dwProcessId;
}

void ChildProcess::Stop(bool waitFirst, std::chrono::milliseconds wait) {
    pid_ = 0;
    HANDLE process, thread;
    {
        std::lock_guard lock(handlesMutex_);
        process = process_;
        thread = thread_;
        process_ = thread_ = nullptr;
    }
    if (process) {
        if (waitFirst && !WaitForExit(process, wait)) {
            ::TerminateProcess(process, 0);
            ::WaitForSingleObject(process, INFINITE);
        }
        if (waitFirst) {
            ::CloseHandle(process);
        } else {
            std::lock_guard lock(detachedMutex);
            detachedChildren.push_back(process);
        }
    }
    CloseIfOpen(thread);
    {
        std::lock_guard lock(inputMutex_);
        CloseIfOpen(input_);
    }
    HANDLE output = output_.exchange(kNoHandle);
    CloseIfOpen(output);
}

bool ChildProcess::WriteToInput(std::string_view bytes) {
    std::lock_guard lock(inputMutex_);
    while (!bytes.empty() && input_) {
        DWORD written = 0;
        if (!::WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return bytes.empty();
}

NativeHandle ChildProcess::TakeOutput() { return output_.exchange(kNoHandle); }

void ChildProcess::SetPriorityClass(int priorityClass) {
    priorityClass_ = priorityClass;
    std::lock_guard lock(handlesMutex_);
    if (process_) ::SetPriorityClass(process_, static_cast<DWORD>(priorityClass));
}

void ChildProcess::SetThreadPriority(int threadPriority) {
    threadPriority_ = threadPriority;
    std::lock_guard lock(handlesMutex_);
    if (thread_) ::SetThreadPriority(thread_, threadPriority);
}

void LeaveDetachedChildren(std::chrono::milliseconds grace) { ReapDetachedChildren(grace); }

void ReapDetachedChildren(std::chrono::milliseconds grace) {
    std::vector<HANDLE> children;
    {
        std::lock_guard lock(detachedMutex);
        children.swap(detachedChildren);
    }
    auto deadline = std::chrono::steady_clock::now() + grace;
    for (HANDLE process : children) {
        if (!WaitForExit(process, TimeLeftUntil(deadline))) ::TerminateProcess(process, 0);
        ::CloseHandle(process);
    }
}

}  // namespace pontax
