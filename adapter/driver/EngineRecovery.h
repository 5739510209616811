#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>

namespace pontax {

class EngineDialogue;

using RecoveryClock = std::chrono::steady_clock;

// Where a lost engine's recovery stands.
struct RecoveryState {
    std::atomic<bool> quitRequested{false};
    // A restart is owed: taken by whoever holds the command lock first.
    std::atomic<bool> restartOwed{false};
    std::atomic<bool> restartFailed{false};
    // Engine ends taken on, and those the main thread has seen.
    std::atomic<unsigned> recoveriesBegun{0};
    unsigned recoveriesSeen = 0;  // main thread only
    std::atomic<bool> noticeOwed{false};
    std::mutex restartsMutex;
    std::deque<RecoveryClock::time_point> restarts;
};

// Called when the engine's output has ended. With RestartEngine on, while the GUI is connected and
// no "quit" is under way, and if fewer than three restarts happened in the last minute, the
// outstanding search is answered now and a restart is requested; true then. False means the
// adapter ends, as without the key.
bool BeginEngineRecovery(EngineDialogue& d);
// For the main thread, once for every engine end that BeginEngineRecovery took on.
bool TakeRecoveryRequest(EngineDialogue& d);
// The main thread's part: starts the engine again with the GUI's options unless a GUI command
// did so first; the next search sets up the game afresh. False when it cannot be started, and
// the adapter ends.
bool RestartLostEngine(EngineDialogue& d);
// A GUI command's part, with EngineCommandLock held: a restart not yet done is done now, so the
// command finds an engine that runs whenever the main thread gets to it.
void RestartLostEngineFirst(EngineDialogue& d);
// "quit" is under way: an engine that ends now is not started again.
void NoteQuitRequested(EngineDialogue& d);
// Tells the GUI, in the search just begun, of a restart it has not been told of.
void SendRestartNoticeIfOwed(EngineDialogue& d);

}  // namespace pontax
