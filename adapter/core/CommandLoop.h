#pragma once

#include <string_view>

namespace pontax {

class EngineDialogue;

inline constexpr std::string_view kEngineStartError = "info string Error starting engine.";

// Handles one line from the GUI (on the GUI reader's thread). False only when the engine could
// not be started at "isready", which ends the adapter.
bool HandleGuiLine(EngineDialogue& d, std::string_view line);

}  // namespace pontax
