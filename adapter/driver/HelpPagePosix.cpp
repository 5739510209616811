#include "adapter/driver/HelpPage.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

#include "adapter/driver/CommandLine.h"

extern char** environ;

namespace pontax {

void OpenHelpPage() {
    auto opener = ResolveExecutable("xdg-open");
    if (!opener) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener must never write into the UCI stream or read the GUI's commands.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char arg0[] = "xdg-open";
    char arg1[] = "Pontax.html";
    char* argv[] = {arg0, arg1, nullptr};
    pid_t pid = 0;
    int result = posix_spawn(&pid, opener->c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result == 0) std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace pontax
