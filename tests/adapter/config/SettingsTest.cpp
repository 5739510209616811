#include <gtest/gtest.h>

#include "AdapterFixture.h"
#include "ConfigFile.h"
#include "CustomOptions.h"
#include "Log.h"
#include "PendingCommands.h"
#include "Priority.h"
#include "SettingHandler.h"
#include "Settings.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

class ConfigFileTest : public testing_support::ConfigTest {};
class CustomOptionsTest : public testing_support::ConfigTest {};
class PreSetupFileTest : public testing_support::ConfigTest {};
class SetOptionLineTest : public testing_support::ConfigTest {};
class SettingReadingRulesTest : public testing_support::ConfigTest {};

using testing_support::TempDir;

TEST_F(SettingReadingRulesTest, ChoicesAreReadFromTheFirstLetter) {
    auto& s = config.settings;
    Set("Edit", "cb-edit");
    EXPECT_EQ(s.Edit, EditMode::CbEdit);
    Set("Edit", "2");
    EXPECT_EQ(s.Edit, EditMode::CbEdit);
    Set("Edit", "E");
    EXPECT_EQ(s.Edit, EditMode::Edit);
    Set("Edit", "x");
    EXPECT_EQ(s.Edit, EditMode::Setboard);
    Set("LevelExtend", "strict");
    EXPECT_EQ(s.LevelExtend, LevelExtendMode::Strict);
    Set("LevelExtend", "9");
    EXPECT_EQ(s.LevelExtend, LevelExtendMode::None);
    Set("LevelExtend", "failsafe");
    EXPECT_EQ(s.LevelExtend, LevelExtendMode::Failsafe);
    Set("Priority", "low");
    EXPECT_EQ(s.Priority, thread_priority::kIdle);
    Set("Priority", "2");
    EXPECT_EQ(s.Priority, thread_priority::kIdle);
    Set("Priority", "BelowNormal");
    EXPECT_EQ(s.Priority, thread_priority::kBelowNormal);
    Set("Priority", "normal");
    EXPECT_EQ(s.Priority, thread_priority::kNormal);
}

TEST_F(SettingReadingRulesTest, BooleansIntegersAndTexts) {
    auto& s = config.settings;
    Set("Ponder", "yes");
    EXPECT_FALSE(s.Ponder);
    Set("Ponder", "1");
    EXPECT_TRUE(s.Ponder);
    Set("Ponder", "off");
    Set("Ponder", "on");
    EXPECT_TRUE(s.Ponder);
    Set("hash", "64MB");
    EXPECT_EQ(s.Hash, 64);
    Set("HASH", "lots");
    EXPECT_EQ(s.Hash, 0);
    Set("InitString", "new\\npost");
    EXPECT_EQ(s.InitString.Get(), "new\npost");
    Set("InitString", "<empty>");
    EXPECT_EQ(s.InitString.Get(), "");
    Set("HashCommand", "cache");
    EXPECT_EQ(s.HashCommand.Get(), "cache %i");
    Set("HashCommand", "cache %i MB");
    EXPECT_EQ(s.HashCommand.Get(), "cache %i MB");
    Set("HashFormula", "hash/2");
    EXPECT_EQ(s.HashFormula.Get(), "HASH/2");
    Set("Program", "my   engine.exe   -x");
    EXPECT_EQ(s.Program.Get(), "my engine.exe -x");
    Set("TerminateHard", "true");
    EXPECT_TRUE(s.TerminateHard);
    // SlowDown keeps to its option's range: a thousand would ask for 999 busy threads.
    for (auto [value, kept] : {std::pair{"1000", 100}, {"0", 1}, {"-7", 1}, {"40", 40}, {"1", 1}}) {
        Set("SlowDown", value);
        EXPECT_EQ(s.SlowDown, kept) << value;
    }
}

TEST_F(SetOptionLineTest, NameAndValueWordsAreCollected) {
    auto& s = config.settings;
    HandleSetOption(config, effects, "setoption name Hash value");  // empty value: nothing changes
    EXPECT_EQ(s.Hash, 2);
    HandleSetOption(config, effects, "setoption name Hash Value 64");  // no "value" word: a button press
    EXPECT_EQ(s.Hash, 2);
    HandleSetOption(config, effects, "setoption name");
    HandleSetOption(config, effects, "setoption");
    HandleSetOption(config, effects, "setoption garbage value value value");
    HandleSetOption(config, effects, "setoption name value 3");
    HandleSetOption(config, effects, "setoption name   Noise   value   -1   extra");
    EXPECT_EQ(s.Noise, -1);
}

TEST_F(SetOptionLineTest, CustomButtonNamesOfSeveralWordsMatchWithOneBlank) {
    DefineCustomOption(config.settings, "Clear Hash", "clearhash|button");
    HandleSetOption(config, effects, "setoption name Clear   Hash");
    HandleSetOption(config, effects, "setoption name clear hash");  // custom names respect case
    EXPECT_EQ(config.pending.TakeAll(), (std::vector<std::string>{"clearhash"}));
}

