// What only the Windows build does on its own: Pontax.exe under wine, with the Windows build of the
// fake engine, started the way a Windows GUI starts it. The search dialogue itself is the same
// suite the Linux build passes (SearchProcessTest.cpp, built into this executable as well).
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/adapter/core/FakeEngineTest.h"

namespace {

using namespace std::chrono_literals;
using testing_support::PathForPontax;
using testing_support::ProcessesMatching;
using testing_support::ReadLines;
using Lines = std::vector<std::string>;

class WineTest : public testing_support::FakeEngineTest {
protected:
    // The engine copied into a folder whose name has blanks, as under "Program Files".
    std::string InstallEngine(const std::string& folder, const std::string& name) {
        std::filesystem::create_directories(dir_.File(folder));
        std::filesystem::copy_file(FAKE_ENGINE_PATH, dir_.File(folder + "/" + name));
        return dir_.File(folder + "/" + name);
    }
    bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            if (condition()) return true;
            std::this_thread::sleep_for(20ms);
        }
        return condition();
    }
    void SearchWithEngineIn(const std::string& programLine);
};

bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Plays one search with the engine named by the given Program line, an engine installed in a folder
// with blanks, from a configuration written on Windows and named by two arguments the system
// split at its blank. The engine's record is relative, so it lands in the engine's working
// directory, which must be its own folder.
void WineTest::SearchWithEngineIn(const std::string& programLine) {
    dir_.Write("my engine.eng", "[ENGINE]\r\nName=Fake\r\nAuthor=Nobody\r\n[OPTIONS]\r\nProgram=" +
                                    programLine + "\r\nInitTime=0\r\nLogfile=true\r\n");
    WriteScript("myname=\"Fake Engine 1\"", "on go => move e2e4\n");
    host_ = std::make_unique<testing_support::UciHost>(
        testing_support::PontaxCommand({"my", "engine.eng"}), dir_.Path(),
        std::vector<std::string>{"FAKE_ENGINE_SCRIPT=" + PathForPontax(dir_.File("script")),
                                 "FAKE_ENGINE_LOG=engine.log"});
    host_->Send("uci");
    ASSERT_TRUE(host_->WaitFor("uciok"));
    host_->Send("isready");
    ASSERT_TRUE(host_->WaitFor("readyok"));
    host_->Send("position startpos");
    host_->Send("go wtime 10000 btime 10000");
    EXPECT_EQ(host_->WaitBestMove(10s), "bestmove e2e4");
    std::string record = dir_.File("Engine Folder/engine.log");
    ASSERT_TRUE(WaitUntil([&] { return Has(ReadLines(record), "go"); }));
    Lines got = ReadLines(record);
    EXPECT_EQ(got.at(0), "xboard");
    EXPECT_EQ(got.at(1), "protover 2");
    EXPECT_TRUE(Has(got, "accepted myname"));
    EXPECT_EQ(host_->Quit(10s), 0);
    host_.reset();
    EXPECT_TRUE(Has(ReadLines(record), "quit"));
}

TEST_F(WineTest, AnUnquotedProgramInAFolderWithBlanks) {
    SearchWithEngineIn(PathForPontax(InstallEngine("Engine Folder", "fake engine.exe")));
}

TEST_F(WineTest, AQuotedProgramWithAnArgumentAndNoExe) {
    std::string engine = PathForPontax(InstallEngine("Engine Folder", "fake engine.exe"));
    SearchWithEngineIn("\"" + engine.substr(0, engine.size() - 4) + "\" --xboard");
}

// The log is a Windows text file: CR LF line ends, the version first, both directions tagged.
TEST_F(WineTest, TheLogFileHasWindowsLineEnds) {
    Start("", "", "on go => move e2e4\n");
    Position("startpos");
    Go(" wtime 10000 btime 10000");
    EXPECT_EQ(UntilBestMove().back(), "bestmove e2e4");
    EXPECT_EQ(host_->Quit(10s), 0);
    host_.reset();
    std::string log = dir_.Read("Pontax.log");
    EXPECT_EQ(log.rfind("=== pontax started ", 0), 0u) << log.substr(0, 80);
    EXPECT_NE(log.find("** Adapter: Pontax 1.3B10\r\n"), std::string::npos);
    EXPECT_NE(log.find("C> isready\r\n"), std::string::npos);
    EXPECT_NE(log.find("S< protover 2\r\n"), std::string::npos);
    EXPECT_NE(log.find("S> move e2e4\r\n"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), std::count(log.begin(), log.end(), '\r'));
}

TEST_F(WineTest, AnEngineThatCannotBeStartedIsReported) {
    dir_.Write("Pontax.eng", "[OPTIONS]\r\nProgram=Z:\\no\\such\\engine.exe -x\r\nLogfile=true\r\n");
    host_ = std::make_unique<testing_support::UciHost>(testing_support::PontaxCommand(), dir_.Path());
    host_->Send("uci");
    ASSERT_TRUE(host_->WaitFor("uciok"));
    host_->Send("isready");
    EXPECT_TRUE(host_->WaitFor("info string Error starting engine."));
    EXPECT_EQ(host_->Raw().WaitExit(10s), 0);
    host_.reset();
    EXPECT_TRUE(LogHas("S- Error starting server program."));
}

// The engine ends with the adapter even when nobody could tell it to, and it would not end at the
// end of its input: the job object kills it.
TEST_F(WineTest, AKilledAdapterTakesItsEngineAlong) {
    std::string engine = InstallEngine("job", "lone-engine.exe");
    std::string marker = std::filesystem::path(dir_.Path()).filename().string();
    dir_.Write("Pontax.eng", "[OPTIONS]\nProgram=" + PathForPontax(engine) + "\nInitTime=0\n");
    WriteScript("", "ignore-quit\nlinger\n");
    host_ = std::make_unique<testing_support::UciHost>(testing_support::PontaxCommand(), dir_.Path(),
                                                       EngineEnvironment());
    ASSERT_TRUE(host_->Handshake());
    ASSERT_TRUE(WaitUntil([&] { return !ProcessesMatching(marker + "\\job\\lone-engine.exe").empty(); }));
    host_->Raw().Kill(SIGKILL);
    host_->Raw().WaitExit(10s);
    host_.reset();
    EXPECT_TRUE(WaitUntil([&] { return ProcessesMatching(marker + "\\job\\lone-engine.exe").empty(); }));
}

// TerminateHard: an engine that ignores "quit" and keeps its input open is ended by
// TerminateProcess after the wait, and the adapter still exits with 0.
TEST_F(WineTest, AnEngineIgnoringQuitIsTerminated) {
    std::string engine = InstallEngine("stubborn", "stubborn-engine.exe");
    std::string marker = std::filesystem::path(dir_.Path()).filename().string() + "\\stubborn\\";
    dir_.Write("Pontax.eng",
               "[OPTIONS]\nProgram=" + PathForPontax(engine) + "\nInitTime=0\nTerminateHard=true\n");
    WriteScript("", "ignore-quit\n");
    host_ = std::make_unique<testing_support::UciHost>(testing_support::PontaxCommand(), dir_.Path(),
                                                       EngineEnvironment());
    ASSERT_TRUE(host_->Handshake());
    ASSERT_FALSE(ProcessesMatching(marker).empty());
    EXPECT_EQ(host_->Quit(15s), 0);
    host_.reset();
    EXPECT_EQ(EngineLines().back(), "quit");
    EXPECT_TRUE(ProcessesMatching(marker).empty());
}

}  // namespace
