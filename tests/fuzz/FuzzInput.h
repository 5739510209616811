#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzzing {

// The lines of a fuzz input, split at "\n" (a "\r" before it is dropped).
inline std::vector<std::string> SplitLines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        char c = static_cast<char>(data[i]);
        if (c != '\n') {
            current += c;
            continue;
        }
        if (!current.empty() && current.back() == '\r') current.pop_back();
        lines.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty()) lines.push_back(std::move(current));
    return lines;
}

}  // namespace fuzzing
