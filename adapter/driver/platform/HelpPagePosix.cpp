#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "CommandLine.h"
#include "HelpPage.h"

extern char** environ;

namespace pontax {

namespace {

// The page in the working directory, as on Windows; else the installed one.
std::string HelpPagePath() {
    std::string page = "Pontax.html";
#ifdef PONTAX_INSTALLED_HELP_PAGE
    if (::access(page.c_str(), R_OK) != 0 && ::access(PONTAX_INSTALLED_HELP_PAGE, R_OK) == 0)
        page = PONTAX_INSTALLED_HELP_PAGE;
#endif
    return page;
}

}  // namespace

void OpenHelpPage() {
    auto opener = ResolveExecutable("xdg-open");
    if (!opener) return;
    std::string page = HelpPagePath();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The opener must never write into the UCI stream or read the GUI's commands.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    char arg0[] = "xdg-open";
    char* argv[] = {arg0, page.data(), nullptr};
    pid_t pid = 0;
    int result = posix_spawn(&pid, opener->c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result == 0) std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace pontax