TEST_F(ConfigFileTest, SectionsKeysAndCommentsFollowTheGrammar) {
    TempDir dir;
    dir.Write("a.eng",
              "Program=ignored.exe\n"
              "; comment\n"
              "  [engine]  \r\n"
              "name=Sample Engine 2.1\n"
              "AUTHOR = Someone = Else\n"
              "Bogus=1\n"
              "[OPTIONS] ; not a header\n"
              "[OPTIONS]\n"
              "Program=sample.exe -xboard\n"
              "hash=32\n"
              "HashCommand=memory %i\n"
              "visible=Hash\n"
              "no equals sign here\n"
              "[Other]\n"
              "Noise=5\n");
    EXPECT_TRUE(LoadConfiguration(config, effects, dir.File("a.eng")));
    auto& s = config.settings;
    EXPECT_EQ(s.EngineName.Get(), "Sample Engine 2.1");
    EXPECT_EQ(s.EngineAuthor.Get(), "Someone = Else");
    EXPECT_EQ(s.Program.Get(), "sample.exe -xboard");
    EXPECT_EQ(s.Hash, 32);
    EXPECT_EQ(s.HashCommand.Get(), "memory %i");
    EXPECT_EQ(s.Noise, 5);  // an unknown header does not change the section
    EXPECT_FALSE(s.visibilityFiltered);
}

TEST_F(ConfigFileTest, MissingEmptyAndBinaryFiles) {
    TempDir dir;
    EXPECT_FALSE(LoadConfiguration(config, effects, dir.File("missing.eng")));
    EXPECT_FALSE(LoadConfiguration(config, effects, dir.Path()));  // a directory is no configuration
    dir.Write("empty.eng", "");
    EXPECT_TRUE(LoadConfiguration(config, effects, dir.File("empty.eng")));
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 7919) % 256);
    dir.Write("binary.eng", "[OPTIONS]\n" + binary + "\nHash==7\n" + std::string(100000, '=') + "\n");
    EXPECT_TRUE(LoadConfiguration(config, effects, dir.File("binary.eng")));
    EXPECT_EQ(config.settings.Hash, 0);  // the value "=7" has no leading digits
}

TEST_F(ConfigFileTest, VisibleListsAccumulate) {
    TempDir dir;
    dir.Write("v.eng", "[ENGINE]\nVisible=Hash, Ponder,,Extras\n[OPTIONS]\nVisible= Program \n");
    ASSERT_TRUE(LoadConfiguration(config, effects, dir.File("v.eng")));
    EXPECT_TRUE(config.settings.visibilityFiltered);
    EXPECT_EQ(config.settings.VisibleOptions,
              (std::vector<std::string>{"Hash", "Ponder", "Extras", "Program"}));
}

TEST_F(CustomOptionsTest, DefinitionsNeedTheirFields) {
    DefineCustomOption(config.settings, "Threads", "cores %i|spin|1|1|8");
    DefineCustomOption(config.settings, "Short", "x|spin|1|1");
    DefineCustomOption(config.settings, "", "x|button");
    DefineCustomOption(config.settings, "BadType", "x| spin|1|1|8");
    DefineCustomOption(config.settings, "NoType", "x");
    DefineCustomOption(config.settings, "Resign", "resign|check|false|off|on");
    DefineCustomOption(config.settings, "Style", "style %s|combo|Normal|Solid|Normal|Risky");
    DefineCustomOption(config.settings, "Path", "path");
    DefineCustomOption(config.settings, "Name", "name %s|string");
    const auto& options = config.settings.CustomOptions;
    ASSERT_EQ(options.size(), 4u);
    EXPECT_EQ(options[0].command, "cores %i");
    EXPECT_EQ(options[1].command, "resign %s");
    EXPECT_EQ(options[2].third, "Solid|Normal|Risky");
    EXPECT_EQ(options[3].defaultValue, "<empty>");
}

TEST_F(CustomOptionsTest, SettingFormsTheEngineCommandByType) {
    DefineCustomOption(config.settings, "Threads", "cores|spin|1|1|8");
    DefineCustomOption(config.settings, "Resign", "resign|check|false|off|on");
    DefineCustomOption(config.settings, "Level", "lvl %s|combo|10|10|20|30");
    DefineCustomOption(config.settings, "Name", "name %s|string|x");
    DefineCustomOption(config.settings, "Threads", "other %i|spin|1|1|8");  // defined again: this one counts
    SetCustomOption(config, effects, "Threads", "4");
    SetCustomOption(config, effects, "Threads", "many");
    SetCustomOption(config, effects, "Threads", "");
    SetCustomOption(config, effects, "Resign", "true");
    SetCustomOption(config, effects, "Resign", "on");   // only a leading t, T or 1 means on
    SetCustomOption(config, effects, "Level", "20");    // a variant
    SetCustomOption(config, effects, "Level", "1");     // an index
    SetCustomOption(config, effects, "Level", "5");     // no such index: nothing
    SetCustomOption(config, effects, "Level", "fast");  // not a digit: as it came
    SetCustomOption(config, effects, "Name", "<empty>");
    SetCustomOption(config, effects, "Undefined", "1");
    EXPECT_EQ(config.pending.TakeAll(),
              (std::vector<std::string>{"other 4", "other 0", "resign on", "resign off", "lvl 20", "lvl 20",
                                        "lvl fast", "name "}));
}

TEST_F(PreSetupFileTest, SendsCommandLinesAndLogsTheFile) {
    TempDir dir;
    dir.Write("fast.txt", "  st 1  \r\n\r\n; comment\n   ;also\nsd 3");
    std::string base = dir.File("fast");
    DefineCustomOption(config.settings, "Setup", "<readfile>|combo|none|none|fast");
    SetCustomOption(config, effects, "Setup", base);
    SetCustomOption(config, effects, "Setup", dir.File("missing"));
    EXPECT_EQ(config.pending.TakeAll(), (std::vector<std::string>{"st 1", "sd 3"}));
}

}  // namespace
}  // namespace pontax
