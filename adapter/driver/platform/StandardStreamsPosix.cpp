#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "StandardStreams.h"

namespace pontax {

void PrepareStandardStreams() { std::signal(SIGPIPE, SIG_IGN); }

NativeHandle StandardInputHandle() { return STDIN_FILENO; }

void WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

void ExitAtOnce() {
    std::fflush(nullptr);
    ::_exit(0);
}

}  // namespace pontax
