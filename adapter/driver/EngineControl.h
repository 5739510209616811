#pragma once

#include <atomic>

namespace pontax {

class EngineDialogue;

// Starts the configured engine, greets it, negotiates its features and sends its standing options.
// Blocks for the greeting waits. True when an engine runs afterwards.
bool StartEngine(EngineDialogue& d);
// Asks a running engine to quit (ending a search first) and closes its pipes; with TerminateHard
// it waits up to five seconds and then kills it. Without an engine it wakes the main loop.
void StopEngine(EngineDialogue& d);

// Re-send one standing option; each does nothing while no engine runs.
// Starts or ends spin threads to match SlowDown.
void StartSpinThreads(EngineDialogue& d);
// "post" or "nopost" as Noise asks, or as given.
void SendPost(EngineDialogue& d);
void SendPost(EngineDialogue& d, bool post);
void SendHashCommand(EngineDialogue& d);
void SendPonderMode(EngineDialogue& d);
// "ping N" with the next number, for an engine that announced ping; empty for any other.
std::string NextPing(EngineDialogue& d);
// The engine has answered the last ping: what it writes now follows everything sent before it.
bool EngineCaughtUp(EngineDialogue& d);
// Puts the engine in force mode: moves sent to it are recorded, not answered.
void SendForce(EngineDialogue& d);
// Ends the engine's analysis. Some engines leave xboard mode with it, so that is announced again;
// the engine is left in force mode. An engine with ping is asked to show it has stopped.
void EndAnalysis(EngineDialogue& d);

// The hash value for the engine: Hash, or HashFormula evaluated with HASH set to Hash.
int HashValue(EngineDialogue& d);

}  // namespace pontax
