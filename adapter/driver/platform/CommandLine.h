#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pontax {

#ifndef _WIN32
// A command line split like a Windows one: the program is the longest blank-separated prefix that
// names an existing file (so an unquoted path with blanks works); the rest, or the whole line when
// no prefix names a file, is split at blanks with double quotes grouping.
struct SplitCommand {
    std::string program;                 // a path, or a bare name to look up on PATH
    std::vector<std::string> arguments;  // argv, program name first
};
SplitCommand SplitCommandLine(std::string_view commandLine);

// Where execv finds program: itself when it holds a "/", else the first match on PATH.
std::optional<std::string> ResolveExecutable(const std::string& program);
#endif

// The directory (with a trailing separator) of the program at the head of commandLine, found by
// cutting words off the end until the rest names an existing file (on Windows, with ".exe" added
// where it is missing); nullopt when none does.
std::optional<std::string> FindProgramDirectory(std::string_view commandLine);

}  // namespace pontax
