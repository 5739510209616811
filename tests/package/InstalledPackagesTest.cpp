// The Debian packages as a user gets them: installed with dpkg, the installed pontax plays
// searches with fairymax from an installed example configuration, with a strict host judging
// every line, and dravel's files are where the desktop looks for them. The test command installs
// the packages before it runs these.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::ReadLines;
using testing_support::TempDir;
using testing_support::UciHost;

const std::string kPrefix = INSTALL_PREFIX;

TEST(InstalledPontaxTest, PlaysFairymaxFromTheInstalledExampleConfiguration) {
    TempDir dir;
    UciHost host({kPrefix + "/bin/pontax", kPrefix + "/share/doc/pontax/examples/fairymax.eng"}, dir.Path());
    ASSERT_TRUE(host.Handshake());
    host.Send("position startpos moves e2e4");
    host.Send("go wtime 2000 btime 2000 winc 0 binc 0");
    auto move = host.WaitBestMove(10s);
    ASSERT_TRUE(move.has_value());
    host.Send("position startpos moves e2e4 " + move->substr(9, 4));
    host.Send("go movetime 300");
    EXPECT_TRUE(host.WaitBestMove(10s).has_value());
    EXPECT_EQ(host.Quit(10s), 0);
    EXPECT_TRUE(host.Violations().empty()) << testing_support::Describe(host.Violations());
}

TEST(InstalledPontaxTest, ManPagesAndHelpPageAreInPlace) {
    for (const char* file : {"/share/man/man1/pontax.1.gz", "/share/doc/pontax/Pontax.html",
                             "/share/doc/pontax/Pontax.eng", "/share/doc/pontax/examples/gnuchess.eng"})
        EXPECT_TRUE(std::filesystem::exists(kPrefix + file)) << file;
}

TEST(InstalledDravelTest, GameProgramsDesktopEntryAndIconAreInPlace) {
    for (const char* file : {"/games/dravel", "/games/kelvane", "/share/man/man6/dravel.6.gz",
                             "/share/man/man6/kelvane.6.gz", "/share/icons/hicolor/48x48/apps/dravel.png"})
        EXPECT_TRUE(std::filesystem::exists(kPrefix + file)) << file;
    auto entry = ReadLines(kPrefix + "/share/applications/dravel.desktop");
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(entry.front(), "[Desktop Entry]");
    EXPECT_NE(std::find(entry.begin(), entry.end(), "Exec=dravel"), entry.end());
    EXPECT_NE(std::find(entry.begin(), entry.end(), "Icon=dravel"), entry.end());
}

// The installed kelvane finds fairymax and greets dravel as the game core expects.
TEST(InstalledDravelTest, KelvaneStartsFairymax) {
    std::string greeting = testing_support::RunToEnd({kPrefix + "/games/kelvane"}, "quit\n");
    EXPECT_NE(greeting.find("Kelvane ready: "), std::string::npos) << greeting;
}

}  // namespace
