#include "adapter/driver/EngineControl.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "adapter/config/HashFormula.h"
#include "adapter/config/Log.h"
#include "adapter/config/PendingCommands.h"
#include "adapter/config/PriorityWatchdog.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MainWait.h"
#include "adapter/driver/Priority.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"
#include "adapter/driver/TimeControl.h"
#include "adapter/driver/Workers.h"

namespace pontax {

std::atomic<bool> engineReady{true};

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kFirstFeatureWait{1000};
constexpr milliseconds kFeatureWaitStep{1000};
constexpr int kFeatureWaitSteps = 59;
// Some engines lose what arrives in the same read as "xboard", so "protover 2" follows apart.
constexpr milliseconds kProtoverPause{100};
constexpr milliseconds kStopMoveStep{250};
constexpr int kStopMoveSteps = 20;
constexpr int kStartLevelSeconds = 300;
constexpr int kStartLevelMinutes = 5;

// An engine whose input thread holds the input stream's lock while it waits can starve the thread
// that answers (GNU Chess does, at random): every line that arrives gives that thread another
// chance, so a silent engine is sent empty lines, which xboard engines ignore.
constexpr milliseconds kNudgeInterval{100};
constexpr int kNudges = 9;

void NudgeSilentEngine() {
    for (int i = 0; i < kNudges && !WaitForFirstOutput(kNudgeInterval); ++i) {
        WriteLog("", log_tag::kToEngine);
        EngineProcess().WriteToInput("\n");
    }
}

milliseconds Seconds(int seconds) { return milliseconds(seconds > 0 ? seconds * 1000LL : 0); }

std::string EngineCommandLine() {
    auto& settings = Settings();
    std::string commandLine = Trim(settings.Program.Get());
    std::string hashCommand = settings.HashCommand.Get();
    if (settings.HashOnCommandline && !IsUnsetText(hashCommand))
        commandLine.append(" ").append(FormatTemplate(hashCommand, std::to_string(HashValue())));
    return commandLine;
}

// Waits for the engine's features as the protocol version asks. Returns early when the engine
// has said done=1 or its output has ended.
void GreetEngine() {
    auto& settings = Settings();
    if (settings.Protocol == 1) {
        std::this_thread::sleep_for(Seconds(settings.InitTime));
        SendToEngine("xboard");
        return;
    }
    SendToEngine("xboard");
    std::this_thread::sleep_for(kProtoverPause);
    SendToEngine("protover 2");
    auto protoverSent = std::chrono::steady_clock::now();
    NudgeSilentEngine();
    auto waited = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - protoverSent);
    bool done = WaitForFeaturesDone(std::max(kFirstFeatureWait - waited, milliseconds{0}));
    if (!done && !Features().featureWait && settings.InitTime != 0)
        WaitForFeaturesDone(Seconds(settings.InitTime) - kFirstFeatureWait);
    for (int step = 0; step < kFeatureWaitSteps && Features().featureWait; ++step)
        if (WaitWhileFeatureWait(kFeatureWaitStep)) break;
}

void ApplyEnginePriorities() {
    auto& settings = Settings();
    auto& engine = EngineProcess();
    if (settings.RunIdle) {
        engine.SetPriorityClass(priority_class::kIdle);
        return;
    }
    if (recordedPriorityClass != priority_class::kNormal) {
        engine.SetPriorityClass(recordedPriorityClass);
        LogPriorityClass(recordedPriorityClass);
    }
    if (settings.Priority != thread_priority::kNormal) {
        engine.SetThreadPriority(settings.Priority);
        LogThreadPriority(settings.Priority);
    }
}

void ResetEnginePriorities() {
    EngineProcess().SetPriorityClass(priority_class::kNormal);
    EngineProcess().SetThreadPriority(thread_priority::kNormal);
}

}  // namespace

