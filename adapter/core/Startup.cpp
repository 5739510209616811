#include "adapter/core/Startup.h"

#include <chrono>
#include <string>

#include "adapter/config/ConfigFile.h"
#include "adapter/config/Log.h"
#include "adapter/config/PriorityWatchdog.h"
#include "adapter/core/CommandLoop.h"
#include "adapter/core/EngineOutput.h"
#include "adapter/driver/BestMove.h"
#include "adapter/driver/ChildProcess.h"
#include "adapter/driver/ClockGuard.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/EngineRecovery.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MainWait.h"
#include "adapter/driver/StandardStreams.h"
#include "adapter/driver/StringUtil.h"
#include "adapter/driver/Workers.h"

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

void LoadStartupConfiguration(int argc, char** argv) {
    std::string fileName = JoinArguments(argc, argv);
    if (fileName.empty() || !LoadConfiguration(fileName)) LoadConfiguration(kDefaultConfigurationFile);
}

// Waits until the GUI's input ends, the engine cannot be started, or the engine's output ends
// (and it is not started again), running the priority watchdog every five seconds.
void WaitLoop() {
    auto& wait = MainLoop();
    while (true) {
        switch (wait.Wait(kWatchdogPeriod)) {
        case MainWait::Result::Timeout: PriorityWatchdog(); break;
        case MainWait::Result::Slot0:
            if (!wait.IsWakeEventOpen()) {
                if (TakeRecoveryRequest() && RestartLostEngine()) break;
                return;
            }
            wait.CloseWakeEvent();
            if (!EngineReader().IsRunning()) return;
            wait.WatchEngineReader();
            break;
        case MainWait::Result::Slot1:
        case MainWait::Result::Failed: return;
        }
    }
}

// Returns false when a reader thread is stuck in its callback and could not be joined.
bool Shutdown() {
    bool clean = GuiReader().Stop();
    if (MainLoop().IsWakeEventOpen())
        MainLoop().CloseWakeEvent();
    else if (EngineProcess().Exists())
        StopEngine();
    clean = EngineReader().Stop() && clean;
    StatusTicker().Stop();
    SearchClockGuard().Stop();
    SpinThreads().StopAll();
    LeaveDetachedChildren(kQuitGrace);
    CloseLogFile();
    return clean;
}

}  // namespace

void InstallReaders() {
    StatusTicker().SetCallback(RequestStatusTick);
    EngineReader().SetCallback(HandleEngineLine);
    EngineReader().SetOnEnd([] {
        // The host still gets the move of a search the engine did not finish.
        if (!BeginEngineRecovery()) AnswerOutstandingSearch();
        NotifyEngineOutputEnded();
        MainLoop().NotifyEngineReaderEnded();
    });
    GuiReader().SetCallback(HandleGuiLine);
    GuiReader().SetOnEnd([] { MainLoop().NotifyGuiReaderEnded(); });
}

int RunAdapter(int argc, char** argv) {
    PrepareStandardStreams();
    BeginLogBuffering();
    WriteLog(kVersionText, log_tag::kVersion);
    RecordStartupPriorities();
    LoadStartupConfiguration(argc, argv);
    MainLoop().OpenWakeEvent();
    EngineProcess().SetThreadPriority(0);
    InstallReaders();
    if (GuiReader().Start(StandardInputHandle(), false)) MainLoop().WatchGuiReader();
    WaitLoop();
    if (!Shutdown()) {
        // A thread that cannot be joined would run into the static destructors.
        ExitAtOnce();
    }
    return 0;
}

}  // namespace pontax
