#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "Clock.h"
#include "CommandLine.h"
#include "EngineWatcherPosix.h"
#include "Priority.h"

namespace pontax {

namespace {

constexpr std::chrono::milliseconds kReapPoll{5};

void CloseFd(NativeHandle& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Everything the forked child needs, prepared before the fork so the child only makes system calls.
struct SpawnRequest {
    std::string executable;
    std::vector<std::string> arguments;
    std::optional<std::string> directory;
    int nice = 0;
    int stdinRead = -1;
    int stdoutWrite = -1;
};

// What a spawn gives: the engine's process id (0 on failure) and its watcher's descriptor.
struct Spawned {
    pid_t pid = 0;
    int watcher = -1;
};

[[noreturn]] void RunChild(const SpawnRequest& request, char* const* argv, int errorPipe) {
    ::setsid();
    ::signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::dup2(request.stdinRead, 0);
    ::dup2(request.stdoutWrite, 1);
    ::dup2(request.stdoutWrite, 2);
    if (request.directory && ::chdir(request.directory->c_str()) != 0) {
        // The engine then runs in the adapter's directory, as it would without a known path.
    }
    ::setpriority(PRIO_PROCESS, 0, request.nice);
    ::execv(request.executable.c_str(), argv);
    int error = errno;
    ssize_t ignored = ::write(errorPipe, &error, sizeof error);
    (void)ignored;
    ::_exit(127);
}

Spawned ForkAndExec(const SpawnRequest& request) {
    std::vector<char*> argv;
    for (const auto& argument : request.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) return {};
    pid_t pid = ::fork();
    if (pid == 0) RunChild(request, argv.data(), errorPipe[1]);
    ::close(errorPipe[1]);
    if (pid < 0) {
        ::close(errorPipe[0]);
        return {};
    }
    int childError = 0;
    ssize_t n;
    do {
        n = ::read(errorPipe[0], &childError, sizeof childError);
    } while (n < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    if (n > 0) {
        ::waitpid(pid, nullptr, 0);
        return {};
    }
    return {pid, StartEngineWatcher(pid)};
}

// Every fork happens on this one thread, which lives until the process exits: a fork copies only
// the thread that makes it, and this one holds no lock another thread could be holding.
class Spawner {
public:
    Spawner() : thread_([this] { Run(); }) {}
    ~Spawner() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    Spawned Spawn(const SpawnRequest& request) {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return request_ == nullptr; });
        request_ = &request;
        hasResult_ = false;
        wake_.notify_all();
        done_.wait(lock, [this] { return hasResult_; });
        hasResult_ = false;
        request_ = nullptr;
        done_.notify_all();
        return result_;
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        while (true) {
            wake_.wait(lock, [this] { return quit_ || (request_ && !hasResult_); });
            if (quit_) return;
            result_ = ForkAndExec(*request_);
            hasResult_ = true;
            done_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    const SpawnRequest* request_ = nullptr;
    Spawned result_;
    bool hasResult_ = false;
    bool quit_ = false;
    std::thread thread_;
};

Spawner& TheSpawner() {
    static Spawner spawner;
    return spawner;
}

std::mutex detachedMutex;
std::vector<pid_t> detachedChildren;

// Reaps what has ended of the detached children without waiting.
void ReapEndedDetachedChildren() {
    std::lock_guard lock(detachedMutex);
    std::erase_if(detachedChildren, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

bool WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (true) {
        pid_t r = ::waitpid(pid, nullptr, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kReapPoll);
    }
}

}  // namespace

ProcessId ChildProcess::Start(std::string_view commandLine) {
    ReapEndedDetachedChildren();
    if (Exists()) return 0;
    SplitCommand split = SplitCommandLine(commandLine);
    std::optional<std::string> executable = ResolveExecutable(split.program);
    if (!executable) return 0;
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) return 0;
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return 0;
    }
    SpawnRequest request{*executable,
                         split.arguments,
                         FindProgramDirectory(commandLine),
                         NiceForThread(priorityClass_.load(), threadPriority_.load()),
                         toChild[0],
                         fromChild[1]};
    Spawned spawned = TheSpawner().Spawn(request);
    ProcessId pid = spawned.pid;
    watcher_ = spawned.watcher;
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (pid == 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        return 0;
    }
    {
        std::lock_guard lock(inputMutex_);
        input_ = toChild[1];
    }
    output_ = fromChild[0];
    pid_ = pid;
    return pid;
}

void ChildProcess::Stop(bool waitFirst, std::chrono::milliseconds wait) {
    ProcessId pid = pid_.exchange(0);
    if (pid != 0) {
        if (waitFirst && !WaitForExit(pid, wait)) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        } else if (!waitFirst) {
            std::lock_guard lock(detachedMutex);
            detachedChildren.push_back(pid);
        }
        // Left to end by itself, the engine is given its grace by the watcher, even after the
        // adapter has gone; ended here, it needs no watcher.
        if (waitFirst)
            CloseWatcher(watcher_.exchange(-1));
        else
            NoteQuitSent(watcher_.exchange(-1));
    }
    {
        std::lock_guard lock(inputMutex_);
        CloseFd(input_);
    }
    NativeHandle output = output_.exchange(kNoHandle);
    CloseFd(output);
}

bool ChildProcess::WriteToInput(std::string_view bytes) {
    std::lock_guard lock(inputMutex_);
    while (!bytes.empty() && input_ >= 0) {
        ssize_t n = ::write(input_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return bytes.empty();
}

NativeHandle ChildProcess::TakeOutput() { return output_.exchange(kNoHandle); }

void ChildProcess::SetPriorityClass(int priorityClass) {
    priorityClass_ = priorityClass;
    ApplyPriorityClass(pid_.load(), priorityClass);
}

void ChildProcess::SetThreadPriority(int threadPriority) {
    threadPriority_ = threadPriority;
    ApplyThreadPriority(pid_.load(), priorityClass_.load(), threadPriority);
}

void LeaveDetachedChildren(std::chrono::milliseconds) {
    // Those still running have their watchers, which give them their grace.
    ReapEndedDetachedChildren();
}

void ReapDetachedChildren(std::chrono::milliseconds grace) {
    std::vector<pid_t> children;
    {
        std::lock_guard lock(detachedMutex);
        children.swap(detachedChildren);
    }
    auto deadline = std::chrono::steady_clock::now() + grace;
    for (pid_t pid : children) {
        if (!WaitForExit(pid, TimeLeftUntil(deadline))) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
}

}  // namespace pontax
