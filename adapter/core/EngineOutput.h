#pragma once

#include <string_view>

namespace pontax {

class EngineDialogue;

// Handles one line of the engine's output (on the engine reader's thread). Always true.
bool HandleEngineLine(EngineDialogue& d, std::string_view line);
// The ticker's callback: asks the engine for a status line while thinking output is reported.
void RequestStatusTick(EngineDialogue& d);

}  // namespace pontax
