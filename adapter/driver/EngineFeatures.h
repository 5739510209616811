#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string_view>

namespace pontax {

class EngineDialogue;

// What the engine announced in its "feature" lines.
struct EngineFeatures {
    std::atomic<bool> san{false};
    std::atomic<bool> colors{false};
    // The protocol's own default: every engine takes "time" and "otim" unless it says time=0.
    std::atomic<bool> time{true};
    std::atomic<bool> usermove{false};
    // The engine answers "ping N" with "pong N" once it has read everything sent before.
    std::atomic<bool> ping{false};
    // The engine takes "exclude"/"include" lists of moves its search must leave out.
    std::atomic<bool> exclude{false};
    // Set by done=0 (the engine needs more time), cleared by done=1.
    std::atomic<bool> featureWait{false};

    // Whether done=1, the engine's first line or the end of its output have come, for the
    // greeting's waits.
    struct DoneSignal {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
        bool outputEnded = false;
        bool anyOutput = false;
    } done;
};

// Answers every feature of one "feature ..." engine line with "accepted <key>" and records the
// ones the adapter uses.
void ParseFeatures(EngineDialogue& d, std::string_view line);

// Back to what the protocol assumes of an engine that has announced nothing, for a new engine.
void ResetFeatures(EngineDialogue& d);
// Forgets that done=1 arrived; called when a greeting starts.
void ResetFeaturesDone(EngineDialogue& d);
// Waits up to limit for done=1 or for the engine's output to end; true if either happened.
bool WaitForFeaturesDone(EngineDialogue& d, std::chrono::milliseconds limit);
// Waits up to limit while featureWait is set; true when it was cleared (or output ended).
bool WaitWhileFeatureWait(EngineDialogue& d, std::chrono::milliseconds limit);
// Wakes the waits above for good: no more feature lines will come.
void NotifyEngineOutputEnded(EngineDialogue& d);
// Records that the engine has written a line since its start.
void NoteEngineOutput(EngineDialogue& d);
// Waits up to limit for the engine's first line, done=1 or the end of its output; true if the
// engine has said anything by then.
bool WaitForFirstOutput(EngineDialogue& d, std::chrono::milliseconds limit);

}  // namespace pontax
