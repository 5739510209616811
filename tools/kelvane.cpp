// kelvane: the engine dravel plays against. It starts an xboard engine from Debian (fairymax, or
// the command in KELVANE_ENGINE such as "gnuchess --xboard"), negotiates its features and speaks
// to dravel the small dialogue dravel expects: "info" greeting lines and two plain lines, then
// commands in and "move"/"Engine"/result lines out. Each reply to a move request (a move or
// "go") ends with the line "done", sent once the engine has answered a "ping" given after its
// reply, so a result the engine writes after its move travels with it.
//
// kelvane owns its engine's time: the engine never ponders, and dravel's "easy" and "hard" are
// strengths, played as a fixed time per move when dravel sends its "level" line. KELVANE_LEVEL,
// when set, replaces that by its own commands (separated by ";"), for example "sd 2" for quick
// games. KELVANE_LOG names a file that gets every line sent to the engine ("> ") and read from
// it ("< ").
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kFeatureWait{3000};
// An engine that has said nothing yet may be starting slowly on a busy machine; one that stays
// silent this long is started again, a few times.
constexpr milliseconds kFirstWordWait{8000};
constexpr int kStartAttempts = 3;
constexpr milliseconds kMoreFeaturesWait{20000};
constexpr milliseconds kProtoverPause{100};
constexpr milliseconds kNudgeInterval{100};
constexpr milliseconds kQuitWait{1000};
// Seconds per move for dravel's "easy" (levels 1 and 2) and "hard" (level 3).
constexpr const char* kEasyTime = "st 1";
constexpr const char* kHardTime = "st 4";
constexpr const char* kReplyEnd = "done";

// A line-buffered reader of one descriptor.
class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd) {}
    int Fd() const { return fd_; }
    // A complete line if one is buffered.
    bool Take(std::string& line) {
        size_t end = buffer_.find('\n');
        if (end == std::string::npos) return false;
        line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }
    // Reads what is available; false at end of input.
    bool Fill() {
        char chunk[4096];
        ssize_t n;
        do {
            n = ::read(fd_, chunk, sizeof chunk);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) return false;
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }

private:
    int fd_;
    std::string buffer_;
};

void WriteAll(int fd, const std::string& text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        rest.remove_prefix(static_cast<size_t>(n));
    }
}

void ToDravel(const std::string& line) { WriteAll(STDOUT_FILENO, line + "\n"); }

std::string FindProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    std::stringstream dirs(path + ":/usr/games");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && ::access((dir + "/" + name).c_str(), X_OK) == 0) return dir + "/" + name;
    return {};
}

