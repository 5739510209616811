// Starts, greets and quits each xboard engine from Debian through the real pontax binary.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "tests/support/ProcessHarness.h"

namespace {

using namespace std::chrono_literals;
using testing_support::AnyLineHas;
using testing_support::Process;
using testing_support::ReadLines;
using testing_support::TempDir;

struct EngineRow {
    const char* name;
    const char* program;  // in /usr/games
    const char* arguments;
};

int StartsInARow() {
    const char* text = std::getenv("PONTAX_ENGINE_STARTS");
    return text ? std::max(1, std::atoi(text)) : 20;
}

std::vector<std::string> FeatureKeys(const std::string& featureLine) {
    std::vector<std::string> keys;
    bool inQuote = false;
    std::string word;
    for (size_t i = std::string("feature").size(); i <= featureLine.size(); ++i) {
        char c = i < featureLine.size() ? featureLine[i] : ' ';
        if (c == '"') inQuote = !inQuote;
        if (c == '=' && !inQuote && !word.empty()) keys.push_back(word);
        if (c == ' ' && !inQuote)
            word.clear();
        else if (c != '=' || inQuote)
            word += c;
    }
    return keys;
}

class RealEngineTest : public ::testing::TestWithParam<EngineRow> {};

// Each start runs in a private directory with a private HOME, since some engines write files there.
TEST_P(RealEngineTest, StartsNegotiatesAndQuitsCleanly) {
    const EngineRow& engine = GetParam();
    std::string installed = std::string("/usr/games/") + engine.program;
    if (!std::filesystem::exists(installed)) GTEST_SKIP() << installed << " is not installed";
    for (int start = 0; start < StartsInARow(); ++start) {
        SCOPED_TRACE("start " + std::to_string(start + 1));
        TempDir dir;
        std::filesystem::create_symlink(installed, dir.File(engine.program));
        dir.Write("Pontax.eng", std::string("[OPTIONS]\nProgram=./") + engine.program + " " +
                                    engine.arguments + "\nLogfile=true\n");
        Process pontax({PONTAX_PATH}, dir.Path(), {"HOME=" + dir.Path()});
        pontax.Send("isready");
        ASSERT_TRUE(pontax.WaitFor("readyok", 30s));
        auto engines = testing_support::ProcessesIn(dir.Path());
        std::erase(engines, pontax.Pid());
        ASSERT_FALSE(engines.empty());
        // Engines that announce done=1 late are given time to finish their announcement.
        for (int i = 0; i < 100 && !AnyLineHas(ReadLines(dir.File("Pontax.log")), "S< accepted done"); ++i)
            std::this_thread::sleep_for(50ms);
        pontax.Send("quit");
        ASSERT_EQ(pontax.WaitExit(15s), 0);
        auto log = ReadLines(dir.File("Pontax.log"));
        for (const auto& line : log) {
            size_t at = line.find("S> feature ");
            if (at == std::string::npos) continue;
            for (const auto& key : FeatureKeys(line.substr(at + 3)))
                EXPECT_TRUE(AnyLineHas(log, "S< accepted " + key)) << key;
        }
        // The engine ends by itself after "quit", within its grace.
        auto gone = [&] {
            return testing_support::ProcessesIn(dir.Path()).empty() &&
                   std::none_of(engines.begin(), engines.end(), testing_support::ProcessExists);
        };
        for (int i = 0; i < 120 && !gone(); ++i) std::this_thread::sleep_for(100ms);
        EXPECT_TRUE(gone());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Debian, RealEngineTest,
    ::testing::Values(EngineRow{"fairymax", "fairymax", ""}, EngineRow{"gnuchess", "gnuchess", "-x"},
                      EngineRow{"phalanx", "phalanx", ""}, EngineRow{"hoichess", "hoichess", ""},
                      EngineRow{"sjeng", "sjeng", ""}, EngineRow{"sjaakii", "sjaakii", ""},
                      EngineRow{"fairy_stockfish", "fairy-stockfish", ""},
                      EngineRow{"polyglot", "polyglot", "-noini -ec /usr/games/stockfish"}),
    [](const auto& info) { return std::string(info.param.name); });

// Field `n` of /proc/PID/stat (3 is the state, 4 the parent, 14 and 15 user and system time).
long StatField(pid_t pid, int n) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.rfind(')') == std::string::npos) return 0;
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= n && fields >> field; ++i)
        if (i == n) return std::atol(field.c_str());
    return 0;
}

long CpuTicksOf(pid_t pid) { return StatField(pid, 14) + StatField(pid, 15); }

// A GUI pauses pontax (SIGSTOP, as PyChess does) while Fairy-Max analyses: the engine pauses too,
// and thinks on when pontax goes on.
TEST(RealEnginePauseTest, FairyMaxPausesWithTheAdapter) {
    if (!std::filesystem::exists("/usr/games/fairymax")) GTEST_SKIP() << "fairymax is not installed";
    TempDir dir;
    dir.Write("Pontax.eng", "[OPTIONS]\nProgram=/usr/games/fairymax\n");
    Process pontax({PONTAX_PATH}, dir.Path(), {"HOME=" + dir.Path()});
    pontax.Send("isready");
    ASSERT_TRUE(pontax.WaitFor("readyok", 20s));
    std::vector<pid_t> engines;
    for (int i = 0; i < 100 && engines.empty(); ++i) {
        for (pid_t pid : testing_support::ProcessesMatching("/usr/games/fairymax"))
            if (StatField(pid, 4) == pontax.Pid()) engines.push_back(pid);
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(engines.size(), 1u);
    pontax.Send("position startpos moves e2e4");
    pontax.Send("go infinite");
    const long hz = ::sysconf(_SC_CLK_TCK);
    std::this_thread::sleep_for(500ms);
    pontax.Kill(SIGSTOP);
    std::this_thread::sleep_for(300ms);  // the watcher looks every 100 ms
    long before = CpuTicksOf(engines[0]);
    std::this_thread::sleep_for(1s);
    EXPECT_LE(CpuTicksOf(engines[0]) - before, hz / 10) << "the engine ran on while pontax was stopped";
    pontax.Kill(SIGCONT);
    std::this_thread::sleep_for(300ms);
    before = CpuTicksOf(engines[0]);
    std::this_thread::sleep_for(1s);
    EXPECT_GE(CpuTicksOf(engines[0]) - before, hz / 4) << "the engine was not let go on";
    pontax.Send("stop");
    bool answered = false;
    while (auto line = pontax.ReadLine(15s))
        if ((answered = line->rfind("bestmove ", 0) == 0)) break;
    EXPECT_TRUE(answered);
    pontax.Send("quit");
    EXPECT_EQ(pontax.WaitExit(10s), 0);
}

}  // namespace
