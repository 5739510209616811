#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "StringUtil.h"
#include "TextFile.h"

namespace pontax {

bool TextFile::Open(std::string_view name, Mode mode) {
    Close();
    std::string path = Trim(name);
    if (path.empty()) return false;
    int flags = mode == Mode::ReadExisting ? O_RDONLY : (O_RDWR | O_CREAT | O_APPEND);
    handle_ = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    // A directory opens for reading here, but is no file (as on Windows, where it does not open).
    struct stat status {};
    if (IsOpen() && ::fstat(handle_, &status) == 0 && S_ISDIR(status.st_mode)) Close();
    readBuffer_.clear();
    readPos_ = 0;
    return IsOpen();
}

void TextFile::Close() {
    if (IsOpen()) ::close(handle_);
    handle_ = kNoHandle;
}

size_t TextFile::ReadSome(char* buffer, size_t size) {
    ssize_t n;
    do {
        n = ::read(handle_, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

bool TextFile::Write(std::string_view bytes) {
    if (!IsOpen()) return false;
    while (!bytes.empty()) {
        ssize_t n = ::write(handle_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace pontax