class Engine {
public:
    bool Start(const std::string& command) {
        std::stringstream words(command);
        std::string word;
        while (words >> word) args_.push_back(word);
        if (args_.empty()) return false;
        std::string program = FindProgram(args_[0]);
        int toEngine[2], fromEngine[2];
        if (program.empty() || ::pipe2(toEngine, O_CLOEXEC) != 0 || ::pipe2(fromEngine, O_CLOEXEC) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toEngine[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromEngine[1], 1);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        for (auto& arg : args_) argv.push_back(arg.data());
        argv.push_back(nullptr);
        int result = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toEngine[0]);
        ::close(fromEngine[1]);
        input_ = toEngine[1];
        output_ = std::make_unique<LineReader>(fromEngine[0]);
        return result == 0;
    }
    void Send(const std::string& line) {
        Log("> " + line);
        WriteAll(input_, line + "\n");
    }
    // Appends a line to the file named by KELVANE_LOG, if any.
    static void Log(const std::string& line) {
        static const char* path = std::getenv("KELVANE_LOG");
        if (!path || !*path) return;
        static std::FILE* file = std::fopen(path, "a");
        if (!file) return;
        std::fputs((line + "\n").c_str(), file);
        std::fflush(file);
    }
    LineReader& Output() { return *output_; }
    void Stop() {
        Send("quit");
        auto deadline = Clock::now() + kQuitWait;
        while (Clock::now() < deadline && ::waitpid(pid_, nullptr, WNOHANG) == 0)
            std::this_thread::sleep_for(milliseconds(10));
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    std::vector<std::string> args_;
    pid_t pid_ = -1;
    int input_ = -1;
    std::unique_ptr<LineReader> output_;
};

// Waits up to `limit` for a line on `reader`; false on timeout or end of input.
bool NextLine(LineReader& reader, std::string& line, milliseconds limit) {
    auto deadline = Clock::now() + limit;
    while (!reader.Take(line)) {
        auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd request{reader.Fd(), POLLIN, 0};
        if (::poll(&request, 1, static_cast<int>(left)) > 0 && !reader.Fill()) return false;
    }
    return true;
}

struct Features {
    std::map<std::string, std::string> values;
    bool Has(const std::string& key) const {
        auto it = values.find(key);
        return it != values.end() && it->second == "1";
    }
};

// Answers one "feature" line: SAN moves are refused (dravel speaks coordinates), all else taken.
void AnswerFeatures(Engine& engine, const std::string& line, Features& features) {
    static const std::regex kFeature(R"re((\w+)=("[^"]*"|\S+))re");
    for (std::sregex_iterator it(line.begin(), line.end(), kFeature), end; it != end; ++it) {
        std::string key = (*it)[1], value = (*it)[2];
        if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
        features.values[key] = value;
        engine.Send((key == "san" && value == "1" ? "rejected " : "accepted ") + key);
    }
}

// The greeting: "xboard", then "protover 2" apart (some engines lose what arrives together),
// empty lines while the engine is silent (GNU Chess, started on a busy machine, may sleep
// through its first commands until more input comes), and the features until done=1. A slow
// start is waited for; once the engine speaks, its features get their own time.
Features Negotiate(Engine& engine, bool& spoke) {
    Features features;
    engine.Send("xboard");
    std::this_thread::sleep_for(kProtoverPause);
    engine.Send("protover 2");
    auto deadline = Clock::now() + kFirstWordWait;
    spoke = false;
    std::string line;
    while (Clock::now() < deadline) {
        if (!NextLine(engine.Output(), line, kNudgeInterval)) {
            if (!spoke) engine.Send("");
            continue;
        }
        Engine::Log("< " + line);
        if (!spoke) deadline = Clock::now() + kFeatureWait;
        spoke = true;
        if (line.rfind("feature ", 0) != 0) continue;
        AnswerFeatures(engine, line, features);
        if (line.find("done=0") != std::string::npos) deadline = Clock::now() + kMoreFeaturesWait;
        if (line.find("done=1") != std::string::npos) break;
    }
    return features;
}

// The edit-mode set-up of a FEN for engines without "setboard".
void SendEdit(Engine& engine, const std::string& fen) {
    std::stringstream fields(fen);
    std::string placement, side;
    fields >> placement >> side;
    engine.Send("new");
    engine.Send("force");
    if (side == "b") engine.Send("a2a3");
    engine.Send("edit");
    engine.Send("#");
    std::vector<std::string> white, black;
    int rank = 7, file = 0;
    for (char c : placement) {
        if (c == '/') {
            --rank;
            file = 0;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            file += c - '0';
        } else {
            std::string square{static_cast<char>('a' + file), static_cast<char>('1' + rank)};
            char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            (std::isupper(static_cast<unsigned char>(c)) ? white : black).push_back(letter + square);
            ++file;
        }
    }
    for (const auto& piece : white) engine.Send(piece);
    engine.Send("c");
    for (const auto& piece : black) engine.Send(piece);
    engine.Send(".");
}

bool IsResult(const std::string& line) {
    return line.rfind("1-0 {", 0) == 0 || line.rfind("0-1 {", 0) == 0 || line.rfind("1/2-1/2 {", 0) == 0;
}

class Session {
public:
    Session(Engine& engine, Features features, std::string levelOverride)
        : engine_(engine), features_(std::move(features)), levelOverride_(std::move(levelOverride)) {}

    // One line from dravel; false after "quit".
    bool FromDravel(const std::string& line) {
        static const std::regex kMove("([a-h][1-8][a-h][1-8])([QRBNqrbn]?)");
        std::smatch move;
        if (line == "quit") return false;
        if (line.rfind("setboard ", 0) == 0) {
            SetBoard(line);
        } else if (std::regex_match(line, move, kMove)) {
            std::string text = move[1].str();
            if (move[2].length() > 0)
                text += static_cast<char>(std::tolower(static_cast<unsigned char>(move[2].str()[0])));
            engine_.Send((features_.Has("usermove") ? "usermove " : "") + text);
            Toggle();
            if (!forceMode_) BeginRequest();
        } else if (line == "easy" || line == "hard") {
            hard_ = line == "hard";
        } else if (line.rfind("level ", 0) == 0) {
            SendTimeControl();
        } else if (line == "new") {
            sideToMove_ = 'w';
            forceMode_ = false;
            movesGiveThePosition_ = true;
            engine_.Send(line);
            // A request cut short by a new game still gets its end.
            if (pending_ && !awaitedPong_) EndReply();
        } else if (line == "force") {
            forceMode_ = true;
            engine_.Send(line);
        } else if (line == "go") {
            forceMode_ = false;
            engine_.Send(line);
            BeginRequest();
        } else if (!line.empty()) {
            engine_.Send(line);
        }
        return true;
    }

