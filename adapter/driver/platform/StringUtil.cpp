#include "StringUtil.h"

#include <algorithm>
#include <climits>

namespace pontax {

std::string GetWord(std::string_view text, int n, std::string_view delimiters) {
    size_t pos = 0;
    for (int word = 1; pos < text.size(); ++word) {
        pos = text.find_first_not_of(delimiters, pos);
        if (pos == std::string_view::npos) break;
        size_t end = text.find_first_of(delimiters, pos);
        if (end == std::string_view::npos) end = text.size();
        if (word == n) return std::string(text.substr(pos, end - pos));
        pos = end;
    }
    return {};
}

std::vector<std::string> SplitWords(std::string_view text, std::string_view delimiters) {
    std::vector<std::string> words;
    size_t pos = 0;
    while ((pos = text.find_first_not_of(delimiters, pos)) != std::string_view::npos) {
        size_t end = text.find_first_of(delimiters, pos);
        if (end == std::string_view::npos) end = text.size();
        words.emplace_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

std::string_view TakeWord(std::string_view& text) {
    size_t begin = text.find_first_not_of(kBlankChars);
    if (begin == std::string_view::npos) {
        text = {};
        return {};
    }
    size_t end = std::min(text.find_first_of(kBlankChars, begin), text.size());
    std::string_view word = text.substr(begin, end - begin);
    text.remove_prefix(end);
    return word;
}

std::string_view PeekWord(std::string_view text) { return TakeWord(text); }

std::string_view TrimmedView(std::string_view text) {
    size_t first = text.find_first_not_of(kBlankChars);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(kBlankChars);
    return text.substr(first, last - first + 1);
}

std::string Trim(std::string_view text) { return std::string(TrimmedView(text)); }

std::string ToUpper(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = AsciiUpper(c);
    return result;
}

bool CharInSet(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

int FindFirstOf(std::string_view text, std::string_view set, int from) {
    if (from < 0 || static_cast<size_t>(from) >= text.size()) return -1;
    size_t pos = text.find_first_of(set, static_cast<size_t>(from));
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

int FindFirstNotOf(std::string_view text, std::string_view set, int from) {
    if (from < 0 || static_cast<size_t>(from) >= text.size()) return -1;
    size_t pos = text.find_first_not_of(set, static_cast<size_t>(from));
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char SimpleEscape(char c) {
    switch (c) {
        case '"':
        case '\'':
        case '?':
        case '\\':
            return c;
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        default:
            return 0;
    }
}

}  // namespace

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            ++i;
            continue;
        }
        char next = text[i + 1];
        if (char simple = SimpleEscape(next)) {
            out += simple;
            i += 2;
        } else if (next == 'x' && i + 2 < text.size() && HexDigitValue(text[i + 2]) >= 0) {
            // Only the low eight bits count, so accumulating modulo 256 is exact.
            unsigned value = 0;
            for (i += 2; i < text.size() && HexDigitValue(text[i]) >= 0; ++i)
                value = (value * 16 + static_cast<unsigned>(HexDigitValue(text[i]))) & 0xFF;
            out += static_cast<char>(value);
        } else if (next >= '0' && next <= '7') {
            unsigned value = 0;
            for (i += 1; i < text.size() && text[i] >= '0' && text[i] <= '7'; ++i)
                value = (value * 8 + static_cast<unsigned>(text[i] - '0')) & 0xFF;
            out += static_cast<char>(value);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence of more than one byte at `at`, or 0.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = at + 1; i < at + length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // Overlong forms, surrogates and code points past U+10FFFF.
    if ((lead == 0xE0 && byte(at + 1) < 0xA0) || (lead == 0xED && byte(at + 1) >= 0xA0) ||
        (lead == 0xF0 && byte(at + 1) < 0x90) || (lead == 0xF4 && byte(at + 1) >= 0x90))
        return 0;
    return length;
}

}  // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    AppendPrintableText(out, text);
    return out;
}

void AppendPrintableText(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += text[i++];
        } else if (size_t length = c >= 0x80 ? Utf8SequenceLength(text, i) : 0; length > 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += '?';
            ++i;
        }
    }
}

std::string EscapeControls(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    out += "\\x";
                    out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
                    out += kHex[static_cast<unsigned char>(c) & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out;
}

bool ParseBool(std::string_view text) {
    std::string upper = ToUpper(text);
    if (upper.empty()) return false;
    if (upper[0] == 'T') return true;
    if (upper[0] == 'F') return false;
    if (upper == "ON") return true;
    if (upper == "OFF") return false;
    return upper[0] >= '1' && upper[0] <= '9';
}

int ParseInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && CharInSet(text[i], kBlankChars)) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

bool IsUnsetText(std::string_view text) { return text.empty() || text == kEmptyText; }

std::string FormatTemplate(std::string_view pattern, std::string_view value) {
    std::string out;
    out.reserve(pattern.size() + value.size());
    bool substituted = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        char spec = pattern[i + 1];
        if (spec == '%') {
            out += '%';
            ++i;
        } else if (!substituted && (spec == 'i' || spec == 'd' || spec == 's')) {
            out += value;
            substituted = true;
            ++i;
        } else {
            out += '%';
        }
    }
    return out;
}

}  // namespace pontax
