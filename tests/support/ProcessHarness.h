#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

using namespace std::chrono_literals;

// A fresh directory under /tmp, removed with its content when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};

// A program under test with its standard input and output on pipes.
class Process {
public:
    Process(const std::vector<std::string>& argv, const std::string& directory,
            const std::vector<std::string>& extraEnvironment = {});
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    void Send(const std::string& line);
    // Bytes as they are, without a line end.
    void Write(const std::string& bytes);
    void CloseInput();
    // The next output line, or nullopt when none arrives in time or the output ended.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = 10s);
    // Reads lines until one equals `line`; every line read is kept in Seen().
    bool WaitFor(const std::string& line, std::chrono::milliseconds timeout = 10s);
    const std::vector<std::string>& Seen() const { return seen_; }
    // The exit code, or nullopt if the process has not ended in time.
    std::optional<int> WaitExit(std::chrono::milliseconds timeout = 10s);
    void Kill(int signal);

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    std::string buffer_;
    bool outputEnded_ = false;
    bool reaped_ = false;
    int exitStatus_ = 0;
    std::vector<std::string> seen_;
};

// Process ids whose command line contains text (other than this test process).
std::vector<pid_t> ProcessesMatching(const std::string& text);
// Runs a program to its end with the input given and returns its output.
std::string RunToEnd(const std::vector<std::string>& argv, const std::string& input = "",
                     const std::vector<std::string>& environment = {});
// Running processes whose working directory is directory.
std::vector<pid_t> ProcessesIn(const std::string& directory);
// True while the process runs (a zombie has ended and does not count).
bool ProcessExists(pid_t pid);
std::vector<std::string> ReadLines(const std::string& path);
// Whether any of the lines contains text.
bool AnyLineHas(const std::vector<std::string>& lines, const std::string& text);

// A name GoogleTest takes for a test parameter: "fairy-stockfish" becomes "fairy_stockfish".
std::string TestName(std::string text);

}  // namespace testing_support
