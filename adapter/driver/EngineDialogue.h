#pragma once

#include <atomic>
#include <mutex>
#include <string_view>

#include "ChildProcess.h"
#include "ClockGuard.h"
#include "Configuration.h"
#include "EngineFeatures.h"
#include "EngineLink.h"
#include "EngineRecovery.h"
#include "LineWriters.h"
#include "MainWait.h"
#include "PeriodicThread.h"
#include "PipeReaderThread.h"
#include "Positions.h"
#include "SearchState.h"
#include "SettingEffects.h"
#include "SpinThreadPool.h"
#include "TimeControl.h"

namespace pontax {

// The xboard dialogue with one engine and the UCI side it answers: everything the adapter knows
// of the engine and the search, and the threads that carry the lines. The dialogue's functions
// take it as their first argument. It also gives the configuration the settings' effects on a
// running engine.
class EngineDialogue final : public SettingEffects {
public:
    explicit EngineDialogue(Configuration& configuration);
    EngineDialogue(const EngineDialogue&) = delete;
    EngineDialogue& operator=(const EngineDialogue&) = delete;
    ~EngineDialogue() override;

    void SendOrQueue(std::string_view command) override;
    void Changed(std::string_view key) override;

    // Tests speak to a recording instead of a process.
    void UseEngineLink(EngineLink& link) { link_ = &link; }
    bool EngineExists() const { return link_->Exists(); }
    EngineLink& Link() { return *link_; }

    Configuration& config;
    AdapterSettings& settings;
    ChildProcess process;
    GuiOutput gui;
    SearchState search;
    EngineFeatures features;
    PositionStore positions;
    LastLevel lastLevel;
    RecoveryState recovery;
    // False while an engine start or stop is in progress.
    std::atomic<bool> engineReady{true};
    // Held while a GUI command is handled and while the engine is started again, so that no
    // command finds the engine half started.
    std::mutex commandLock;
    // Serialises the lines written to the engine.
    std::mutex engineWriteLock;
    MainWait mainWait;
    // Reads the engine's output and hands each line to the engine line handler.
    PipeReaderThread engineReader;
    // Reads the GUI's commands from standard input.
    PipeReaderThread guiReader;
    // The threads that slow the engine down (SlowDown - 1 of them).
    SpinThreadPool spinThreads;
    // The once-a-second status request ticker, running while ShowThinkingMove is on.
    PeriodicThread ticker;
    ClockGuard clockGuard{*this};

private:
    ProcessEngineLink processLink_{process};
    EngineLink* link_ = &processLink_;
};

}  // namespace pontax
