// Runs the real pontax binary against the scriptable fake engine.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/support/ProcessHarness.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Process;
using testing_support::ReadLines;
using testing_support::TempDir;

// A directory with a configuration file, an engine script and the engine's record of what it got.
class PontaxTest : public ::testing::Test {
protected:
    void Configure(const std::string& options, const std::string& script, const std::string& extra = "") {
        dir_.Write("Pontax.eng", "[ENGINE]\nName=Fake\n" + extra + "[OPTIONS]\nProgram=" +
                                     std::string(FAKE_ENGINE_PATH) + " " + dir_.Path() + "\n" + options);
        dir_.Write("script", script);
    }
    // Starts pontax, waits for its answer to "isready" and lets it quit; how long the answer took.
    std::chrono::steady_clock::duration TimeToReady() {
        auto pontax = Start();
        auto start = std::chrono::steady_clock::now();
        pontax->Send("isready");
        EXPECT_TRUE(pontax->WaitFor("readyok"));
        auto waited = std::chrono::steady_clock::now() - start;
        pontax->Send("quit");
        EXPECT_EQ(pontax->WaitExit(), 0);
        return waited;
    }
    std::unique_ptr<Process> Start(std::vector<std::string> args = {}) {
        args.insert(args.begin(), PONTAX_PATH);
        return std::make_unique<Process>(
            args, dir_.Path(),
            std::vector<std::string>{"FAKE_ENGINE_SCRIPT=" + dir_.File("script"),
                                     "FAKE_ENGINE_LOG=" + dir_.File("engine.log")});
    }
    std::vector<std::string> EngineGot() { return ReadLines(dir_.File("engine.log")); }
    std::vector<std::string> Log() { return ReadLines(dir_.File("Pontax.log")); }
    bool LogHas(const std::string& text) { return testing_support::AnyLineHas(Log(), text); }

    void QuitWithStubbornEngine(const std::string& options, std::chrono::milliseconds exitWithin);

    TempDir dir_;
};

constexpr const char* kQuickFeatures =
    "on protover 2 => feature setboard=1 usermove=1 myname=\"Fake Engine 1\" done=1\n";

