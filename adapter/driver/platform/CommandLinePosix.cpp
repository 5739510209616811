#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "CommandLine.h"
#include "StringUtil.h"

namespace pontax {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Drops the last blank-separated word and the blanks before it; empty when nothing is left.
std::string_view DropLastWord(std::string_view text) {
    size_t end = text.find_last_of(kBlankChars);
    if (end == std::string_view::npos) return {};
    text = text.substr(0, end);
    size_t last = text.find_last_not_of(kBlankChars);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// The longest prefix of text, cut at blanks, that names an existing regular file.
std::optional<std::string> LongestExistingPrefix(std::string_view text) {
    for (std::string_view prefix = text; !prefix.empty(); prefix = DropLastWord(prefix))
        if (IsRegularFile(std::string(prefix))) return std::string(prefix);
    return std::nullopt;
}

std::vector<std::string> SplitQuoted(std::string_view text) {
    std::vector<std::string> words;
    std::string current;
    bool inWord = false, quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && CharInSet(c, kBlankChars)) {
            if (inWord) words.push_back(std::move(current));
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(std::move(current));
    return words;
}

std::string AbsolutePath(std::string_view path) {
    if (!path.empty() && path[0] == '/') return std::string(path);
    char* cwd = ::getcwd(nullptr, 0);
    std::string result = cwd ? std::string(cwd) + "/" + std::string(path) : std::string(path);
    std::free(cwd);
    return result;
}

}  // namespace

SplitCommand SplitCommandLine(std::string_view commandLine) {
    std::string text = Trim(commandLine);
    SplitCommand result;
    if (auto program = LongestExistingPrefix(text)) {
        result.program = AbsolutePath(*program);
        result.arguments = SplitQuoted(std::string_view(text).substr(program->size()));
        result.arguments.insert(result.arguments.begin(), *program);
        return result;
    }
    result.arguments = SplitQuoted(text);
    if (!result.arguments.empty()) result.program = result.arguments.front();
    return result;
}

std::optional<std::string> FindProgramDirectory(std::string_view commandLine) {
    auto program = LongestExistingPrefix(Trim(commandLine));
    if (!program) return std::nullopt;
    std::string path = AbsolutePath(*program);
    return path.substr(0, path.rfind('/') + 1);
}

std::optional<std::string> ResolveExecutable(const std::string& program) {
    if (program.empty()) return std::nullopt;
    if (program.find('/') != std::string::npos) return program;
    const char* pathVariable = std::getenv("PATH");
    std::string_view path = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        size_t colon = path.find(':');
        std::string_view dir = path.substr(0, colon);
        std::string candidate = (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
        if (IsRegularFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        path.remove_prefix(colon + 1);
    }
}

}  // namespace pontax
