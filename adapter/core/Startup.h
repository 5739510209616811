#pragma once

namespace pontax {

class EngineDialogue;

inline constexpr const char* kVersionText = "Pontax 1.3B10";

// Connects the reader threads and the ticker to the command loop and the output translation.
void InstallReaders(EngineDialogue& d);
// The whole life of the adapter: start-up, the wait loop and shutdown. Returns the exit code,
// which is always 0.
int RunAdapter(int argc, char** argv);

}  // namespace pontax
