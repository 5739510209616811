#include <windows.h>

#include "CommandLine.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr size_t kMaxPath = MAX_PATH;

bool EndsInExe(const std::string& text) {
    return text.size() >= 4 && ToUpper(text.substr(text.size() - 4)) == ".EXE";
}

bool IsFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> FullPath(const std::string& path) {
    char buffer[kMaxPath];
    DWORD length = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return std::nullopt;
    return std::string(buffer, length);
}

// Cuts the last blank-separated word off, the way the name was cut when the program was looked for.
void DropLastWord(std::string& text) {
    if (static_cast<unsigned char>(text.back()) <= ' ') {
        text.pop_back();
        return;
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) > ' ') text.pop_back();
    if (!text.empty()) text.pop_back();
}

}  // namespace

std::optional<std::string> FindProgramDirectory(std::string_view commandLine) {
    std::string program = Trim(commandLine);
    // A quoted program is the quoted text, blanks and all.
    if (!program.empty() && program.front() == '"') program = program.substr(1, program.find('"', 1) - 1);
    auto text = FullPath(program);
    if (!text) return std::nullopt;
    while (!text->empty()) {
        if (!EndsInExe(*text)) *text += ".exe";
        if (text->size() > kMaxPath) return std::nullopt;
        if (IsFile(*text)) {
            auto path = FullPath(*text);
            if (!path) return std::nullopt;
            return path->substr(0, path->find_last_of("\\/") + 1);
        }
        DropLastWord(*text);
    }
    return std::nullopt;
}

}  // namespace pontax