TEST_F(PontaxTest, UciWithoutConfigurationNamesNobodyAndEndsAtEndOfInput) {
    auto pontax = Start();
    pontax->Send("uci");
    ASSERT_TRUE(pontax->WaitFor("uciok"));
    const auto& seen = pontax->Seen();
    EXPECT_EQ(seen.front(), "id name <empty>");
    EXPECT_EQ(seen[1], "id author <empty>");
    EXPECT_EQ(seen.size(), 2u + 26u + 1u);
    pontax->CloseInput();
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, ProtocolTwoStartSequence) {
    Configure(
        "Hash=32\nHashCommand=memory\nInitString=st 5\\nsd 9\n"
        "Threads=3\n",
        kQuickFeatures, "[EXTRAS]\nThreads=cores %i|spin|1|1|8\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("uci");
    ASSERT_TRUE(pontax->WaitFor("uciok"));
    EXPECT_EQ(pontax->Seen()[1], "id name Fake Engine 1");
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
    EXPECT_EQ(EngineGot(),
              (std::vector<std::string>{"xboard", "protover 2", "accepted setboard", "accepted usermove",
                                        "accepted myname", "accepted done", "new", "level 0 5 0", "st 5",
                                        "sd 9", "post", "memory 32", "hard", "easy", "cores 3", "quit"}));
}

TEST_F(PontaxTest, ProtocolOneWaitsInitTimeAndSendsNoProtover) {
    Configure("Protocol=1\nInitTime=1\nPonder=false\nNoise=-1\nHashOnCommandline=true\nHashCommand=-m\n", "");
    EXPECT_GE(TimeToReady(), 900ms);
    EXPECT_EQ(EngineGot(),
              (std::vector<std::string>{"xboard", "new", "level 0 5 0", "nopost", "hard", "easy", "quit"}));
}

// An engine that stays silent is nudged with empty lines for as long as its features are waited for
// (GNU Chess can hold its answer back for seconds on a busy machine), and no longer.
TEST_F(PontaxTest, ASilentEngineIsNudgedThroughTheWholeInitTime) {
    Configure("InitTime=2\n", "");
    auto waited = TimeToReady();
    EXPECT_GE(waited, 1900ms);
    EXPECT_LT(waited, 3500ms);
    auto got = EngineGot();
    EXPECT_GE(std::count(got.begin(), got.end(), ""), 15);
}

TEST_F(PontaxTest, HashOnTheCommandLineGoesToTheEngineArguments) {
    dir_.Write("engine.sh",
               "#!/bin/sh\necho \"$@\" > args.txt\nexec " + std::string(FAKE_ENGINE_PATH) + "\n");
    ASSERT_EQ(::chmod(dir_.File("engine.sh").c_str(), 0755), 0);
    dir_.Write("Pontax.eng",
               "[OPTIONS]\nProgram=./engine.sh -x\nHashOnCommandline=1\nHashCommand=--hash %i\n"
               "Hash=64\nHashFormula=hash/2\nInitTime=0\n");
    dir_.Write("script", kQuickFeatures);
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
    EXPECT_EQ(dir_.Read("args.txt"), "-x --hash 32\n");
}

TEST_F(PontaxTest, DoneZeroHoldsTheStartUntilDoneOne) {
    Configure("InitTime=0\n",
              "on protover 2 => feature done=0\non protover 2 => !sleep 1500\n"
              "on protover 2 => feature done=1\n");
    auto pontax = Start();
    auto start = std::chrono::steady_clock::now();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1400ms);
    // "readyok" follows the start sequence out of pontax; the engine may still be reading it.
    auto got = EngineGot();
    for (int i = 0; i < 500 && std::find(got.begin(), got.end(), "new") == got.end(); ++i) {
        std::this_thread::sleep_for(10ms);
        got = EngineGot();
    }
    auto firstNew = std::find(got.begin(), got.end(), "new");
    ASSERT_NE(firstNew, got.end());
    EXPECT_EQ(std::count(got.begin(), firstNew, "accepted done"), 2);
    pontax->CloseInput();
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, AnEngineThatNeverAnswersCostsTheInitialWaitOnly) {
    Configure("InitTime=0\n", "");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok", 5s));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, AMissingEngineIsReportedAndEndsTheAdapter) {
    dir_.Write("Pontax.eng", "[OPTIONS]\nProgram=./no-such-engine -x\nLogfile=true\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("info string Error starting engine."));
    EXPECT_EQ(pontax->WaitExit(), 0);
    EXPECT_EQ(std::count(pontax->Seen().begin(), pontax->Seen().end(), "readyok"), 0);
    EXPECT_TRUE(LogHas("S- Starting server: ./no-such-engine -x"));
    EXPECT_TRUE(LogHas("S- Error starting server program."));
}

TEST_F(PontaxTest, NoProgramConfiguredIsAStartError) {
    auto pontax = Start();
    pontax->Send("isready");
    EXPECT_TRUE(pontax->WaitFor("info string Error starting engine."));
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, AnEngineThatExitsAtOnceEndsTheAdapterQuietly) {
    Configure("InitTime=5\n", "start !exit\n");
    auto pontax = Start();
    auto start = std::chrono::steady_clock::now();
    pontax->Send("isready");
    EXPECT_EQ(pontax->WaitExit(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST_F(PontaxTest, AFloodingEngineDoesNotHangTheAdapter) {
    Configure("InitTime=0\n", "flood 200000\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok", 20s));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(20s), 0);
}

TEST_F(PontaxTest, ACommandLineFileThatCannotBeReadFallsBackToPontaxEng) {
    Configure("", kQuickFeatures);
    dir_.Write("my engine.eng", "[ENGINE]\nName=Spaced\n");
    auto pontax = Start({"my", "engine.eng"});
    pontax->Send("uci");
    ASSERT_TRUE(pontax->WaitFor("uciok"));
    EXPECT_EQ(pontax->Seen()[0], "id name Spaced");
    pontax->CloseInput();
    EXPECT_EQ(pontax->WaitExit(), 0);

    auto fallback = Start({"missing.eng"});
    fallback->Send("uci");
    ASSERT_TRUE(fallback->WaitFor("uciok"));
    EXPECT_EQ(fallback->Seen()[0], "id name Fake");
}

TEST_F(PontaxTest, DispatcherMatchesWholeLinesExactly) {
    Configure("InitTime=0\n", kQuickFeatures);
    auto pontax = Start();
    for (const char* ignored : {"ISREADY", "isready now", "uci x", "ucinewgame", "debug on", "", "   ",
                                "stop", "position startpos"})
        pontax->Send(ignored);
    pontax->Send("  isready  ");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    EXPECT_EQ(pontax->Seen(), (std::vector<std::string>{"readyok"}));
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, SetOptionReachesARunningEngine) {
    Configure("InitTime=0\n", kQuickFeatures, "[EXTRAS]\nClear Hash=clearhash|button\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("setoption name Clear   Hash");
    pontax->Send("setoption name Hash value 8");
    pontax->Send("setoption name HashCommand value cache %i MB");
    pontax->Send("setoption name Hash value 9");
    pontax->Send("setoption name Ponder value false");
    pontax->Send("setoption name Noise value -1");
    pontax->Send("setoption name Computer value true");
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
    auto got = EngineGot();
    auto hard = std::find(got.begin(), got.end(), "hard");
    ASSERT_NE(hard, got.end());
    EXPECT_EQ(std::vector<std::string>(hard + 1, got.end()),
              (std::vector<std::string>{"easy", "clearhash", "cache 9 MB", "hard", "easy", "nopost",
                                        "computer", "quit"}));
}

TEST_F(PontaxTest, TheLogFileHoldsTheWholeStartUp) {
    Configure("InitTime=0\nLogfile=true\n", kQuickFeatures);
    auto pontax = Start();
    pontax->Send("uci");
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
    auto log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].rfind("=== pontax started ", 0), 0u) << log[0];
    EXPECT_TRUE(std::regex_match(log[1], std::regex(R"(0\.\d{3}: \*\* Adapter: Pontax 1\.3B10)"))) << log[1];
    for (const char* text : {"C> uci", "C< id name Fake", "C< uciok", "C> isready",
                             "S- Starting server: ", "S< xboard", "S< protover 2", "S> feature setboard=1",
                             "S< accepted setboard", "S< new", "C< readyok", "C> quit", "S< quit"})
        EXPECT_TRUE(LogHas(text)) << text;
}

TEST_F(PontaxTest, WithoutALogfileSettingNothingIsWrittenUntilItIsSwitchedOn) {
    Configure("InitTime=0\n", kQuickFeatures);
    auto pontax = Start();
    pontax->Send("uci");
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("setoption name Logfile value true");
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
    auto log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_NE(log[1].find("C> isready"), std::string::npos);
    EXPECT_FALSE(LogHas("uciok"));
}

// Quits an adapter whose engine ignores "quit"; the engine must be gone when the adapter is.
void PontaxTest::QuitWithStubbornEngine(const std::string& options, std::chrono::milliseconds exitWithin) {
    Configure("InitTime=0\n" + options, std::string(kQuickFeatures) + "ignore-quit\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_FALSE(engines.empty());
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(exitWithin), 0);
    // An engine ended by the end of its input needs a moment of its own to go, on a busy machine too.
    auto gone = [&] { return std::none_of(engines.begin(), engines.end(), testing_support::ProcessExists); };
    for (int i = 0; i < 100 && !gone(); ++i) std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(gone());
}

TEST_F(PontaxTest, TerminateHardKillsAnEngineThatIgnoresQuit) {
    QuitWithStubbornEngine("TerminateHard=true\n", 15s);
}

TEST_F(PontaxTest, AnEngineThatIgnoresQuitIsStillEndedWhenTheAdapterExits) { QuitWithStubbornEngine("", 5s); }

// Without TerminateHard the adapter's own exit is not delayed: an engine that saves its files on
// "quit" gets its grace to end by itself, and is ended after it even though the adapter has gone.
TEST_F(PontaxTest, WithoutTerminateHardTheEngineGetsItsGraceAfterTheAdapterHasGone) {
    Configure("InitTime=0\n", std::string(kQuickFeatures) + "ignore-quit\nlinger\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_FALSE(engines.empty());
    auto sent = std::chrono::steady_clock::now();
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(5s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, 1s);
    std::this_thread::sleep_for(2s);
    for (pid_t pid : engines) EXPECT_TRUE(testing_support::ProcessExists(pid)) << "ended before its grace";
    auto gone = [&] { return std::none_of(engines.begin(), engines.end(), testing_support::ProcessExists); };
    for (int i = 0; i < 150 && !gone(); ++i) std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(gone());
}

long CpuTicksOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    long ticks = 0;
    for (int i = 1; i <= 15 && in >> field; ++i)
        if (i == 14 || i == 15) ticks += std::atol(field.c_str());  // user and system time
    return ticks;
}

// A GUI that pauses the adapter (SIGSTOP) pauses its engine too, and lets both go on together.
TEST_F(PontaxTest, AStoppedAdapterStopsItsEngine) {
    Configure("InitTime=0\n", std::string(kQuickFeatures) + "on analyze => !spin 30000\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_EQ(engines.size(), 1u);
    pontax->Send("position startpos");
    pontax->Send("go infinite");
    const long hz = ::sysconf(_SC_CLK_TCK);
    for (int i = 0; i < 100 && CpuTicksOf(engines[0]) < hz / 5; ++i) std::this_thread::sleep_for(20ms);
    ASSERT_GE(CpuTicksOf(engines[0]), hz / 5) << "the engine does not think";
    pontax->Kill(SIGSTOP);
    std::this_thread::sleep_for(300ms);  // the watcher looks every 100 ms
    long before = CpuTicksOf(engines[0]);
    std::this_thread::sleep_for(1s);
    EXPECT_LE(CpuTicksOf(engines[0]) - before, hz / 10) << "the engine ran on while the adapter was stopped";
    pontax->Kill(SIGCONT);
    std::this_thread::sleep_for(300ms);
    before = CpuTicksOf(engines[0]);
    std::this_thread::sleep_for(1s);
    EXPECT_GE(CpuTicksOf(engines[0]) - before, hz / 4) << "the engine was not let go on";
    pontax->Kill(SIGKILL);
}

// A stopped adapter whose GUI has gone would never go on: it ends, and its engine with it.
TEST_F(PontaxTest, AStoppedAdapterWhoseGuiHasGoneEndsWithItsEngine) {
    Configure("InitTime=0\n", std::string(kQuickFeatures) + "linger\n");
    Process gui(
        {"/bin/sh", "-c",
         std::string("{ echo isready; exec sleep 20 2>/dev/null; } | ") + PONTAX_PATH + " & echo $!; wait"},
        dir_.Path(),
        {"FAKE_ENGINE_SCRIPT=" + dir_.File("script"), "FAKE_ENGINE_LOG=" + dir_.File("engine.log")});
    auto line = gui.ReadLine(5s);
    ASSERT_TRUE(line.has_value());
    const pid_t adapter = std::atoi(line->c_str());
    std::vector<pid_t> engines;
    for (int i = 0; i < 250 && engines.empty(); ++i) {
        engines = testing_support::ProcessesMatching(dir_.Path());
        std::this_thread::sleep_for(20ms);
    }
    ASSERT_EQ(engines.size(), 1u);
    ::kill(adapter, SIGSTOP);
    std::this_thread::sleep_for(300ms);
    gui.Kill(SIGKILL);
    gui.WaitExit();
    auto gone = [&] {
        return !testing_support::ProcessExists(adapter) && !testing_support::ProcessExists(engines[0]);
    };
    for (int i = 0; i < 50 && !gone(); ++i) std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(gone());
}

// The engine would outlive the end of its input; the watcher ends it with the adapter.
TEST_F(PontaxTest, KillingTheAdapterKillsItsEngine) {
    Configure("InitTime=0\n", std::string(kQuickFeatures) + "linger\n");
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_FALSE(engines.empty());
    pontax->Kill(SIGKILL);
    pontax->WaitExit();
    std::this_thread::sleep_for(1s);
    for (pid_t pid : engines) EXPECT_FALSE(testing_support::ProcessExists(pid));
}

int NiceOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 0; i < 19 && in >> field; ++i) {
    }
    return std::atoi(field.c_str());
}

