#pragma once

#include <string>
#include <string_view>

#include "NativeHandle.h"

namespace pontax {

// A text file read line by line or appended to with CR LF line ends.
class TextFile {
public:
    enum class Mode { ReadExisting, AppendOrCreate };

    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile() { Close(); }

    bool Open(std::string_view name, Mode mode);
    void Close();
    bool IsOpen() const { return handle_ != kNoHandle; }
    // Next line without "\r" and "\n"; false at end of file when nothing was read.
    bool ReadLine(std::string& out);
    bool Write(std::string_view bytes);
    // Writes text with every line end as CR LF, adding one at the end if missing.
    bool WriteText(std::string_view text);

private:
    bool FillBuffer();
    // Reads up to size bytes; 0 at the end of the file or on an error.
    size_t ReadSome(char* buffer, size_t size);

    NativeHandle handle_ = kNoHandle;
    std::string readBuffer_;
    size_t readPos_ = 0;
};

}  // namespace pontax
