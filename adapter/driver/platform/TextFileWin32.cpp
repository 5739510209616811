#include <windows.h>

#include "StringUtil.h"
#include "TextFile.h"

namespace pontax {

bool TextFile::Open(std::string_view name, Mode mode) {
    Close();
    std::string path = Trim(name);
    if (path.empty()) return false;
    // Appending goes to the end whoever else writes: two adapters of one match share a log.
    bool reading = mode == Mode::ReadExisting;
    HANDLE file =
        ::CreateFileA(path.c_str(), reading ? GENERIC_READ : (GENERIC_READ | FILE_APPEND_DATA),
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, reading ? OPEN_EXISTING : OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    handle_ = file == INVALID_HANDLE_VALUE ? kNoHandle : file;
    readBuffer_.clear();
    readPos_ = 0;
    return IsOpen();
}

void TextFile::Close() {
    if (IsOpen()) ::CloseHandle(handle_);
    handle_ = kNoHandle;
}

size_t TextFile::ReadSome(char* buffer, size_t size) {
    DWORD n = 0;
    return ::ReadFile(handle_, buffer, static_cast<DWORD>(size), &n, nullptr) ? n : 0;
}

bool TextFile::Write(std::string_view bytes) {
    if (!IsOpen()) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace pontax
