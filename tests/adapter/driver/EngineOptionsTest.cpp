#include <gtest/gtest.h>

#include <algorithm>

#include "CustomOptions.h"
#include "DialogueFixture.h"
#include "EngineFeatures.h"
#include "EngineOptions.h"
#include "OptionList.h"
#include "PendingCommands.h"
#include "SettingHandler.h"
#include "Settings.h"

namespace pontax {
namespace {

constexpr size_t kBuiltInLines = 26;

// No engine runs: the options' commands wait for one.
class EngineOptionsTest : public testing_support::DialogueTest {
protected:
    EngineOptionsTest() {
        engine.exists = false;
        config.settings.EngineOptions = true;
    }
    // The lines after the built-in ones, which end with Help.
    std::vector<std::string> EngineLines() {
        auto lines = BuildOptionLines(config);
        auto help = std::find(lines.begin(), lines.end(), "option name Help type button");
        return {help + 1, lines.end()};
    }
};

// What Debian's Fairy-Max announces, line by line.
const char* kFairyMaxFeatures[] = {
    R"(feature option="Resign -check 0")",
    R"(feature option="Resign Threshold -spin 800 200 1200")",
    R"(feature option="Ini File -file /usr/share/games/fairymax/fmax.ini")",
    R"(feature option="Makruk rules -combo makruk /// Cambodian /// Ai-wok")",
    R"(feature option="Dummy Slider Example -slider 20 0 100")",
    R"(feature option="Dummy String Example -string happy birthday!")",
    R"(feature option="Dummy Path Example -path .")",
    R"(feature option="Clear Hash -button")",
    R"(feature option="Save in hash file -button")",
};

TEST_F(EngineOptionsTest, EachTypeBecomesTheUciOptionOfItsKind) {
    for (const char* line : kFairyMaxFeatures) ParseFeatures(d, line);
    EXPECT_EQ(EngineLines(),
              (std::vector<std::string>{
                  "option name Resign type check default false",
                  "option name Resign Threshold type spin default 800 min 200 max 1200",
                  "option name Ini File type string default /usr/share/games/fairymax/fmax.ini",
                  "option name Makruk rules type combo default makruk var makruk var Cambodian var Ai-wok",
                  "option name Dummy Slider Example type spin default 20 min 0 max 100",
                  "option name Dummy String Example type string default happy birthday!",
                  "option name Dummy Path Example type string default .",
                  "option name Clear Hash type button",
                  "option name Save in hash file type button",
              }));
}

TEST_F(EngineOptionsTest, SettingOneSendsTheEngineItsOptionCommand) {
    for (const char* line : kFairyMaxFeatures) ParseFeatures(d, line);
    config.pending.TakeAll();
    HandleSetOption(config, d, "setoption name Resign value true");
    HandleSetOption(config, d, "setoption name resign threshold value 500");
    HandleSetOption(config, d, "setoption name Makruk rules value Cambodian");
    HandleSetOption(config, d, "setoption name Dummy String Example value many happy returns");
    HandleSetOption(config, d, "setoption name Dummy Path Example value <empty>");
    HandleSetOption(config, d, "setoption name Clear Hash");
    EXPECT_EQ(config.pending.TakeAll(),
              (std::vector<std::string>{"option Resign=1", "option Resign Threshold=500",
                                        "option Makruk rules=Cambodian",
                                        "option Dummy String Example=many happy returns",
                                        "option Dummy Path Example=", "option Clear Hash"}));
}

TEST_F(EngineOptionsTest, ANameTakenByTheAdapterIsShownWithAPrefix) {
    DefineCustomOption(config.settings, "Clear Hash", "clearhash|button");
    ParseFeatures(
        d,
        R"(feature option="Hash -spin 64 1 1024" option="Clear Hash -button" option="Engine Hash -check 1")");
    EXPECT_EQ(EngineLines(),
              (std::vector<std::string>{"option name Engine Hash type spin default 64 min 1 max 1024",
                                        "option name Engine Clear Hash type button",
                                        "option name Engine Engine Hash type check default true"}));
    config.pending.TakeAll();
    HandleSetOption(config, d, "setoption name Engine Hash value 128");
    HandleSetOption(config, d, "setoption name Engine Engine Hash value false");
    EXPECT_EQ(config.pending.TakeAll(),
              (std::vector<std::string>{"option Hash=128", "option Engine Hash=0"}));
    EXPECT_EQ(config.settings.Hash, 2);
}

TEST_F(EngineOptionsTest, AnOptionAnnouncedAgainReplacesItsDefinition) {
    ParseFeatures(d, R"(feature option="Style -combo Solid /// *Wild")");
    ParseFeatures(d, R"(feature option="Style -combo Solid /// Risky")");
    EXPECT_EQ(EngineLines(),
              (std::vector<std::string>{"option name Style type combo default Solid var Solid var Risky"}));
}

TEST_F(EngineOptionsTest, TheStarredVariantIsTheDefault) {
    ParseFeatures(d, R"(feature option="Style -combo Solid /// *Wild /// Risky")");
    EXPECT_EQ(
        EngineLines(),
        (std::vector<std::string>{"option name Style type combo default Wild var Solid var Wild var Risky"}));
}

// Whatever an engine announces, each line it gets is one a host reads back as it was meant, or
// none at all.
TEST_F(EngineOptionsTest, DefinitionsNoHostCouldUseAreLeftOut) {
    ParseFeatures(d, R"(feature option="Mystery -colour red")");           // unknown type
    ParseFeatures(d, R"(feature option="Threads -spin 2")");               // missing values
    ParseFeatures(d, R"(feature option="Depth -spin x 1 9")");             // not a number
    ParseFeatures(d, R"(feature option="Huge -spin 1 0 99999999999")");    // beyond a host's range
    ParseFeatures(d, R"(feature option="search max depth -spin 5 1 9")");  // a keyword in the name
    ParseFeatures(d, R"(feature option="Empty -combo  ///  /// ")");       // no variant
    ParseFeatures(d, R"(feature option=" -check 1")");                     // no name
    ParseFeatures(d, R"(feature option="-button")");
    EXPECT_TRUE(EngineLines().empty());
}

TEST_F(EngineOptionsTest, OddValuesAreMadeValid) {
    ParseFeatures(d, R"(feature option="Backwards -spin 5 10 1" option="Outside -spin 50 1 10")");
    ParseFeatures(d, R"(feature option="Mixed -combo a /// min value /// b|c /// a /// d")");
    ParseFeatures(d, R"(feature option="Nothing -string" option="Check -check")");
    ParseFeatures(d, R"(feature option="100% -spin 1 0 100")");
    EXPECT_EQ(EngineLines(),
              (std::vector<std::string>{"option name Backwards type spin default 5 min 1 max 10",
                                        "option name Outside type spin default 50 min 1 max 50",
                                        "option name Mixed type combo default a var a var d",
                                        "option name Nothing type string default <empty>",
                                        "option name Check type check default false",
                                        "option name 100% type spin default 1 min 0 max 100"}));
    config.pending.TakeAll();
    HandleSetOption(config, d, "setoption name 100% value 7");
    EXPECT_EQ(config.pending.TakeAll(), (std::vector<std::string>{"option 100%=7"}));
}

TEST_F(EngineOptionsTest, AFloodOfOptionsIsBounded) {
    for (int i = 0; i < 3000; ++i)
        ParseFeatures(d, "feature option=\"Option " + std::to_string(i) + " -check 0\"");
    ParseFeatures(d, "feature option=\"" + std::string(500, 'N') + " -button\"");
    EXPECT_EQ(EngineLines().size(), 1000u);
}

TEST_F(EngineOptionsTest, ALongNameIsKept) {
    std::string name(500, 'N');
    ParseFeatures(d, "feature option=\"" + name + " -button\"");
    EXPECT_EQ(EngineLines(), (std::vector<std::string>{"option name " + name + " type button"}));
}

TEST_F(EngineOptionsTest, AnUnclosedQuoteTakesTheRestOfTheLine) {
    ParseFeatures(d, R"(feature option="Level -spin 3 1 9 done=1)");
    EXPECT_EQ(EngineLines(), (std::vector<std::string>{"option name Level type spin default 3 min 1 max 9"}));
}

TEST_F(EngineOptionsTest, WithoutTheKeyTheEnginesOptionsAreNotOffered) {
    config.settings.EngineOptions = false;
    ParseFeatures(d, R"(feature option="Resign -check 0")");
    EXPECT_EQ(BuildOptionLines(config).size(), kBuiltInLines);
    config.pending.TakeAll();
    HandleSetOption(config, d, "setoption name Resign value true");
    EXPECT_TRUE(config.pending.TakeAll().empty());
}

// A running engine gets an option's commands at once.
TEST_F(EngineOptionsTest, CommandsGoStraightToARunningEngine) {
    engine.exists = true;
    DefineCustomOption(config.settings, "Threads", "cores %i\\nping 1|spin|1|1|8");
    HandleSetOption(config, d, "setoption name Threads value 2");
    EXPECT_EQ(engine.Take(), (std::vector<std::string>{"cores 2", "ping 1"}));
    EXPECT_TRUE(config.pending.TakeAll().empty());
}

// The host learns of Chess960 from UCI_Chess960: offered once, and only for an engine that plays it.
TEST_F(EngineOptionsTest, AnEngineThatPlaysChess960GetsUciChess960OnceAndOnlyThen) {
    auto chess960Lines = [&] {
        auto lines = BuildOptionLines(config);
        return std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.find("UCI_Chess960") != std::string::npos;
        });
    };
    ParseFeatures(d, R"(feature variants="normal,shatranj,capablanca" done=1)");
    EXPECT_EQ(chess960Lines(), 0);
    EXPECT_FALSE(d.settings.PlaysChess960());

    ParseFeatures(d, R"(feature variants="normal,fischerandom" option="UCI_Chess960 -check 0" done=1)");
    auto lines = BuildOptionLines(config);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "option name UCI_Chess960 type check default false"),
              lines.end());
    EXPECT_EQ(chess960Lines(), 1);
    HandleSetOption(config, d, "setoption name UCI_Chess960 value true");
    EXPECT_TRUE(d.settings.PlaysChess960());
    EXPECT_EQ(d.settings.Chess960Variant.Get(), "fischerandom");

    ParseFeatures(d, R"(feature variants="chess960, normal" done=1)");
    EXPECT_EQ(d.settings.Chess960Variant.Get(), "chess960");
    // Another engine that does not play it: the setting stays, without effect.
    ResetFeatures(d);
    EXPECT_EQ(chess960Lines(), 0);
    EXPECT_FALSE(d.settings.PlaysChess960());
}

}  // namespace
}  // namespace pontax
