#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "Log.h"
#include "PriorityWatchdog.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

using testing_support::ReadLines;
using testing_support::TempDir;

// Runs a test in a temporary directory, where Pontax.log is written.
class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = ::getcwd(nullptr, 0);
        ASSERT_EQ(::chdir(dir_.Path().c_str()), 0);
    }
    void TearDown() override {
        CloseLogFile();
        ASSERT_EQ(::chdir(old_), 0);
        std::free(old_);
    }
    std::vector<std::string> LogLines() { return ReadLines(dir_.File("Pontax.log")); }

    TempDir dir_;
    char* old_ = nullptr;
};

TEST_F(LogTest, BufferedEntriesReachTheFileWhenItOpens) {
    BeginLogBuffering();
    WriteLog("Pontax 1.3B10", log_tag::kVersion);
    WriteLog("uci", log_tag::kFromGui);
    OpenLogFile();
    WriteLog("two\nlines", log_tag::kToEngine);
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(
        std::regex_match(lines[0], std::regex(R"(=== pontax started \d{4}-\d\d-\d\d \d\d:\d\d:\d\d ===)")))
        << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d+\.\d{3}: \*\* Adapter: Pontax 1\.3B10)")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(\d+\.\d{3}: C> uci)"))) << lines[2];
    // Each line of a command of several lines carries its time.
    EXPECT_TRUE(std::regex_match(lines[3], std::regex(R"(\d+\.\d{3}: S< two)"))) << lines[3];
    EXPECT_TRUE(std::regex_match(lines[4], std::regex(R"(\d+\.\d{3}: S< lines)"))) << lines[4];
    EXPECT_NE(dir_.Read("Pontax.log").find("uci\r\n"), std::string::npos);
}

TEST_F(LogTest, DiscardingOrClosingDropsTheBufferForGood) {
    BeginLogBuffering();
    WriteLog("dropped", log_tag::kFromGui);
    DiscardLogBuffer();
    WriteLog("not logged", log_tag::kFromGui);
    OpenLogFile();
    WriteLog("kept", log_tag::kFromGui);
    CloseLogFile();
    WriteLog("after close", log_tag::kFromGui);
    OpenLogFile();
    OpenLogFile();
    WriteLog("appended", log_tag::kFromGui);
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind("=== pontax started ", 0), 0u);
    EXPECT_NE(lines[1].find("C> kept"), std::string::npos);
    EXPECT_EQ(lines[2].rfind("=== pontax started ", 0), 0u);  // each opening is marked
    EXPECT_NE(lines[3].find("C> appended"), std::string::npos);
}

// A host that never sends "isready" leaves the log's fate open: what is held stays bounded, and
// the file says how much it misses.
TEST_F(LogTest, HeldEntriesStopAtAMegabyteAndTheFileSaysHowManyMore) {
    BeginLogBuffering();
    const std::string position = "position startpos moves" + std::string(10000, 'x');
    for (int i = 0; i < 200; ++i) WriteLog(position, log_tag::kFromGui);
    OpenLogFile();
    auto lines = LogLines();
    ASSERT_GE(lines.size(), 3u);
    size_t held = lines.size() - 2;
    EXPECT_GT(held, 90u);
    EXPECT_LT(held, 110u);
    std::string note = R"(\d+\.\d{3}: - )" + std::to_string(200 - held) +
                       " later entries from before the log opened were not kept\\.";
    EXPECT_TRUE(std::regex_match(lines.back(), std::regex(note))) << lines.back();
}

TEST_F(LogTest, PriorityLinesNameTheValues) {
    OpenLogFile();
    LogPriorityClass(16384);
    LogPriorityClass(64);
    LogThreadPriority(-15);
    LogThreadPriority(7);
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(lines[1].find("S- Priority class set to 16384"), std::string::npos);
    EXPECT_NE(lines[2].find("S- Priority class set to idle"), std::string::npos);
    EXPECT_NE(lines[3].find("S- Thread priority set to idle"), std::string::npos);
    EXPECT_NE(lines[4].find("S- Thread priority set to 7"), std::string::npos);
}

TEST_F(LogTest, AnUnopenableLogLeavesLoggingOff) {
    ASSERT_EQ(::mkdir(dir_.File("Pontax.log").c_str(), 0755), 0);  // a directory cannot be opened
    BeginLogBuffering();
    WriteLog("x", log_tag::kFromGui);
    OpenLogFile();
    EXPECT_FALSE(IsLogFileOpen());
    WriteLog("y", log_tag::kFromGui);
}

}  // namespace
}  // namespace pontax
