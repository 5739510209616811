#pragma once

#include <string_view>

#include "NativeHandle.h"

namespace pontax {

// Makes a GUI or engine that goes away unable to kill the adapter in the middle of a write.
void PrepareStandardStreams();
// The adapter's standard input, as the GUI's reader reads it.
NativeHandle StandardInputHandle();
// Writes all bytes to the standard output the adapter was started with.
void WriteStandardOutput(std::string_view bytes);
// Ends the process at once with exit code 0, skipping static destructors; buffered C streams are
// flushed first.
[[noreturn]] void ExitAtOnce();

}  // namespace pontax
