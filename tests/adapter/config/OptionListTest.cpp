#include <gtest/gtest.h>

#include "AdapterFixture.h"
#include "ConfigFile.h"
#include "CustomOptions.h"
#include "OptionList.h"
#include "PendingCommands.h"
#include "SettingHandler.h"
#include "Settings.h"

namespace pontax {
namespace {

class OptionListTest : public testing_support::ConfigTest {};

const std::vector<std::string> kDefaultLines = {
    "option name Program type string default <empty>",
    "option name InitString type string default <empty>",
    "option name Hash type spin default 2 min 0 max 256",
    "option name HashCommand type string default <empty>",
    "option name HashFormula type string default ",
    "option name HashOnCommandline type check default false",
    "option name InitTime type spin default 2 min 0 max 30",
    "option name Delay type spin default 0 min 0 max 1000",
    "option name LevelType type spin default 1 min 1 max 2",
    "option name SlowDown type spin default 1 min 1 max 100",
    "option name Edit type combo default setboard var setboard var edit var cb-edit",
    "option name Ponder type check default true",
    "option name OwnBook type check default false",
    "option name ShowThinkingMove type check default false",
    "option name Analyze type check default true",
    "option name UseUndo type check default true",
    "option name WhiteScore type check default false",
    "option name Logfile type check default false",
    "option name Priority type combo default Normal var Normal var BelowNormal var Low",
    "option name RunIdle type check default false",
    "option name Computer type check default false",
    "option name SimulateHint type check default false",
    "option name LevelExtend type combo default None var Progressive var Strict var Failsafe var None",
    "option name Protocol type spin default 2 min 1 max 2",
    "option name Noise type spin default -1 min -1 max 99",
    "option name Help type button",
};

TEST_F(OptionListTest, AFreshAdapterAnnouncesAllBuiltInOptionsInOrder) {
    auto expected = kDefaultLines;
    expected[24] = "option name Noise type spin default 0 min -1 max 99";
    EXPECT_EQ(BuildOptionLines(config), expected);
}

TEST_F(OptionListTest, LinesShowTheCurrentSettings) {
    HandleSetOption(config, effects, "setoption name Hash value 64");
    HandleSetOption(config, effects, "setoption name Edit value edit");
    HandleSetOption(config, effects, "setoption name Priority value Low");
    HandleSetOption(config, effects, "setoption name LevelExtend value Progressive");
    HandleSetOption(config, effects, "setoption name Ponder value false");
    auto lines = BuildOptionLines(config);
    EXPECT_EQ(lines[2], "option name Hash type spin default 64 min 0 max 256");
    EXPECT_EQ(lines[10], "option name Edit type combo default edit var setboard var edit var cb-edit");
    EXPECT_EQ(lines[11], "option name Ponder type check default false");
    EXPECT_EQ(lines[18], "option name Priority type combo default Low var Normal var BelowNormal var Low");
    EXPECT_EQ(lines[22],
              "option name LevelExtend type combo default Progressive var Progressive var Strict var "
              "Failsafe var None");
}

TEST_F(OptionListTest, EveryLineStaysValidForStrictHosts) {
    HandleSetOption(config, effects, "setoption name Hash value 300");
    HandleSetOption(config, effects, "setoption name Noise value -7");
    HandleSetOption(config, effects, "setoption name InitString value new\\npost\\tnow");
    HandleSetOption(config, effects, "setoption name HashCommand value mem\\r%i");
    DefineCustomOption(config.settings, "Threads", "cores|spin|12|1|8");
    DefineCustomOption(config.settings, "Contempt", "c|spin|x|y|z");
    DefineCustomOption(config.settings, "Resign", "resign|check|1|off|on");
    DefineCustomOption(config.settings, "Style", "style|combo|Wild|Solid|Risky");
    auto lines = BuildOptionLines(config);
    EXPECT_EQ(lines[0], "option name Threads type spin default 12 min 1 max 12");
    EXPECT_EQ(lines[1], "option name Contempt type spin default 0 min 0 max 0");
    EXPECT_EQ(lines[2], "option name Resign type check default true");
    EXPECT_EQ(lines[3], "option name Style type combo default Wild var Solid var Risky var Wild");
    EXPECT_EQ(lines[5], "option name InitString type string default new\\npost\\tnow");
    EXPECT_EQ(lines[6], "option name Hash type spin default 300 min 0 max 300");
    EXPECT_EQ(lines[7], "option name HashCommand type string default mem\\r%i");
    EXPECT_EQ(lines.back(), "option name Help type button");
    EXPECT_EQ(lines[lines.size() - 2], "option name Noise type spin default -7 min -7 max 99");
    // What the setting holds is unchanged by how it is shown.
    EXPECT_EQ(config.settings.InitString.Get(), "new\npost\tnow");
}

TEST_F(OptionListTest, CustomOptionsComeFirstInDefinitionOrder) {
    DefineCustomOption(config.settings, "Threads", "cores %i|spin|1|1|8");
    DefineCustomOption(config.settings, "Clear Hash", "clearhash|button");
    DefineCustomOption(config.settings, "Name", "n|string");
    auto lines = BuildOptionLines(config);
    ASSERT_EQ(lines.size(), kDefaultLines.size() + 3);
    EXPECT_EQ(lines[0], "option name Threads type spin default 1 min 1 max 8");
    EXPECT_EQ(lines[1], "option name Clear Hash type button");
    EXPECT_EQ(lines[2], "option name Name type string default <empty>");
}

// A keyword inside a value would start the next field for a host.
TEST_F(OptionListTest, ValuesHoldingKeywordsAreNotShown) {
    HandleSetOption(config, effects, "setoption name Program value fair max");
    DefineCustomOption(config.settings, "Style", "style|combo|min|Solid|var x|Risky");
    DefineCustomOption(config.settings, "Mode", "mode|combo||Fast");
    auto lines = BuildOptionLines(config);
    EXPECT_EQ(lines[0], "option name Style type combo default Solid var Solid var Risky");
    EXPECT_EQ(lines[1], "option name Mode type combo default Fast var Fast");
    EXPECT_EQ(lines[2], "option name Program type string default <empty>");
    EXPECT_EQ(config.settings.Program.Get(), "fair max");
}

// Hosts refuse a name given twice and read a name only up to the line's next keyword.
TEST_F(OptionListTest, CustomOptionsAHostCouldNotSetAreLeftOut) {
    DefineCustomOption(config.settings, "Threads", "cores %i|spin|1|1|8");
    DefineCustomOption(config.settings, "threads", "other|spin|2|1|8");
    DefineCustomOption(config.settings, "hash", "memory %i|spin|16|1|64");
    DefineCustomOption(config.settings, "HELP", "help|button");
    DefineCustomOption(config.settings, "Piece type", "pt|string");
    DefineCustomOption(config.settings, "Set value", "sv|string");
    DefineCustomOption(config.settings, "  Clear    Hash ", "clearhash|button");
    auto lines = BuildOptionLines(config);
    ASSERT_EQ(lines.size(), kDefaultLines.size() + 2);
    EXPECT_EQ(lines[0], "option name threads type spin default 2 min 1 max 8");
    EXPECT_EQ(lines[1], "option name Clear Hash type button");
    HandleSetOption(config, effects, "setoption name Clear Hash");
    HandleSetOption(config, effects, "setoption name threads value 3");
    EXPECT_EQ(config.pending.TakeAll(), (std::vector<std::string>{"clearhash", "other 3"}));
}

TEST_F(OptionListTest, VisibilityListFiltersByExactName) {
    DefineCustomOption(config.settings, "Threads", "cores %i|spin|1|1|8");
    SetVisibleOptions(config.settings, "Hash, Ponder, hash");
    EXPECT_EQ(BuildOptionLines(config),
              (std::vector<std::string>{"option name Hash type spin default 2 min 0 max 256",
                                        "option name Ponder type check default true"}));
    SetVisibleOptions(config.settings, "Extras");
    EXPECT_EQ(BuildOptionLines(config).front(), "option name Threads type spin default 1 min 1 max 8");
}

TEST_F(OptionListTest, AnEmptyVisibleListHidesEverything) {
    SetVisibleOptions(config.settings, "");
    EXPECT_TRUE(BuildOptionLines(config).empty());
}

}  // namespace
}  // namespace pontax
