#include <gtest/gtest.h>

#include "DialogueFixture.h"
#include "EngineFeatures.h"
#include "Settings.h"

namespace pontax {
namespace {

using ParseFeaturesTest = testing_support::DialogueTest;

TEST_F(ParseFeaturesTest, AcceptsEveryFeatureInOrderAndRecordsTheKnownOnes) {
    ParseFeatures(d, "feature setboard=1 usermove=1 san=1 colors=0 time=1 analyze=0 ping=1 done=1");
    EXPECT_EQ(engine.Take(), (std::vector<std::string>{
                                 "accepted setboard", "accepted usermove", "accepted san", "accepted colors",
                                 "accepted time", "accepted analyze", "accepted ping", "accepted done"}));
    EXPECT_EQ(d.settings.Edit, EditMode::Setboard);
    EXPECT_TRUE(d.features.usermove);
    EXPECT_TRUE(d.features.san);
    EXPECT_FALSE(d.features.colors);
    EXPECT_TRUE(d.features.time);
    EXPECT_FALSE(d.settings.Analyze);
    EXPECT_FALSE(d.features.featureWait);
}

TEST_F(ParseFeaturesTest, QuotedValuesKeepTheirWords) {
    ParseFeatures(d, "feature myname=\"Fairy-Max 5.0b\" option=\"Resign -check 0\" setboard=0 done=0");
    EXPECT_EQ(engine.Take(), (std::vector<std::string>{"accepted myname", "accepted option",
                                                       "accepted setboard", "accepted done"}));
    EXPECT_EQ(d.settings.EngineName.Get(), "Fairy-Max 5.0b");
    EXPECT_EQ(d.settings.Edit, EditMode::Edit);
    EXPECT_TRUE(d.features.featureWait);
}

TEST_F(ParseFeaturesTest, MalformedLinesAreAnsweredWithoutHarm) {
    ParseFeatures(d, "feature stray myname=\"Never closed done=1");
    ParseFeatures(d, "feature myname=\" Spaced \" time=maybe");
    EXPECT_EQ(engine.Take(),
              (std::vector<std::string>{"accepted ", "accepted myname", "accepted myname", "accepted time"}));
    EXPECT_EQ(d.settings.EngineName.Get(), " Spaced ");
    EXPECT_TRUE(d.features.time);  // an unreadable value leaves the default
    EXPECT_FALSE(d.features.featureWait);
}

TEST_F(ParseFeaturesTest, ThousandsOfWordsAreAllAnswered) {
    std::string line = "feature";
    for (int i = 0; i < 3000; ++i) line += " f" + std::to_string(i) + "=1";
    ParseFeatures(d, line);
    auto lines = engine.Take();
    ASSERT_EQ(lines.size(), 3000u);
    EXPECT_EQ(lines.back(), "accepted f2999");
}

}  // namespace
}  // namespace pontax
