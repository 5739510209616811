// Starts, greets and quits each xboard engine from Debian through the real pontax binary.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
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
    const char* program;    // in /usr/games
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
        dir.Write("Pontax.eng", std::string("[OPTIONS]\nProgram=./") + engine.program + " " + engine.arguments +
                                    "\nLogfile=true\n");
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
        EXPECT_TRUE(testing_support::ProcessesIn(dir.Path()).empty());
        for (pid_t pid : engines) EXPECT_FALSE(testing_support::ProcessExists(pid));
    }
}

INSTANTIATE_TEST_SUITE_P(Debian, RealEngineTest,
                         ::testing::Values(EngineRow{"fairymax", "fairymax", ""},
                                           EngineRow{"gnuchess", "gnuchess", "-x"},
                                           EngineRow{"phalanx", "phalanx", ""},
                                           EngineRow{"hoichess", "hoichess", ""},
                                           EngineRow{"sjeng", "sjeng", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
