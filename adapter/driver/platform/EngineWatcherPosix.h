#pragma once

#include <sys/types.h>

#include <chrono>

namespace pontax {

// How long an engine told to quit may take to end by itself once the adapter has gone.
inline constexpr std::chrono::seconds kEngineQuitGrace{10};
// How often the watcher looks at the adapter and the engine.
inline constexpr std::chrono::milliseconds kWatcherInterval{100};

// Starts a small process of the adapter's own beside the engine (its process group `engine`),
// which the adapter's threads cannot be: while the adapter is stopped (SIGSTOP) the engine is
// stopped too; a stopped adapter whose parent (the GUI) has gone is ended with its engine; when
// the adapter ends, the engine is ended at once, or after kEngineQuitGrace if it was told to quit.
// Returns the descriptor the adapter keeps for NoteQuitSent and CloseWatcher, or -1.
// Forks; call it on the thread that spawns the engine.
int StartEngineWatcher(pid_t engine);
// The engine was told to quit: it is given its grace. Closes the descriptor.
void NoteQuitSent(int watcher);
// The adapter ends the engine itself. Closes the descriptor.
void CloseWatcher(int watcher);

}  // namespace pontax