    void FromEngine(const std::string& line) {
        Engine::Log("< " + line);
        // Some engines announce their moves the old way: "12. ... e7e5".
        static const std::regex kOldStyleMove(R"(\d+\. \.\.\. (\S+).*)");
        std::smatch oldStyle;
        if (line.rfind("move ", 0) == 0 || std::regex_match(line, oldStyle, kOldStyleMove)) {
            Toggle();
            if (!Answering()) return;
            ToDravel(oldStyle.empty() ? line : "move " + oldStyle[1].str());
            EndReply();
        } else if (line.rfind("Illegal move", 0) == 0 || line.rfind("Error", 0) == 0) {
            if (!Answering()) return;
            ToDravel("Engine " + line);
            EndReply();
        } else if (IsResult(line) || line == "resign") {
            if (!pending_) return;
            // The engine resigns on its own move.
            ToDravel(line != "resign"     ? line
                     : sideToMove_ == 'w' ? "0-1 {White resigns}"
                                          : "1-0 {Black resigns}");
            if (!awaitedPong_) EndReply();
        } else if (line.rfind("pong ", 0) == 0) {
            if (pending_ && awaitedPong_ && line.substr(5) == std::to_string(awaitedPong_)) {
                pending_ = false;
                awaitedPong_ = 0;
                ToDravel(kReplyEnd);
            }
        } else if (line.rfind("feature ", 0) == 0) {
            AnswerFeatures(engine_, line, features_);
        }
    }

private:
    void Toggle() { sideToMove_ = sideToMove_ == 'w' ? 'b' : 'w'; }

    void BeginRequest() {
        pending_ = true;
        awaitedPong_ = 0;
        movesGiveThePosition_ = false;
    }
    // Whether the engine's answer to a request is still owed.
    bool Answering() const { return pending_ && !awaitedPong_; }
    // The engine has answered: once it has also answered a ping, nothing more of this reply can
    // follow. An engine without ping ends its reply with its answer.
    void EndReply() {
        if (features_.Has("ping")) {
            awaitedPong_ = ++lastPing_;
            engine_.Send("ping " + std::to_string(awaitedPong_));
            return;
        }
        pending_ = false;
        ToDravel(kReplyEnd);
    }

    // The game's moves from "new" in force mode are already the position for an engine without
    // "setboard"; otherwise it is set up by an edit sequence.
    void SetBoard(const std::string& line) {
        std::string fen = line.substr(9);
        sideToMove_ = fen.find(" b ") != std::string::npos ? 'b' : 'w';
        forceMode_ = true;
        if (features_.Has("setboard")) {
            engine_.Send("force");
            engine_.Send(line);
        } else if (!movesGiveThePosition_) {
            SendEdit(engine_, fen);
        }
        movesGiveThePosition_ = false;
    }

    void SendTimeControl() {
        std::string commands = !levelOverride_.empty() ? levelOverride_ : hard_ ? kHardTime : kEasyTime;
        std::stringstream list(commands);
        std::string command;
        while (std::getline(list, command, ';'))
            if (!command.empty()) engine_.Send(command);
    }

    Engine& engine_;
    Features features_;
    std::string levelOverride_;
    char sideToMove_ = 'w';
    bool hard_ = false;
    bool forceMode_ = false;
    bool movesGiveThePosition_ = false;
    bool pending_ = false;
    long awaitedPong_ = 0;
    long lastPing_ = 0;
};

}  // namespace

int main() {
    std::signal(SIGPIPE, SIG_IGN);
    const char* configured = std::getenv("KELVANE_ENGINE");
    std::string command = configured && *configured ? configured : "fairymax";
    // GNU Chess, started on a busy machine, now and then never wakes up: it is started again.
    std::unique_ptr<Engine> started;
    Features features;
    for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
        if (started) started->Stop();
        started = std::make_unique<Engine>();
        if (!started->Start(command)) {
            ToDravel("Kelvane: cannot start " + command);
            ToDravel("Kelvane: no engine");
            return 1;
        }
        bool spoke = false;
        features = Negotiate(*started, spoke);
        if (spoke) break;
        Engine::Log("- the engine said nothing; it is started again");
    }
    Engine& engine = *started;
    std::string name = features.values.count("myname") ? features.values["myname"] : command;
    ToDravel("info       Kelvane, xboard engine launcher");
    ToDravel("info       Engine: " + name);
    ToDravel("info       Command: " + command);
    ToDravel("Kelvane ready: " + name);
    ToDravel("Waiting for commands");
    engine.Send("new");
    engine.Send("nopost");
    engine.Send("easy");
    const char* level = std::getenv("KELVANE_LEVEL");
    Session session(engine, features, level ? level : "");
    LineReader dravel(STDIN_FILENO);
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {engine.Output().Fd(), POLLIN, 0}};
    std::string line;
    while (true) {
        while (engine.Output().Take(line)) session.FromEngine(line);
        bool going = true;
        while (going && dravel.Take(line)) going = session.FromDravel(line);
        if (!going) break;
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if ((fds[0].revents & (POLLIN | POLLHUP)) && !dravel.Fill()) break;
        if ((fds[1].revents & (POLLIN | POLLHUP)) && !engine.Output().Fill()) break;
    }
    engine.Stop();
    return 0;
}
