#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace pontax {

// What the main thread waits on: slot 0 holds the wake event until the engine runs, then the end
// of the engine's output; slot 1 holds the end of the GUI's input. The wake event resets itself
// when a wait returns it.
class MainWait {
public:
    enum class Result { Timeout, Slot0, Slot1, Failed };

    void OpenWakeEvent();
    bool IsWakeEventOpen();
    void CloseWakeEvent();
    // Signals the wake event; false when it is not open.
    bool SignalWakeEvent();
    // Slot 0 watches the engine reader from now on.
    void WatchEngineReader();
    // Leaves slot 0 empty, which makes the next wait fail.
    void ClearSlot0();
    void WatchGuiReader();
    void NotifyEngineReaderEnded();
    void NotifyEngineReaderStarted();
    void NotifyGuiReaderEnded();
    Result Wait(std::chrono::milliseconds timeout);

private:
    enum class Slot0 { Empty, WakeEvent, EngineReader };

    bool Slot0Ready() const;

    std::mutex mutex_;
    std::condition_variable changed_;
    Slot0 slot0_ = Slot0::Empty;
    bool wakeEventOpen_ = false;
    bool wakeSignalled_ = false;
    bool engineReaderEnded_ = false;
    bool guiReaderWatched_ = false;
    bool guiReaderEnded_ = false;
};

}  // namespace pontax
