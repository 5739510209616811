// Hostile engines and hostile hosts against the real pontax binary: whatever either side does,
// the host gets what a strict host accepts, nothing hangs beyond the adapter's own waits, memory
// stays bounded and no process is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::TempDir;
using testing_support::UciHost;

// The sanitizers keep freed memory in quarantine, so their builds allow much more.
#ifndef PEAK_MEMORY_LIMIT_MIB
#define PEAK_MEMORY_LIMIT_MIB 64
#endif

// Peak resident memory of a process in MiB, from /proc.
long PeakMemoryMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6)) / 1024;
    return -1;
}

bool NoProcessLeftIn(const std::string& directory, std::chrono::milliseconds within) {
    auto deadline = std::chrono::steady_clock::now() + within;
    while (!testing_support::ProcessesIn(directory).empty()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

class FaultsTest : public ::testing::Test {
protected:
    // pontax on the fake engine, which runs in the test's directory so that it can be found there.
    void Start(const std::string& script) {
        std::filesystem::create_symlink(FAKE_ENGINE_PATH, dir_.File("engine"));
        dir_.Write("Pontax.eng", "[OPTIONS]\nProgram=./engine\nInitTime=0\nLogfile=true\n");
        dir_.Write("script", "on protover 2 => feature done=1\n" + script);
        host_ =
            std::make_unique<UciHost>(std::vector<std::string>{PONTAX_PATH}, dir_.Path(),
                                      std::vector<std::string>{"FAKE_ENGINE_SCRIPT=" + dir_.File("script"),
                                                               "FAKE_ENGINE_LOG=" + dir_.File("engine.log")});
    }
    void TearDown() override {
        if (!host_) return;
        if (HasFailure())
            for (const auto& line : testing_support::ReadLines(dir_.File("Pontax.log")))
                std::cout << "log: " << line << "\n";
        host_->Quit(10s);
        EXPECT_TRUE(host_->Violations().empty()) << testing_support::Describe(host_->Violations());
        EXPECT_TRUE(NoProcessLeftIn(dir_.Path(), 7s));
    }

    TempDir dir_;
    std::unique_ptr<UciHost> host_;
};

struct EngineFault {
    const char* name;
    const char* script;
};

class EngineFaultTest : public FaultsTest, public ::testing::WithParamInterface<EngineFault> {};

// The search is answered in time whatever the engine does after "go"; an engine that goes away
// ends the adapter, one that stays has its output read to the end.
TEST_P(EngineFaultTest, TheSearchStillGetsOneLegalBestMove) {
    Start(GetParam().script);
    ASSERT_TRUE(host_->Handshake());
    auto start = std::chrono::steady_clock::now();
    host_->Send("position startpos moves e2e4");
    host_->Send("go wtime 20000 btime 20000");
    // A host stops a search that takes too long; the adapter waits ten seconds for the engine's
    // move and then answers itself.
    auto bestMove = host_->WaitBestMove(3s);
    if (!bestMove) {
        host_->Send("stop");
        bestMove = host_->WaitBestMove(15s);
    }
    ASSERT_TRUE(bestMove) << "no bestmove";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
    EXPECT_LT(PeakMemoryMiB(host_->Raw().Pid()), PEAK_MEMORY_LIMIT_MIB) << "MiB at the peak";
    // Whatever is left of the engine's output is still read and checked.
    host_->Send("isready");
    host_->ReadLine(2s);
}

INSTANTIATE_TEST_SUITE_P(
    Engines, EngineFaultTest,
    ::testing::Values(EngineFault{"KilledInTheSearch", "on go => !kill\n"},
                      EngineFault{"ExitsInTheSearch", "on go => !exit\n"},
                      EngineFault{"ClosesItsOutputAndRunsOn", "on go => !close\n"},
                      EngineFault{"NeverAnswersGoNorQuestionMark", "ignore-quit\n"},
                      EngineFault{"FloodsMegabytesOfThinking", "on go => !flood 60000\non go => move e7e5\n"},
                      EngineFault{"WritesAOneMegabyteLine",
                                  "on go => !longline 1048576\non go => move e7e5\n"},
                      EngineFault{"WritesBinaryNoise", "on go => !garbage 1048576\non go => move e7e5\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FaultsTest, AnEngineThatDiesInItsStartSequenceEndsTheAdapter) {
    Start("on protover 2 => !kill\n");
    host_->Send("uci");
    ASSERT_TRUE(host_->WaitFor("uciok"));
    host_->Send("isready");
    EXPECT_TRUE(host_->Raw().WaitExit(5s).has_value());
}

TEST_F(FaultsTest, QuitWhileTheEngineStarts) {
    Start("on protover 2 => !sleep 3000\n");
    host_->Send("uci");
    ASSERT_TRUE(host_->WaitFor("uciok"));
    host_->Send("isready");
    host_->Send("quit");
    EXPECT_TRUE(host_->Raw().WaitExit(10s).has_value());
}

// Lines a host should not send in that order, many times over: one bestmove per search still.
TEST_F(FaultsTest, StormsOfStopPonderhitIsReadyAndGo) {
    Start("on go => !sleep 200\non go => move e7e5\non ? => move e7e5\n");
    ASSERT_TRUE(host_->Handshake());
    host_->Send("position startpos moves e2e4");
    host_->Send("go ponder wtime 20000 btime 20000");
    for (int i = 0; i < 500; ++i) host_->Send(i % 3 == 0 ? "ponderhit" : i % 3 == 1 ? "isready" : "stop");
    ASSERT_TRUE(host_->WaitBestMove(15s));
    for (int i = 0; i < 300; ++i) host_->Send("isready");
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(host_->WaitFor("readyok", 10s));
}

TEST_F(FaultsTest, AOneMegabyteHostLineAndInputEndingInTheMiddleOfALine) {
    Start("on go => move e7e5\n");
    ASSERT_TRUE(host_->Handshake());
    host_->Send("setoption name InitString value " + std::string(1 << 20, 'y'));
    host_->Send("isready");
    EXPECT_TRUE(host_->WaitFor("readyok", 10s));
    host_->Raw().Write("position startpos moves e2e4\ngo wtime 1000 btime 1000");
    host_->Raw().CloseInput();
    EXPECT_EQ(host_->Raw().WaitExit(10s), 0);
    host_.reset();
    EXPECT_TRUE(NoProcessLeftIn(dir_.Path(), 7s));
}

// Knights out and back: a game as long as wanted.
std::string Shuffle(int plies) {
    static const char* kCycle[] = {" g1f3", " g8f6", " f3g1", " f6g8"};
    std::string moves;
    for (int ply = 0; ply < plies; ++ply) moves += kCycle[ply % 4];
    return moves;
}

// Beyond the adapter's game record (1,024 moves) the game starts from a later position, once,
// and the engine follows move by move again.
TEST_F(FaultsTest, AGameLongerThanTheGameRecordStaysInStep) {
    Start("on go => move g8f6\non b1c3 => move f6g8\n");
    ASSERT_TRUE(host_->Handshake());
    host_->Send("position startpos moves" + Shuffle(1101));
    host_->Send("go wtime 20000 btime 20000");
    EXPECT_EQ(host_->WaitBestMove(15s), "bestmove g8f6");
    size_t firstSearch = testing_support::ReadLines(dir_.File("engine.log")).size();
    host_->Send("position startpos moves" + Shuffle(1101) + " g8f6 b1c3");
    host_->Send("go wtime 20000 btime 20000");
    EXPECT_EQ(host_->WaitBestMove(15s), "bestmove f6g8");
    auto all = testing_support::ReadLines(dir_.File("engine.log"));
    std::vector<std::string> secondSearch(all.begin() + static_cast<long>(firstSearch), all.end());
    EXPECT_EQ(std::count(secondSearch.begin(), secondSearch.end(), "new"), 0)
        << "the engine was set up again";
    EXPECT_NE(std::find(secondSearch.begin(), secondSearch.end(), "b1c3"), secondSearch.end());
}

}  // namespace
