#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "CommandLine.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

using testing_support::TempDir;

TEST(SplitCommandLineTest, QuotesGroupAndBlanksSeparate) {
    auto split = SplitCommandLine("  engine -x \"two words\" last ");
    EXPECT_EQ(split.program, "engine");
    EXPECT_EQ(split.arguments, (std::vector<std::string>{"engine", "-x", "two words", "last"}));
}

TEST(SplitCommandLineTest, AnUnquotedPathWithBlanksNamesTheProgram) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("my engines"));
    dir.Write("my engines/fast engine", "");
    std::string path = dir.File("my engines/fast engine");
    auto split = SplitCommandLine(path + " -xboard 32");
    EXPECT_EQ(split.program, path);
    EXPECT_EQ(split.arguments, (std::vector<std::string>{path, "-xboard", "32"}));
    EXPECT_EQ(FindProgramDirectory(path + " -xboard 32"), dir.File("my engines/"));
}

TEST(FindProgramDirectoryTest, RelativeProgramYieldsItsAbsoluteDirectory) {
    TempDir dir;
    dir.Write("eng", "");
    char* old = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
    auto directory = FindProgramDirectory("eng --hash 64");
    auto split = SplitCommandLine("eng --hash 64");
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);
    EXPECT_EQ(directory, dir.Path() + "/");
    EXPECT_EQ(split.program, dir.Path() + "/eng");
}

TEST(FindProgramDirectoryTest, NoExistingFileGivesNothing) {
    EXPECT_EQ(FindProgramDirectory("no-such-engine -x"), std::nullopt);
    EXPECT_EQ(FindProgramDirectory(""), std::nullopt);
}

TEST(ResolveExecutableTest, LooksUpBareNamesOnPath) {
    EXPECT_EQ(ResolveExecutable("sh").value_or("").substr(0, 1), "/");
    EXPECT_EQ(ResolveExecutable("./x"), "./x");
    EXPECT_EQ(ResolveExecutable("surely-no-such-program-here"), std::nullopt);
}

}  // namespace
}  // namespace pontax
