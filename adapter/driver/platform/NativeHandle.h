#pragma once

namespace pontax {

// What the system hands out for a pipe end or a file: a Win32 HANDLE or a POSIX descriptor.
#ifdef _WIN32
using NativeHandle = void*;
inline constexpr NativeHandle kNoHandle = nullptr;
using ProcessId = unsigned long;
#else
using NativeHandle = int;
inline constexpr NativeHandle kNoHandle = -1;
using ProcessId = int;
#endif

}  // namespace pontax
