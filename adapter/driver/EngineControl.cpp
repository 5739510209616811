#include "EngineControl.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "EngineDialogue.h"
#include "EngineFeatures.h"
#include "HashFormula.h"
#include "LineWriters.h"
#include "Log.h"
#include "MainWait.h"
#include "PendingCommands.h"
#include "Priority.h"
#include "PriorityWatchdog.h"
#include "SearchState.h"
#include "Settings.h"
#include "StringUtil.h"
#include "TimeControl.h"

namespace pontax {

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
// that answers (GNU Chess does, at random, and for seconds on a busy machine): every line that
// arrives gives that thread another chance, so a silent engine is sent empty lines, which xboard
// engines ignore, for as long as its features are waited for.
constexpr milliseconds kNudgeInterval{100};

void NudgeSilentEngine(EngineDialogue& d, milliseconds wait) {
    for (auto end = std::chrono::steady_clock::now() + wait;
         std::chrono::steady_clock::now() + kNudgeInterval < end && !WaitForFirstOutput(d, kNudgeInterval);) {
        WriteLog("", log_tag::kToEngine);
        d.Link().Write("\n");
    }
}

milliseconds Seconds(int seconds) { return milliseconds(seconds > 0 ? seconds * 1000LL : 0); }

std::string EngineCommandLine(EngineDialogue& d) {
    auto& settings = d.settings;
    std::string commandLine = Trim(settings.Program.Get());
    std::string hashCommand = settings.HashCommand.Get();
    if (settings.HashOnCommandline && !IsUnsetText(hashCommand))
        commandLine.append(" ").append(FormatTemplate(hashCommand, std::to_string(HashValue(d))));
    return commandLine;
}

// Waits for the engine's features as the protocol version asks. Returns early when the engine
// has said done=1 or its output has ended.
void GreetEngine(EngineDialogue& d) {
    auto& settings = d.settings;
    if (settings.Protocol == 1) {
        std::this_thread::sleep_for(Seconds(settings.InitTime));
        SendToEngine(d, "xboard");
        return;
    }
    SendToEngine(d, "xboard");
    std::this_thread::sleep_for(kProtoverPause);
    SendToEngine(d, "protover 2");
    auto protoverSent = std::chrono::steady_clock::now();
    auto left = [&](milliseconds wait) {
        auto waited =
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - protoverSent);
        return std::max(wait - waited, milliseconds{0});
    };
    NudgeSilentEngine(d, std::max(kFirstFeatureWait, Seconds(settings.InitTime)));
    bool done = WaitForFeaturesDone(d, left(kFirstFeatureWait));
    if (!done && !d.features.featureWait && settings.InitTime != 0)
        WaitForFeaturesDone(d, left(Seconds(settings.InitTime)));
    for (int step = 0; step < kFeatureWaitSteps && d.features.featureWait; ++step)
        if (WaitWhileFeatureWait(d, kFeatureWaitStep)) break;
}

void ApplyEnginePriorities(EngineDialogue& d) {
    auto& settings = d.settings;
    ChildProcess* engine = d.Link().Process();
    if (!engine) return;
    if (settings.RunIdle) {
        engine->SetPriorityClass(priority_class::kIdle);
        return;
    }
    if (int recorded = d.config.recordedPriorityClass; recorded != priority_class::kNormal) {
        engine->SetPriorityClass(recorded);
        LogPriorityClass(recorded);
    }
    if (settings.Priority != thread_priority::kNormal) {
        engine->SetThreadPriority(settings.Priority);
        LogThreadPriority(settings.Priority);
    }
}

void ResetEnginePriorities(EngineDialogue& d) {
    if (ChildProcess* engine = d.Link().Process()) {
        engine->SetPriorityClass(priority_class::kNormal);
        engine->SetThreadPriority(thread_priority::kNormal);
    }
}

}  // namespace

int HashValue(EngineDialogue& d) {
    auto& settings = d.settings;
    std::string formula = settings.HashFormula.Get();
    if (formula.empty()) return settings.Hash;
    std::string text = "HASH=" + std::to_string(settings.Hash.load()) + ";" + formula;
    double value = d.config.hashFormula.Evaluate(text);
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;  // also NaN
    return static_cast<int>(value);
}

