#include "TextFile.h"

namespace pontax {

namespace {
constexpr size_t kReadChunk = 64 * 1024;
}

bool TextFile::FillBuffer() {
    readBuffer_.resize(kReadChunk);
    readBuffer_.resize(ReadSome(readBuffer_.data(), kReadChunk));
    readPos_ = 0;
    return !readBuffer_.empty();
}

bool TextFile::ReadLine(std::string& out) {
    out.clear();
    if (!IsOpen()) return false;
    for (;;) {
        if (readPos_ >= readBuffer_.size() && !FillBuffer()) return !out.empty();
        while (readPos_ < readBuffer_.size()) {
            char c = readBuffer_[readPos_++];
            if (c == '\n') return true;
            if (c != '\r') out += c;
        }
    }
}

bool TextFile::WriteText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    std::string_view source = text.empty() ? std::string_view("\n") : text;
    for (size_t i = 0; i < source.size(); ++i) {
        char c = source[i];
        if (c == '\r' && i + 1 < source.size() && source[i + 1] == '\n') continue;
        if (c == '\n') out += '\r';
        out += c;
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
    return Write(out);
}

}  // namespace pontax
