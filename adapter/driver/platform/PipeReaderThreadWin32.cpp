#include <windows.h>

#include "PipeReaderThread.h"

namespace pontax {

size_t PipeReaderThread::ReadSome(char* buffer, size_t size) {
    {
        std::lock_guard lock(threadHandleMutex_);
        if (!threadHandle_)
            ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(),
                              &threadHandle_, 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    while (!stopped_) {
        DWORD n = 0;
        if (::ReadFile(handle_, buffer, static_cast<DWORD>(size), &n, nullptr)) {
            if (n > 0) return n;
            // A zero-byte message on a pipe is no end; on a file or console it is.
            if (::GetFileType(handle_) != FILE_TYPE_PIPE) return 0;
            continue;
        }
        // A read cancelled by Stop ends the loop through the stop flag; every other failure
        // (broken pipe, end of file, a handle that cannot be read) ends the reader.
        if (::GetLastError() != ERROR_OPERATION_ABORTED) return 0;
    }
    return 0;
}

void PipeReaderThread::InterruptRead() {
    std::lock_guard lock(threadHandleMutex_);
    if (threadHandle_) ::CancelSynchronousIo(threadHandle_);
}

void PipeReaderThread::EndReading() {
    if (ownsHandle_ && handle_ != kNoHandle) ::CloseHandle(handle_);
    std::lock_guard lock(threadHandleMutex_);
    if (threadHandle_) ::CloseHandle(threadHandle_);
    threadHandle_ = nullptr;
}

}  // namespace pontax