bool StartEngine(EngineDialogue& d) {
    auto& settings = d.settings;
    auto& engine = d.Link();
    if (engine.Exists()) return true;
    if (IsUnsetText(settings.Program.Get())) return false;
    std::string commandLine = EngineCommandLine(d);
    WriteLog("Starting server: " + commandLine, log_tag::kEngineProcess);
    d.engineReady = false;
    ResetEnginePriorities(d);
    ResetFeaturesDone(d);
    if (!engine.Start(commandLine)) {
        engine.Stop(settings.TerminateHard);
        WriteLog("Error starting server program.", log_tag::kEngineProcess);
        d.engineReady = true;
        return false;
    }
    d.mainWait.NotifyEngineReaderStarted();
    d.engineReader.Start(engine.TakeOutput(), true);
    GreetEngine(d);
    SendToEngine(d, "new");
    SendLevel(d, 0, kStartLevelSeconds, 0);
    auto& level = d.lastLevel;
    level.moves = 0;
    level.minutes = kStartLevelMinutes;
    level.increment = 0;
    if (std::string init = settings.InitString.Get(); !IsUnsetText(init)) SendToEngine(d, init);
    SendPost(d);
    SendHashCommand(d);
    SendPonderMode(d);
    for (const auto& command : d.config.pending.TakeAll()) SendToEngine(d, command);
    StartSpinThreads(d);
    ApplyEnginePriorities(d);
    d.engineReady = true;
    d.mainWait.SignalWakeEvent();
    return true;
}

void StopEngine(EngineDialogue& d) {
    auto& search = d.search;
    auto& engine = d.Link();
    d.engineReady = false;
    search.SetTicker(TickerState::Idle);
    ResetEnginePriorities(d);
    // An engine whose output has ended will not answer "?".
    if (search.Mode() == EngineMode::Searching && !d.engineReader.HasEnded()) {
        SendToEngine(d, "?");
        for (int step = 0; step < kStopMoveSteps && search.Mode() == EngineMode::Searching; ++step)
            search.WaitWhileMode(EngineMode::Searching, kStopMoveStep);
    } else if (search.Mode() == EngineMode::Analysing) {
        SendToEngine(d, "exit");
    }
    if (engine.Exists()) {
        SendToEngine(d, "quit");
        engine.Stop(d.settings.TerminateHard);
        // Closing our end of the engine's output ends the reader, and with it the main loop.
        d.engineReader.Stop();
    } else if (!d.mainWait.SignalWakeEvent()) {
        d.mainWait.ClearSlot0();
    }
    d.engineReady = true;
}

void StartSpinThreads(EngineDialogue& d) {
    // The machine may allow fewer: those that run stay, and the adapter goes on.
    if (std::string why = d.spinThreads.SetCount(d.settings.SlowDown - 1); !why.empty())
        WriteLog("SlowDown: " + why, log_tag::kRemark);
}

void SendPost(EngineDialogue& d) { SendPost(d, d.settings.Noise >= 0); }

void SendPost(EngineDialogue& d, bool post) {
    if (d.EngineExists()) SendToEngine(d, post ? "post" : "nopost");
}

void SendHashCommand(EngineDialogue& d) {
    auto& settings = d.settings;
    std::string hashCommand = settings.HashCommand.Get();
    if (!d.EngineExists() || settings.HashOnCommandline || IsUnsetText(hashCommand)) return;
    SendToEngine(d, FormatTemplate(hashCommand, std::to_string(HashValue(d))));
}

void SendPonderMode(EngineDialogue& d) {
    auto& settings = d.settings;
    if (d.EngineExists())
        SendToEngine(d, settings.Ponder && settings.ponderAskedByGui ? "hard" : "hard\neasy");
}

std::string NextPing(EngineDialogue& d) {
    return d.features.ping ? "ping " + std::to_string(d.search.NextPingNumber()) : std::string();
}

bool EngineCaughtUp(EngineDialogue& d) { return !d.features.ping || d.search.AnsweredLastPing(); }

void SendForce(EngineDialogue& d) {
    SendToEngine(d, "force");
    d.search.SetEngineForceMode(true);
}

void EndAnalysis(EngineDialogue& d) {
    SendToEngine(d, "exit");
    SendToEngine(d, "xboard");
    SendForce(d);
    // The analysis is over once the engine answers this: its lines until then are not shown.
    if (std::string ping = NextPing(d); !ping.empty()) SendToEngine(d, ping);
}

}  // namespace pontax
