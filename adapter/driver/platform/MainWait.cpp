#include "MainWait.h"

namespace pontax {

void MainWait::OpenWakeEvent() {
    std::lock_guard lock(mutex_);
    wakeEventOpen_ = true;
    wakeSignalled_ = false;
    slot0_ = Slot0::WakeEvent;
}

bool MainWait::IsWakeEventOpen() {
    std::lock_guard lock(mutex_);
    return wakeEventOpen_;
}

void MainWait::CloseWakeEvent() {
    std::lock_guard lock(mutex_);
    wakeEventOpen_ = false;
    wakeSignalled_ = false;
    if (slot0_ == Slot0::WakeEvent) slot0_ = Slot0::Empty;
}

bool MainWait::SignalWakeEvent() {
    {
        std::lock_guard lock(mutex_);
        if (!wakeEventOpen_) return false;
        wakeSignalled_ = true;
    }
    changed_.notify_all();
    return true;
}

void MainWait::WatchEngineReader() {
    std::lock_guard lock(mutex_);
    slot0_ = Slot0::EngineReader;
}

void MainWait::ClearSlot0() {
    {
        std::lock_guard lock(mutex_);
        slot0_ = Slot0::Empty;
    }
    changed_.notify_all();
}

void MainWait::WatchGuiReader() {
    std::lock_guard lock(mutex_);
    guiReaderWatched_ = true;
}

void MainWait::NotifyEngineReaderStarted() {
    std::lock_guard lock(mutex_);
    engineReaderEnded_ = false;
}

void MainWait::NotifyEngineReaderEnded() {
    {
        std::lock_guard lock(mutex_);
        engineReaderEnded_ = true;
    }
    changed_.notify_all();
}

void MainWait::NotifyGuiReaderEnded() {
    {
        std::lock_guard lock(mutex_);
        guiReaderEnded_ = true;
    }
    changed_.notify_all();
}

bool MainWait::Slot0Ready() const {
    return (slot0_ == Slot0::WakeEvent && wakeSignalled_) ||
           (slot0_ == Slot0::EngineReader && engineReaderEnded_);
}

MainWait::Result MainWait::Wait(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    auto ready = [this] {
        return slot0_ == Slot0::Empty || !guiReaderWatched_ || Slot0Ready() || guiReaderEnded_;
    };
    if (!changed_.wait_for(lock, timeout, ready)) return Result::Timeout;
    if (slot0_ == Slot0::Empty || !guiReaderWatched_) return Result::Failed;
    if (Slot0Ready()) {
        if (slot0_ == Slot0::WakeEvent) wakeSignalled_ = false;
        return Result::Slot0;
    }
    return Result::Slot1;
}

}  // namespace pontax
