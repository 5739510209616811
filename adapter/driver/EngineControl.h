#pragma once

#include <atomic>

namespace pontax {

// Starts the configured engine, greets it, negotiates its features and sends its standing options.
// Blocks for the greeting waits. True when an engine runs afterwards.
bool StartEngine();
// Asks a running engine to quit (ending a search first) and closes its pipes; with TerminateHard
// it waits up to five seconds and then kills it. Without an engine it wakes the main loop.
void StopEngine();

// Re-send one standing option; each does nothing while no engine runs.
void SendPost();
void SendHashCommand();
void SendPonderMode();

// The hash value for the engine: Hash, or HashFormula evaluated with HASH set to Hash.
int HashValue();

// False while an engine start or stop is in progress.
extern std::atomic<bool> engineReady;

}  // namespace pontax
