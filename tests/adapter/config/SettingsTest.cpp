#include <gtest/gtest.h>

#include "adapter/config/ConfigFile.h"
#include "adapter/config/CustomOptions.h"
#include "adapter/config/Log.h"
#include "adapter/config/PendingCommands.h"
#include "adapter/config/SettingHandler.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/Priority.h"
#include "tests/support/EngineEcho.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

using testing_support::EngineEcho;
using testing_support::TempDir;

void Set(const std::string& name, const std::string& value) {
    HandleSetOption("setoption name " + name + " value " + value);
}

TEST(SettingReadingRulesTest, ChoicesAreReadFromTheFirstLetter) {
    auto& s = Settings();
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

TEST(SettingReadingRulesTest, BooleansIntegersAndTexts) {
    auto& s = Settings();
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

TEST(SetOptionLineTest, NameAndValueWordsAreCollected) {
    auto& s = Settings();
    HandleSetOption("setoption name Hash value");  // empty value: nothing changes
    EXPECT_EQ(s.Hash, 2);
    HandleSetOption("setoption name Hash Value 64");  // no "value" word: a button press
    EXPECT_EQ(s.Hash, 2);
    HandleSetOption("setoption name");
    HandleSetOption("setoption");
    HandleSetOption("setoption garbage value value value");
    HandleSetOption("setoption name value 3");
    HandleSetOption("setoption name   Noise   value   -1   extra");
    EXPECT_EQ(s.Noise, -1);
}

TEST(SetOptionLineTest, CustomButtonNamesOfSeveralWordsMatchWithOneBlank) {
    DefineCustomOption("Clear Hash", "clearhash|button");
    HandleSetOption("setoption name Clear   Hash");
    HandleSetOption("setoption name clear hash");  // custom names respect case
    EXPECT_EQ(TakePendingEngineCommands(), (std::vector<std::string>{"clearhash"}));
}

TEST(ConfigFileTest, SectionsKeysAndCommentsFollowTheGrammar) {
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
    EXPECT_TRUE(LoadConfiguration(dir.File("a.eng")));
    auto& s = Settings();
    EXPECT_EQ(s.EngineName.Get(), "Sample Engine 2.1");
    EXPECT_EQ(s.EngineAuthor.Get(), "Someone = Else");
    EXPECT_EQ(s.Program.Get(), "sample.exe -xboard");
    EXPECT_EQ(s.Hash, 32);
    EXPECT_EQ(s.HashCommand.Get(), "memory %i");
    EXPECT_EQ(s.Noise, 5);  // an unknown header does not change the section
    EXPECT_FALSE(s.visibilityFiltered);
}

TEST(ConfigFileTest, MissingEmptyAndBinaryFiles) {
    TempDir dir;
    EXPECT_FALSE(LoadConfiguration(dir.File("missing.eng")));
    EXPECT_FALSE(LoadConfiguration(dir.Path()));  // a directory is no configuration
    dir.Write("empty.eng", "");
    EXPECT_TRUE(LoadConfiguration(dir.File("empty.eng")));
    std::string binary;
    for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 7919) % 256);
    dir.Write("binary.eng", "[OPTIONS]\n" + binary + "\nHash==7\n" + std::string(100000, '=') + "\n");
    EXPECT_TRUE(LoadConfiguration(dir.File("binary.eng")));
    EXPECT_EQ(Settings().Hash, 0);  // the value "=7" has no leading digits
}

TEST(ConfigFileTest, VisibleListsAccumulate) {
    TempDir dir;
    dir.Write("v.eng", "[ENGINE]\nVisible=Hash, Ponder,,Extras\n[OPTIONS]\nVisible= Program \n");
    ASSERT_TRUE(LoadConfiguration(dir.File("v.eng")));
    EXPECT_TRUE(Settings().visibilityFiltered);
    EXPECT_EQ(Settings().VisibleOptions, (std::vector<std::string>{"Hash", "Ponder", "Extras", "Program"}));
}

TEST(CustomOptionsTest, DefinitionsNeedTheirFields) {
    DefineCustomOption("Threads", "cores %i|spin|1|1|8");
    DefineCustomOption("Short", "x|spin|1|1");
    DefineCustomOption("", "x|button");
    DefineCustomOption("BadType", "x| spin|1|1|8");
    DefineCustomOption("NoType", "x");
    DefineCustomOption("Resign", "resign|check|false|off|on");
    DefineCustomOption("Style", "style %s|combo|Normal|Solid|Normal|Risky");
    DefineCustomOption("Path", "path");
    DefineCustomOption("Name", "name %s|string");
    const auto& options = Settings().CustomOptions;
    ASSERT_EQ(options.size(), 4u);
    EXPECT_EQ(options[0].command, "cores %i");
    EXPECT_EQ(options[1].command, "resign %s");
    EXPECT_EQ(options[2].third, "Solid|Normal|Risky");
    EXPECT_EQ(options[3].defaultValue, "<empty>");
}

TEST(CustomOptionsTest, SettingFormsTheEngineCommandByType) {
    DefineCustomOption("Threads", "cores|spin|1|1|8");
    DefineCustomOption("Resign", "resign|check|false|off|on");
    DefineCustomOption("Level", "lvl %s|combo|10|10|20|30");
    DefineCustomOption("Name", "name %s|string|x");
    DefineCustomOption("Threads", "other %i|spin|1|1|8");  // defined again: this one counts
    SetCustomOption("Threads", "4");
    SetCustomOption("Threads", "many");
    SetCustomOption("Threads", "");
    SetCustomOption("Resign", "true");
    SetCustomOption("Resign", "on");  // only a leading t, T or 1 means on
    SetCustomOption("Level", "20");   // a variant
    SetCustomOption("Level", "1");    // an index
    SetCustomOption("Level", "5");    // no such index: nothing
    SetCustomOption("Level", "fast"); // not a digit: as it came
    SetCustomOption("Name", "<empty>");
    SetCustomOption("Undefined", "1");
    EXPECT_EQ(TakePendingEngineCommands(),
              (std::vector<std::string>{"other 4", "other 0", "resign on", "resign off", "lvl 20", "lvl 20",
                                        "lvl fast", "name "}));
}

TEST(CustomOptionsTest, CommandsGoStraightToARunningEngine) {
    EngineEcho engine;
    DefineCustomOption("Threads", "cores %i\\nping 1|spin|1|1|8");
    SetCustomOption("Threads", "2");
    EXPECT_EQ(engine.Lines(2), (std::vector<std::string>{"cores 2", "ping 1"}));
    EXPECT_TRUE(TakePendingEngineCommands().empty());
}

TEST(PreSetupFileTest, SendsCommandLinesAndLogsTheFile) {
    TempDir dir;
    dir.Write("fast.txt", "  st 1  \r\n\r\n; comment\n   ;also\nsd 3");
    std::string base = dir.File("fast");
    DefineCustomOption("Setup", "<readfile>|combo|none|none|fast");
    SetCustomOption("Setup", base);
    SetCustomOption("Setup", dir.File("missing"));
    EXPECT_EQ(TakePendingEngineCommands(), (std::vector<std::string>{"st 1", "sd 3"}));
}

}  // namespace
}  // namespace pontax
