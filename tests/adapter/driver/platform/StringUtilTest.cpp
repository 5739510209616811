#include <gtest/gtest.h>

#include "StringUtil.h"

namespace pontax {
namespace {

TEST(GetWordTest, CountsWordsAcrossRunsOfSeparators) {
    EXPECT_EQ(GetWord("  go \t wtime  1000\r\n", 1), "go");
    EXPECT_EQ(GetWord("  go \t wtime  1000\r\n", 3), "1000");
    EXPECT_EQ(GetWord("go wtime", 3), "");
    EXPECT_EQ(GetWord("", 1), "");
    EXPECT_EQ(GetWord("a||b | c", 2, "|"), "b ");
    EXPECT_EQ(GetWord("a||b | c", 3, "|"), " c");
}

TEST(TakeWordTest, ReadsALineWordByWordAsGetWordCountsThem) {
    const std::string_view line = "  go \t wtime  1000\r\n";
    std::string_view rest = line;
    for (int n = 1; n <= 4; ++n) {
        std::string word = GetWord(line, n);
        EXPECT_EQ(PeekWord(rest), word) << n;
        EXPECT_EQ(TakeWord(rest), word) << n;
    }
    EXPECT_TRUE(rest.empty());
    std::string_view blanks = " \t ";
    EXPECT_EQ(TakeWord(blanks), "");
    EXPECT_TRUE(blanks.empty());
}

TEST(TrimTest, RemovesAllBlankCharactersAtBothEnds) {
    EXPECT_EQ(Trim(" \t\v\f isready \r\n"), "isready");
    EXPECT_EQ(Trim(" \t\r\n"), "");
    EXPECT_EQ(Trim("a b"), "a b");
    const std::string_view line = "\t position startpos \r";
    EXPECT_EQ(TrimmedView(line), "position startpos");
    EXPECT_EQ(TrimmedView(line).data(), line.data() + 2);
    EXPECT_TRUE(TrimmedView(" \r\n").empty());
}

TEST(FindFirstTest, ReportsMinusOneWhenNothingMatches) {
    EXPECT_EQ(FindFirstOf("abc=d", "=", 0), 3);
    EXPECT_EQ(FindFirstOf("abc", "=", 0), -1);
    EXPECT_EQ(FindFirstNotOf("  x", " ", 0), 2);
    EXPECT_EQ(FindFirstNotOf("   ", " ", 0), -1);
    EXPECT_EQ(FindFirstOf("abc", "a", 7), -1);
}

struct EscapeRow {
    const char* name;
    std::string escaped;
    std::string decoded;
};

class UnescapeTest : public ::testing::TestWithParam<EscapeRow> {};

TEST_P(UnescapeTest, Decodes) { EXPECT_EQ(Unescape(GetParam().escaped), GetParam().decoded); }

INSTANTIATE_TEST_SUITE_P(
    Escapes, UnescapeTest,
    ::testing::Values(EscapeRow{"LineFeed", "new\\npost", "new\npost"},
                      EscapeRow{"ControlLetters", "\\a\\b\\f\\r\\t\\v", "\a\b\f\r\t\v"},
                      EscapeRow{"QuotesAndBackslash", "\\\"\\'\\?\\\\", "\"'?\\"},
                      EscapeRow{"Hex", "\\x41\\x62g", "Abg"},
                      EscapeRow{"HexKeepsLowEightBits", "\\x141", "A"}, EscapeRow{"Octal", "\\101\\60", "A0"},
                      EscapeRow{"OctalStopsAtEight", "\\1018", "A8"},
                      EscapeRow{"UnknownKeepsBackslash", "c:\\engines\\q", "c:\\engines\\q"},
                      EscapeRow{"HexWithoutDigits", "\\xg", "\\xg"},
                      EscapeRow{"TrailingBackslash", "abc\\", "abc\\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EscapeControlsTest, KeepsAnOptionLineOnOneLineAndRoundTrips) {
    std::string text = "new\npost\tx\\y\r\x01";
    std::string shown = EscapeControls(text);
    EXPECT_EQ(shown, "new\\npost\\tx\\\\y\\r\\x01");
    EXPECT_EQ(Unescape(shown), text);
}

TEST(PrintableTextTest, ControlsAndBrokenUtf8BecomeQuestionMarks) {
    const struct {
        const char* name;
        std::string raw, printable;
    } rows[] = {
        {"Plain", "info string illegal engine move e2e5", "info string illegal engine move e2e5"},
        {"NulAndEscape", std::string("a\0b\x1b[31mc", 9), "a?b?[31mc"},
        {"TabsAndLineEnds", "a\tb\rc\nd\x7f", "a?b?c?d?"},
        {"ByteFF", "\xff\xfeok", "??ok"},
        {"WellFormedUtf8", "Fran\xc3\xa7ois \xe2\x99\x9e \xf0\x9f\x98\x80",
         "Fran\xc3\xa7ois \xe2\x99\x9e \xf0\x9f\x98\x80"},
        {"TruncatedUtf8", "end\xc3", "end?"},
        {"OverlongAndSurrogate", "\xc0\xaf\xed\xa0\x80", "?????"},
        {"LoneContinuation", "\x80x", "?x"},
    };
    for (const auto& row : rows) EXPECT_EQ(PrintableText(row.raw), row.printable) << row.name;
}

TEST(ParseBoolTest, FollowsTheFirstCharacterRules) {
    for (const char* yes : {"true", "T", "tRuE", "on", "ON", "1", "7x"}) EXPECT_TRUE(ParseBool(yes)) << yes;
    for (const char* no : {"false", "off", "OFF", "0", "", "yes", "onward", " true"})
        EXPECT_FALSE(ParseBool(no)) << no;
}

TEST(ParseIntegerTest, ReadsSignAndLeadingDigitsOnly) {
    EXPECT_EQ(ParseInteger("64"), 64);
    EXPECT_EQ(ParseInteger("-1"), -1);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("12MB"), 12);
    EXPECT_EQ(ParseInteger("MB12"), 0);
    EXPECT_EQ(ParseInteger(""), 0);
    EXPECT_EQ(ParseInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(FormatTemplateTest, SubstitutesOnePlaceholderWithoutFormatInterpretation) {
    EXPECT_EQ(FormatTemplate("memory %i", "32"), "memory 32");
    EXPECT_EQ(FormatTemplate("style %s now", "Solid"), "style Solid now");
    EXPECT_EQ(FormatTemplate("x %i %i", "1"), "x 1 %i");
    EXPECT_EQ(FormatTemplate("100%% %i", "2"), "100% 2");
    EXPECT_EQ(FormatTemplate("%n%p %s", "v"), "%n%p v");
    EXPECT_EQ(FormatTemplate("clearhash", "v"), "clearhash");
}

}  // namespace
}  // namespace pontax
