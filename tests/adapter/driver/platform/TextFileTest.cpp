#include <gtest/gtest.h>

#include "TextFile.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

using testing_support::TempDir;

std::vector<std::string> ReadAll(const std::string& path) {
    TextFile file;
    std::vector<std::string> lines;
    if (!file.Open(path, TextFile::Mode::ReadExisting)) return lines;
    std::string line;
    while (file.ReadLine(line)) lines.push_back(line);
    return lines;
}

TEST(TextFileTest, ReadsLinesDroppingCarriageReturnsAndKeepsAnUnterminatedLastLine) {
    TempDir dir;
    dir.Write("a.txt", "one\r\ntw\ro\n\nthree");
    EXPECT_EQ(ReadAll(dir.File("a.txt")), (std::vector<std::string>{"one", "two", "", "three"}));
}

TEST(TextFileTest, ReadsVeryLongLinesAndBinaryBytes) {
    TempDir dir;
    std::string longLine(100000, 'x');
    dir.Write("b.txt", longLine + "\n" + std::string("a\0b", 3) + "\n");
    auto lines = ReadAll(dir.File("b.txt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
    EXPECT_EQ(lines[1], std::string("a\0b", 3));
}

TEST(TextFileTest, OpenFailsForMissingOrEmptyNames) {
    TextFile file;
    EXPECT_FALSE(file.Open("/nonexistent/dir/file", TextFile::Mode::ReadExisting));
    EXPECT_FALSE(file.Open("   ", TextFile::Mode::ReadExisting));
    EXPECT_FALSE(file.IsOpen());
}

TEST(TextFileTest, WriteTextEndsEveryLineWithCarriageReturnLineFeedAndAppends) {
    TempDir dir;
    {
        TextFile file;
        ASSERT_TRUE(file.Open(dir.File("log"), TextFile::Mode::AppendOrCreate));
        file.WriteText("a");
        file.WriteText("b\nc");
        file.WriteText("d\r\n");
        file.WriteText("");
    }
    {
        TextFile file;
        ASSERT_TRUE(file.Open(dir.File("log"), TextFile::Mode::AppendOrCreate));
        file.WriteText("e");
    }
    EXPECT_EQ(dir.Read("log"), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
}

}  // namespace
}  // namespace pontax
