// A UCI host nobody here wrote: polyglot runs pontax as its UCI engine and is driven over its
// xboard side through a short game and an analysis session.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::LegalityOracle;
using testing_support::Process;
using testing_support::TempDir;

constexpr const char* kPolyglot = "/usr/games/polyglot";

// Reads polyglot's output until a line matches; returns it, or nullopt on timeout.
std::optional<std::string> WaitForLine(Process& polyglot, const std::regex& pattern,
                                       std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        auto line = polyglot.ReadLine(left);
        if (!line) return std::nullopt;
        if (std::regex_match(*line, pattern)) return line;
    }
}

TEST(PolyglotTest, PlaysAShortGameAndAnalysesThroughPontax) {
    for (const char* program : {kPolyglot, "/usr/games/fairymax", "/usr/games/stockfish"})
        if (!std::filesystem::exists(program)) GTEST_SKIP() << program << " is not installed";
    TempDir dir;
    std::filesystem::create_symlink("/usr/games/fairymax", dir.File("fairymax"));
    dir.Write("Pontax.eng", "[ENGINE]\nName=Fairy-Max\n[OPTIONS]\nProgram=./fairymax\nLogfile=true\n");
    dir.Write("polyglot.ini", "[PolyGlot]\nEngineCommand = " + std::string(PONTAX_PATH) +
                                  "\nEngineDir = " + dir.Path() + "\nBook = false\n");
    Process polyglot({kPolyglot, dir.File("polyglot.ini")}, dir.Path(), {"HOME=" + dir.Path()});
    polyglot.Send("xboard");
    polyglot.Send("protover 2");
    ASSERT_TRUE(WaitForLine(polyglot, std::regex("feature done=1"), 30s));
    polyglot.Send("new");
    polyglot.Send("st 1");
    polyglot.Send("post");
    LegalityOracle oracle;
    std::string moves;
    const std::regex engineMove(R"(move ([a-h][1-8][a-h][1-8][qrbn]?))");
    for (int turn = 0; turn < 4; ++turn) {
        auto legal = oracle.LegalMoves("startpos moves" + moves);
        ASSERT_FALSE(legal.empty());
        std::string ours = legal[legal.size() / 2];
        polyglot.Send("usermove " + ours);
        moves += " " + ours;
        auto reply = WaitForLine(polyglot, engineMove, 20s);
        ASSERT_TRUE(reply) << "no engine move after" << moves;
        std::string theirs = reply->substr(5);
        auto replies = oracle.LegalMoves("startpos moves" + moves);
        EXPECT_NE(std::find(replies.begin(), replies.end(), theirs), replies.end())
            << theirs << " after" << moves;
        moves += " " + theirs;
    }
    polyglot.Send("force");
    polyglot.Send("analyze");
    EXPECT_TRUE(WaitForLine(polyglot, std::regex(R"(\d+ [-+]?\d+ \d+ \d+ .*)"), 20s)) << "no analysis output";
    polyglot.Send("exit");
    polyglot.Send("quit");
    EXPECT_TRUE(polyglot.WaitExit(20s).has_value());
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(testing_support::ProcessesIn(dir.Path()).empty());
}

}  // namespace