int HashValue() {
    auto& settings = Settings();
    std::string formula = settings.HashFormula.Get();
    if (formula.empty()) return settings.Hash;
    std::string text = "HASH=" + std::to_string(settings.Hash.load()) + ";" + formula;
    double value = HashFormulaEvaluator().Evaluate(text);
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;  // also NaN
    return static_cast<int>(value);
}

bool StartEngine() {
    auto& settings = Settings();
    auto& engine = EngineProcess();
    if (engine.Exists()) return true;
    if (IsUnsetText(settings.Program.Get())) return false;
    std::string commandLine = EngineCommandLine();
    WriteLog("Starting server: " + commandLine, log_tag::kEngineProcess);
    engineReady = false;
    ResetEnginePriorities();
    ResetFeaturesDone();
    if (engine.Start(commandLine) == 0) {
        engine.Stop(settings.TerminateHard);
        WriteLog("Error starting server program.", log_tag::kEngineProcess);
        engineReady = true;
        return false;
    }
    MainLoop().NotifyEngineReaderStarted();
    EngineReader().Start(engine.TakeOutput(), true);
    GreetEngine();
    SendToEngine("new");
    SendLevel(0, kStartLevelSeconds, 0);
    auto& level = LastLevelSent();
    level.moves = 0;
    level.minutes = kStartLevelMinutes;
    level.increment = 0;
    if (std::string init = settings.InitString.Get(); !IsUnsetText(init)) SendToEngine(init);
    SendPost();
    SendHashCommand();
    SendPonderMode();
    FlushPendingEngineCommands();
    SpinThreads().SetCount(settings.SlowDown - 1);
    ApplyEnginePriorities();
    engineReady = true;
    MainLoop().SignalWakeEvent();
    return true;
}

void StopEngine() {
    auto& search = Search();
    auto& engine = EngineProcess();
    engineReady = false;
    search.tickerState = TickerState::Idle;
    ResetEnginePriorities();
    // An engine whose output has ended will not answer "?".
    if (search.Mode() == EngineMode::Searching && !EngineReader().HasEnded()) {
        SendToEngine("?");
        for (int step = 0; step < kStopMoveSteps && search.Mode() == EngineMode::Searching; ++step)
            search.WaitWhileMode(EngineMode::Searching, kStopMoveStep);
    } else if (search.Mode() == EngineMode::Analysing) {
        SendToEngine("exit");
    }
    if (engine.Exists()) {
        SendToEngine("quit");
        engine.Stop(Settings().TerminateHard);
        // Closing our end of the engine's output ends the reader, and with it the main loop.
        EngineReader().Stop();
    } else if (!MainLoop().SignalWakeEvent()) {
        MainLoop().ClearSlot0();
    }
    engineReady = true;
}

void SendPost() {
    if (EngineProcess().Exists()) SendToEngine(Settings().Noise < 0 ? "nopost" : "post");
}

void SendHashCommand() {
    auto& settings = Settings();
    std::string hashCommand = settings.HashCommand.Get();
    if (!EngineProcess().Exists() || settings.HashOnCommandline || IsUnsetText(hashCommand)) return;
    SendToEngine(FormatTemplate(hashCommand, std::to_string(HashValue())));
}

void SendPonderMode() {
    auto& settings = Settings();
    if (EngineProcess().Exists()) SendToEngine(settings.Ponder && settings.ponderAskedByGui ? "hard" : "hard\neasy");
}

std::string NextPing() {
    return Features().ping ? "ping " + std::to_string(++Search().pingSent) : std::string();
}

bool EngineCaughtUp() { return !Features().ping || Search().pongReceived == Search().pingSent; }

void SendForce() {
    SendToEngine("force");
    Search().engineForceMode = true;
}

void EndAnalysis() {
    SendToEngine("exit");
    SendToEngine("xboard");
    SendForce();
    // The analysis is over once the engine answers this: its lines until then are not shown.
    if (std::string ping = NextPing(); !ping.empty()) SendToEngine(ping);
}

}  // namespace pontax
