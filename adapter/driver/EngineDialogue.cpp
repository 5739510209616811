#include "EngineDialogue.h"

#include <chrono>

#include "EngineControl.h"
#include "Log.h"

namespace pontax {

namespace {
constexpr std::chrono::milliseconds kTickerInterval{1000};
}  // namespace

EngineDialogue::EngineDialogue(Configuration& configuration)
    : config(configuration), settings(configuration.settings) {}

EngineDialogue::~EngineDialogue() {
    ticker.Stop();
    clockGuard.Stop();
    spinThreads.StopAll();
    engineReader.Stop();
    guiReader.Stop();
}

void EngineDialogue::SendOrQueue(std::string_view command) {
    if (EngineExists())
        SendToEngine(*this, command);
    else
        config.pending.Queue(command);
}

void EngineDialogue::Changed(std::string_view key) {
    if (key == "HASH") {
        SendHashCommand(*this);
    } else if (key == "NOISE") {
        SendPost(*this);
    } else if (key == "SLOWDOWN") {
        if (EngineExists()) StartSpinThreads(*this);
    } else if (key == "COMPUTER") {
        if (settings.Computer && EngineExists()) SendToEngine(*this, "computer");
    } else if (key == "SHOWTHINKINGMOVE") {
        ticker.Stop();
        search.SetTicker(TickerState::Idle);
        if (settings.ShowThinkingMove) ticker.Start(kTickerInterval);
    } else if (key == "PONDER") {
        SendPonderMode(*this);
    }
}

}  // namespace pontax
