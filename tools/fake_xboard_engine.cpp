// A scriptable xboard engine for tests. It appends every line it receives to the file named by
// FAKE_ENGINE_LOG and acts on the script named by FAKE_ENGINE_SCRIPT, one directive a line:
//   start <text>          print text at start ("\n" in text starts a new line)
//   on <line> => <text>   print text when exactly this line arrives
//   onprefix <p> => <t>   print text when a line starting with p arrives
//   ignore-quit           do not exit on "quit"
//   force-mode            after "force" and until "go", moves received trigger no rule
//   linger                when its input ends, stay for a minute instead of exiting
//   answer-ping           answer "ping N" with "pong N" after the rules for it
//   flood <n>             print n thinking lines at start
// A text of "!exit" exits at once; "!sleep <ms>" pauses; "!spin <ms>" keeps a processor busy. Faults: "!kill"
// dies at once (SIGKILL),
// "!close" closes its output and goes on reading, "!flood <n>" prints n thinking lines,
// "!longline <n>" one line of n characters, "!garbage <n>" n bytes of binary noise with NULs.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

struct Rule {
    std::string trigger;
    bool prefix = false;
    std::string reply;
};

struct Script {
    std::vector<std::string> start;
    std::vector<Rule> rules;
    bool ignoreQuit = false;
    bool forceMode = false;
    bool linger = false;
    bool answerPing = false;
    long flood = 0;
};

std::string Decode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

Script ReadScript(const char* path) {
    Script script;
    if (!path) return script;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        auto arrow = line.find(" => ");
        if (line.rfind("start ", 0) == 0) {
            script.start.push_back(Decode(line.substr(6)));
        } else if (line == "ignore-quit") {
            script.ignoreQuit = true;
        } else if (line == "force-mode") {
            script.forceMode = true;
        } else if (line == "linger") {
            script.linger = true;
        } else if (line == "answer-ping") {
            script.answerPing = true;
        } else if (line.rfind("flood ", 0) == 0) {
            script.flood = std::atol(line.c_str() + 6);
        } else if (arrow != std::string::npos && line.rfind("on ", 0) == 0) {
            script.rules.push_back({line.substr(3, arrow - 3), false, Decode(line.substr(arrow + 4))});
        } else if (arrow != std::string::npos && line.rfind("onprefix ", 0) == 0) {
            script.rules.push_back({line.substr(9, arrow - 9), true, Decode(line.substr(arrow + 4))});
        }
    }
    return script;
}

void Flood(long lines) {
    for (long i = 0; i < lines; ++i) std::cout << "1 " << i << " 0 100 e2e4 e7e5 g1f3 b8c6 f1b5 a7a6\n";
    std::cout.flush();
}

// The number after a fault's name.
long Count(const std::string& text) { return std::atol(text.c_str() + text.find(' ') + 1); }

[[noreturn]] void DieAbruptly() {
#ifdef _WIN32
    ::TerminateProcess(::GetCurrentProcess(), 9);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

// Closes standard output and error for good; the process goes on reading.
void CloseOutput() {
    std::cout.flush();
#ifdef _WIN32
    ::CloseHandle(::GetStdHandle(STD_OUTPUT_HANDLE));
    ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
    ::SetStdHandle(STD_ERROR_HANDLE, nullptr);
#else
    ::close(1);
    ::close(2);
#endif
}

void Act(const std::string& text) {
    if (text == "!exit") std::exit(0);
    if (text == "!kill") DieAbruptly();
    if (text == "!close") return CloseOutput();
    if (text.rfind("!sleep ", 0) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Count(text)));
        return;
    }
    if (text.rfind("!spin ", 0) == 0) {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Count(text));
        while (std::chrono::steady_clock::now() < end) {
        }
        return;
    }
    if (text.rfind("!flood ", 0) == 0) return Flood(Count(text));
    if (text.rfind("!longline ", 0) == 0) {
        std::cout << std::string(static_cast<size_t>(Count(text)), 'x') << std::endl;
        return;
    }
    if (text.rfind("!garbage ", 0) == 0) {
        std::string noise;
        unsigned state = 12345;
        for (long i = 0; i < Count(text); ++i) {
            state = state * 1103515245 + 12345;
            noise += static_cast<char>(i % 7 == 0 ? 0 : (state >> 16) & 0xFF);
        }
        std::cout << noise << std::endl;
        return;
    }
    std::cout << text << std::endl;
}

bool IsMove(const std::string& line) {
    std::string move = line.rfind("usermove ", 0) == 0 ? line.substr(9) : line;
    return move.size() >= 4 && move.size() <= 5 && move[0] >= 'a' && move[0] <= 'h' && move[1] >= '1' &&
           move[1] <= '8' && move[2] >= 'a' && move[2] <= 'h' && move[3] >= '1' && move[3] <= '8';
}

}  // namespace

int main() {
    Script script = ReadScript(std::getenv("FAKE_ENGINE_SCRIPT"));
    const char* logPath = std::getenv("FAKE_ENGINE_LOG");
    std::ofstream log;
    if (logPath) log.open(logPath, std::ios::app);
    for (const auto& text : script.start) Act(text);
    Flood(script.flood);
    std::string line;
    bool forced = false;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (log.is_open()) log << line << std::endl;
        if (line == "force") forced = true;
        if (line == "go") forced = false;
        if (script.forceMode && forced && IsMove(line)) continue;
        for (const auto& rule : script.rules) {
            bool match = rule.prefix ? line.rfind(rule.trigger, 0) == 0 : line == rule.trigger;
            if (match) Act(rule.reply);
        }
        if (script.answerPing && line.rfind("ping ", 0) == 0)
            std::cout << "pong " << line.substr(5) << std::endl;
        if (line == "quit" && !script.ignoreQuit) return 0;
    }
    if (script.linger) std::this_thread::sleep_for(std::chrono::minutes(1));
    return 0;
}
