#include "Startup.h"

#include <chrono>
#include <string>

#include "Adapter.h"
#include "BestMove.h"
#include "ChildProcess.h"
#include "ClockGuard.h"
#include "CommandLoop.h"
#include "ConfigFile.h"
#include "EngineControl.h"
#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "EngineOutput.h"
#include "EngineRecovery.h"
#include "LineWriters.h"
#include "Log.h"
#include "MainWait.h"
#include "PriorityWatchdog.h"
#include "StandardStreams.h"
#include "StringUtil.h"

namespace pontax {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kWatchdogPeriod{5000};
// How long an engine told to quit may take to end by itself when the adapter exits.
constexpr milliseconds kQuitGrace{1000};

std::string JoinArguments(int argc, char** argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) text.append(" ").append(argv[i]);
    return Trim(text);
}

void LoadStartupConfiguration(EngineDialogue& d, int argc, char** argv) {
    std::string fileName = JoinArguments(argc, argv);
    if (fileName.empty() || !LoadConfiguration(d.config, d, fileName))
        LoadConfiguration(d.config, d, kDefaultConfigurationFile);
}

// Waits until the GUI's input ends, the engine cannot be started, or the engine's output ends
// (and it is not started again), running the priority watchdog every five seconds.
void WaitLoop(EngineDialogue& d) {
    auto& wait = d.mainWait;
    while (true) {
        switch (wait.Wait(kWatchdogPeriod)) {
            case MainWait::Result::Timeout:
                if (ChildProcess* engine = d.Link().Process())
                    PriorityWatchdog(d.config, *engine, d.engineReady);
                break;
            case MainWait::Result::Slot0:
                if (!wait.IsWakeEventOpen()) {
                    if (TakeRecoveryRequest(d) && RestartLostEngine(d)) break;
                    return;
                }
                wait.CloseWakeEvent();
                if (!d.engineReader.IsRunning()) return;
                wait.WatchEngineReader();
                break;
            case MainWait::Result::Slot1:
            case MainWait::Result::Failed:
                return;
        }
    }
}

// Returns false when a reader thread is stuck in its callback and could not be joined.
bool Shutdown(EngineDialogue& d) {
    bool clean = d.guiReader.Stop();
    if (d.mainWait.IsWakeEventOpen())
        d.mainWait.CloseWakeEvent();
    else if (d.EngineExists())
        StopEngine(d);
    clean = d.engineReader.Stop() && clean;
    d.ticker.Stop();
    d.clockGuard.Stop();
    d.spinThreads.StopAll();
    LeaveDetachedChildren(kQuitGrace);
    CloseLogFile();
    return clean;
}

}  // namespace

void InstallReaders(EngineDialogue& d) {
    d.ticker.SetCallback([&d] { RequestStatusTick(d); });
    d.engineReader.SetCallback([&d](std::string_view line) { return HandleEngineLine(d, line); });
    d.engineReader.SetOnEnd([&d] {
        // The host still gets the move of a search the engine did not finish.
        if (!BeginEngineRecovery(d)) AnswerOutstandingSearch(d);
        NotifyEngineOutputEnded(d);
        d.mainWait.NotifyEngineReaderEnded();
    });
    d.guiReader.SetCallback([&d](std::string_view line) { return HandleGuiLine(d, line); });
    d.guiReader.SetOnEnd([&d] { d.mainWait.NotifyGuiReaderEnded(); });
}

int RunAdapter(int argc, char** argv) {
    PrepareStandardStreams();
    BeginLogBuffering();
    WriteLog(kVersionText, log_tag::kVersion);
    Adapter adapter;
    EngineDialogue& d = adapter.dialogue;
    RecordStartupPriorities(d.config);
    LoadStartupConfiguration(d, argc, argv);
    d.mainWait.OpenWakeEvent();
    d.process.SetThreadPriority(0);
    InstallReaders(d);
    if (d.guiReader.Start(StandardInputHandle(), false)) d.mainWait.WatchGuiReader();
    WaitLoop(d);
    if (!Shutdown(d)) {
        // A thread that cannot be joined would run into the adapter's destructor.
        ExitAtOnce();
    }
    return 0;
}

}  // namespace pontax
