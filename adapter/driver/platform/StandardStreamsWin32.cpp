#include <windows.h>

#include <cstdio>

#include "StandardStreams.h"

namespace pontax {

namespace {
// Taken once before anything can redirect the process's standard handles.
const HANDLE standardOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
const HANDLE standardInput = ::GetStdHandle(STD_INPUT_HANDLE);
}  // namespace

// A broken pipe is an error result on Windows, never a signal.
void PrepareStandardStreams() {}

NativeHandle StandardInputHandle() {
    return standardInput == INVALID_HANDLE_VALUE ? kNoHandle : standardInput;
}

void WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(standardOutput, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return;
        bytes.remove_prefix(written);
    }
}

void ExitAtOnce() {
    std::fflush(nullptr);
    ::ExitProcess(0);
}

}  // namespace pontax
