#include "adapter/driver/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {
constexpr size_t kReadChunk = 64 * 1024;
}

bool TextFile::Open(std::string_view name, Mode mode) {
    Close();
    std::string path = Trim(name);
    if (path.empty()) return false;
    int flags = mode == Mode::ReadExisting ? O_RDONLY : (O_RDWR | O_CREAT | O_APPEND);
    fd_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    readBuffer_.clear();
    readPos_ = 0;
    return fd_ >= 0;
}

void TextFile::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool TextFile::FillBuffer() {
    readBuffer_.resize(kReadChunk);
    ssize_t n;
    do {
        n = ::read(fd_, readBuffer_.data(), kReadChunk);
    } while (n < 0 && errno == EINTR);
    readBuffer_.resize(n > 0 ? static_cast<size_t>(n) : 0);
    readPos_ = 0;
    return n > 0;
}

bool TextFile::ReadLine(std::string& out) {
    out.clear();
    if (fd_ < 0) return false;
    for (;;) {
        if (readPos_ >= readBuffer_.size() && !FillBuffer()) return !out.empty();
        while (readPos_ < readBuffer_.size()) {
            char c = readBuffer_[readPos_++];
            if (c == '\n') return true;
            if (c != '\r') out += c;
        }
    }
}

bool TextFile::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
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
