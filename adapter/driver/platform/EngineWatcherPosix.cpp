#include "EngineWatcherPosix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace pontax {

namespace {

constexpr char kQuitNotice = 'q';

// What /proc says of a process: its state letter ('\0' when it is gone) and its parent.
struct ProcessState {
    char state = '\0';
    pid_t parent = 0;
};

// Runs in a child forked from a threaded process: only system calls, no allocation.
ProcessState ReadProcessState(pid_t pid) {
    char path[32] = "/proc/";
    char digits[16];
    int n = 0;
    for (pid_t rest = pid; rest > 0 && n < 15; rest /= 10) digits[n++] = static_cast<char>('0' + rest % 10);
    size_t at = 6;
    while (n > 0) path[at++] = digits[--n];
    for (const char* tail = "/stat"; *tail; ++tail) path[at++] = *tail;
    path[at] = '\0';
    ProcessState result;
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return result;
    char text[512];
    ssize_t length = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (length <= 0) return result;
    // "pid (name) S ppid ...": the name may hold anything, so read after its last bracket.
    ssize_t bracket = length - 1;
    while (bracket >= 0 && text[bracket] != ')') --bracket;
    if (bracket < 0 || bracket + 4 >= length) return result;
    result.state = text[bracket + 2];
    for (ssize_t i = bracket + 4; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        result.parent = result.parent * 10 + (text[i] - '0');
    return result;
}

bool Gone(const ProcessState& process) {
    return process.state == '\0' || process.state == 'Z' || process.state == 'X';
}
bool Stopped(const ProcessState& process) { return process.state == 'T' || process.state == 't'; }

[[noreturn]] void Watch(pid_t adapter, pid_t gui, pid_t engine, int notices) {
    bool paused = false, quitSent = false, adapterGone = false;
    long graceTicks = kEngineQuitGrace / kWatcherInterval;
    auto end = [&] {
        ::kill(-engine, SIGKILL);
        ::_exit(0);
    };
    while (true) {
        pollfd request{notices, POLLIN, 0};
        if (!adapterGone && ::poll(&request, 1, static_cast<int>(kWatcherInterval.count())) > 0) {
            char notice = 0;
            ssize_t n = ::read(notices, &notice, 1);
            if (n == 1 && notice == kQuitNotice) quitSent = true;
            // The end of the notices: the adapter has closed them, or has ended.
            if (n == 0) adapterGone = true;
        } else if (adapterGone) {
            ::poll(nullptr, 0, static_cast<int>(kWatcherInterval.count()));
        }
        if (Gone(ReadProcessState(engine))) ::_exit(0);
        const ProcessState self = ReadProcessState(adapter);
        if (!adapterGone && Gone(self)) adapterGone = true;
        if (!adapterGone && Stopped(self)) {
            if (!paused) ::kill(-engine, SIGSTOP);
            paused = true;
            // Nobody will let the adapter go on: its GUI has gone.
            if (self.parent != gui) {
                ::kill(adapter, SIGKILL);
                end();
            }
            continue;
        }
        if (paused) ::kill(-engine, SIGCONT);
        paused = false;
        if (!adapterGone) continue;
        if (!quitSent || --graceTicks <= 0) end();
    }
}

}  // namespace

int StartEngineWatcher(pid_t engine) {
    int notices[2];
    if (::pipe2(notices, O_CLOEXEC) != 0) return -1;
    const pid_t adapter = ::getpid();
    const pid_t gui = ::getppid();
    // Two forks: the watcher is nobody's child to reap, and it outlives the adapter.
    pid_t first = ::fork();
    if (first == 0) {
        if (::fork() == 0) {
            // Only the notices stay open: the engine's and the GUI's pipes must see their ends.
            ::dup2(notices[0], 3);
            ::close_range(4, ~0U, 0);
            int nothing = ::open("/dev/null", O_RDWR);
            for (int fd = 0; fd < 3; ++fd) ::dup2(nothing, fd);
            if (nothing > 3) ::close(nothing);
            ::setpgid(0, 0);
            // Nor does it hold the adapter's directory.
            if (::chdir("/") != 0) {
            }
            ::prctl(PR_SET_NAME, "pontax-watch");
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            Watch(adapter, gui, engine, 3);
        }
        ::_exit(0);
    }
    ::close(notices[0]);
    if (first < 0) {
        ::close(notices[1]);
        return -1;
    }
    ::waitpid(first, nullptr, 0);
    return notices[1];
}

void NoteQuitSent(int watcher) {
    if (watcher < 0) return;
    ssize_t ignored = ::write(watcher, &kQuitNotice, 1);
    (void)ignored;
    ::close(watcher);
}

void CloseWatcher(int watcher) {
    if (watcher >= 0) ::close(watcher);
}

}  // namespace pontax
