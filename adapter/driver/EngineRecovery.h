#pragma once

#include <mutex>

namespace pontax {

// Held while a GUI command is handled and while the engine is started again, so that no command
// finds the engine half started.
std::mutex& EngineCommandLock();

// Called when the engine's output has ended. With RestartEngine on, while the GUI is connected and
// no "quit" is under way, and if fewer than three restarts happened in the last minute, the
// outstanding search is answered now and a restart is requested; true then. False means the
// adapter ends, as without the key.
bool BeginEngineRecovery();
// For the main thread, once for every engine end that BeginEngineRecovery took on.
bool TakeRecoveryRequest();
// The main thread's part: starts the engine again with the GUI's options unless a GUI command
// did so first; the next search sets up the game afresh. False when it cannot be started, and
// the adapter ends.
bool RestartLostEngine();
// A GUI command's part, with EngineCommandLock held: a restart not yet done is done now, so the
// command finds an engine that runs whenever the main thread gets to it.
void RestartLostEngineFirst();
// "quit" is under way: an engine that ends now is not started again.
void NoteQuitRequested();
// Tells the GUI, in the search just begun, of a restart it has not been told of.
void SendRestartNoticeIfOwed();

}  // namespace pontax