// A GUI that starts pontax below normal priority: pontax runs at normal priority itself, the
// engine gets the GUI's priority, and a later Priority setting reaches the engine's main thread.
TEST_F(PontaxTest, PrioritiesArePassedOnToTheEngine) {
    if (::geteuid() != 0) GTEST_SKIP() << "raising a priority back to normal needs root";
    Configure("InitTime=0\nLogfile=true\n", kQuickFeatures);
    Process pontax(
        {"/usr/bin/nice", "-n", "10", PONTAX_PATH}, dir_.Path(),
        {"FAKE_ENGINE_SCRIPT=" + dir_.File("script"), "FAKE_ENGINE_LOG=" + dir_.File("engine.log")});
    pontax.Send("isready");
    ASSERT_TRUE(pontax.WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_EQ(engines.size(), 1u);
    EXPECT_EQ(NiceOf(pontax.Pid()), 0);
    EXPECT_EQ(NiceOf(engines[0]), 10);
    EXPECT_TRUE(LogHas("S- Priority class set to 16384"));
    pontax.Send("setoption name Priority value Low");
    for (int i = 0; i < 80 && NiceOf(engines[0]) != 19; ++i) std::this_thread::sleep_for(100ms);
    EXPECT_EQ(NiceOf(engines[0]), 19);
    EXPECT_TRUE(LogHas("S- Thread priority set to idle"));
    pontax.Send("quit");
    EXPECT_EQ(pontax.WaitExit(), 0);
}

TEST_F(PontaxTest, RunIdleRunsTheEngineAtIdlePriority) {
    Configure("InitTime=0\nRunIdle=true\n", kQuickFeatures);
    auto pontax = Start();
    pontax->Send("isready");
    ASSERT_TRUE(pontax->WaitFor("readyok"));
    auto engines = testing_support::ProcessesMatching(dir_.Path());
    ASSERT_EQ(engines.size(), 1u);
    EXPECT_EQ(NiceOf(engines[0]), 19);
    pontax->Send("quit");
    EXPECT_EQ(pontax->WaitExit(), 0);
}

TEST_F(PontaxTest, EngineExitingByItselfEndsTheAdapterWithoutAMessage) {
    Configure("InitTime=0\n", std::string(kQuickFeatures) + "on new => !exit\n");
    auto pontax = Start();
    pontax->Send("isready");
    EXPECT_EQ(pontax->WaitExit(5s), 0);
    for (const auto& line : pontax->Seen()) EXPECT_EQ(line.find("info string"), std::string::npos) << line;
}

}  // namespace
