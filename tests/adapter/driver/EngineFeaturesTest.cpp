#include "adapter/driver/EngineFeatures.h"

#include <gtest/gtest.h>

#include "adapter/config/Settings.h"
#include "tests/support/EngineEcho.h"

namespace pontax {
namespace {

using testing_support::EngineEcho;

TEST(ParseFeaturesTest, AcceptsEveryFeatureInOrderAndRecordsTheKnownOnes) {
    EngineEcho engine;
    ParseFeatures("feature setboard=1 usermove=1 san=1 colors=0 time=1 analyze=0 ping=1 done=1");
    EXPECT_EQ(engine.Lines(8), (std::vector<std::string>{"accepted setboard", "accepted usermove", "accepted san",
                                                         "accepted colors", "accepted time", "accepted analyze",
                                                         "accepted ping", "accepted done"}));
    EXPECT_EQ(Settings().Edit, EditMode::Setboard);
    EXPECT_TRUE(Features().usermove);
    EXPECT_TRUE(Features().san);
    EXPECT_FALSE(Features().colors);
    EXPECT_TRUE(Features().time);
    EXPECT_FALSE(Settings().Analyze);
    EXPECT_FALSE(Features().featureWait);
}

TEST(ParseFeaturesTest, QuotedValuesKeepTheirWords) {
    EngineEcho engine;
    ParseFeatures("feature myname=\"Fairy-Max 5.0b\" option=\"Resign -check 0\" setboard=0 done=0");
    EXPECT_EQ(engine.Lines(4), (std::vector<std::string>{"accepted myname", "accepted option", "accepted setboard",
                                                         "accepted done"}));
    EXPECT_EQ(Settings().EngineName.Get(), "Fairy-Max 5.0b");
    EXPECT_EQ(Settings().Edit, EditMode::Edit);
    EXPECT_TRUE(Features().featureWait);
}

TEST(ParseFeaturesTest, MalformedLinesAreAnsweredWithoutHarm) {
    EngineEcho engine;
    ParseFeatures("feature stray myname=\"Never closed done=1");
    ParseFeatures("feature myname=\" Spaced \" time=maybe");
    EXPECT_EQ(engine.Lines(4), (std::vector<std::string>{"accepted ", "accepted myname", "accepted myname",
                                                         "accepted time"}));
    EXPECT_EQ(Settings().EngineName.Get(), " Spaced ");
    EXPECT_TRUE(Features().time);  // an unreadable value leaves the default
    EXPECT_FALSE(Features().featureWait);
}

TEST(ParseFeaturesTest, ThousandsOfWordsAreAllAnswered) {
    EngineEcho engine;
    std::string line = "feature";
    for (int i = 0; i < 3000; ++i) line += " f" + std::to_string(i) + "=1";
    ParseFeatures(line);
    auto lines = engine.Lines(3000);
    ASSERT_EQ(lines.size(), 3000u);
    EXPECT_EQ(lines.back(), "accepted f2999");
}

}  // namespace
}  // namespace pontax
