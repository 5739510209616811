#pragma once

#include <functional>
#include <string_view>

#include "adapter/driver/ChildProcess.h"

namespace pontax {

// The engine process of this adapter.
ChildProcess& EngineProcess();

// Sends one line (or several joined by "\n") to the engine, logged with "S<", after the Delay
// setting's pause. Dropped while no engine runs. Lines from several threads never interleave.
void SendToEngine(std::string_view line);
// Sends one line to the GUI on standard output, logged with "C<".
void SendToGui(std::string_view line);

// Where GUI lines go instead of standard output; tests capture them with it.
using GuiSink = std::function<void(std::string_view bytes)>;
void SetGuiSink(GuiSink sink);

}  // namespace pontax
