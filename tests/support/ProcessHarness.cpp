#include "tests/support/ProcessHarness.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace testing_support {

TempDir::TempDir() {
    char pattern[] = "/tmp/pontax-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::Write(const std::string& name, const std::string& content) const {
    std::ofstream(File(name), std::ios::binary) << content;
}

std::string TempDir::Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

Process::Process(const std::vector<std::string>& argv, const std::string& directory,
                 const std::vector<std::string>& extraEnvironment) {
    // A program that has ended must fail the test that writes to it, not kill it.
    std::signal(SIGPIPE, SIG_IGN);
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    for (const auto& e : extraEnvironment) environment.push_back(e);
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        if (::chdir(directory.c_str()) != 0) ::_exit(126);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    output_ = fromChild[0];
}

Process::~Process() {
    if (input_ >= 0) ::close(input_);
    if (output_ >= 0) ::close(output_);
    if (!reaped_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void Process::Send(const std::string& line) { Write(line + "\n"); }

void Process::Write(const std::string& bytes) {
    if (input_ >= 0 && ::write(input_, bytes.data(), bytes.size()) < 0) {
        // A process that has ended cannot be written to; its output tells the test what happened.
    }
}

void Process::CloseInput() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
}

std::optional<std::string> Process::ReadLine(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            seen_.push_back(line);
            return line;
        }
        if (outputEnded_) return std::nullopt;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd request{output_, POLLIN, 0};
        if (::poll(&request, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[4096];
        ssize_t n = ::read(output_, chunk, sizeof chunk);
        if (n <= 0)
            outputEnded_ = true;
        else
            buffer_.append(chunk, static_cast<size_t>(n));
    }
}

bool Process::WaitFor(const std::string& line, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        auto next = ReadLine(left);
        if (!next) return false;
        if (*next == line) return true;
    }
}

std::optional<int> Process::WaitExit(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    // A process reaped before keeps its status: asking again must not wait out the timeout.
    if (reaped_) return exitStatus_;
    while (true) {
        int status = 0;
        pid_t r = ::waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            reaped_ = true;
            exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return exitStatus_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(5ms);
    }
}

void Process::Kill(int signal) { ::kill(pid_, signal); }

namespace {

// The running processes other than this one for which `wanted` says yes.
template <class Predicate>
std::vector<pid_t> RunningProcesses(Predicate wanted) {
    std::vector<pid_t> found;
    DIR* proc = ::opendir("/proc");
    if (!proc) return found;
    while (dirent* entry = ::readdir(proc)) {
        pid_t pid = std::atoi(entry->d_name);
        if (pid > 0 && pid != ::getpid() && ProcessExists(pid) &&
            wanted("/proc/" + std::string(entry->d_name)))
            found.push_back(pid);
    }
    ::closedir(proc);
    return found;
}

}  // namespace

std::vector<pid_t> ProcessesMatching(const std::string& text) {
    return RunningProcesses([&](const std::string& dir) {
        std::ifstream in(dir + "/cmdline", std::ios::binary);
        std::string cmdline((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return cmdline.find(text) != std::string::npos;
    });
}

std::vector<pid_t> ProcessesIn(const std::string& directory) {
    return RunningProcesses([&](const std::string& dir) {
        std::error_code error;
        auto cwd = std::filesystem::read_symlink(dir + "/cwd", error);
        return !error && cwd == directory;
    });
}

std::string RunToEnd(const std::vector<std::string>& argv, const std::string& input,
                     const std::vector<std::string>& environment) {
    Process process(argv, "/tmp", environment);
    if (!input.empty()) process.Send(input);
    process.CloseInput();
    std::string output;
    while (auto line = process.ReadLine(std::chrono::seconds(600))) output += *line + "\n";
    process.WaitExit(std::chrono::seconds(60));
    return output;
}

bool ProcessExists(pid_t pid) {
    if (::kill(pid, 0) != 0) return false;
    std::string stat;
    std::ifstream("/proc/" + std::to_string(pid) + "/stat") >> stat >> stat >> stat;
    return stat != "Z";  // a zombie has ended; only its parent's reaping is left
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

std::string TestName(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return text;
}

}  // namespace testing_support
