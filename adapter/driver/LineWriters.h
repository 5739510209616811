#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/driver/ChildProcess.h"

namespace pontax {

// The engine process of this adapter.
ChildProcess& EngineProcess();

// Sends one line (or several joined by "\n") to the engine, logged with "S<", after the Delay
// setting's pause. Dropped while no engine runs. Lines from several threads never interleave.
void SendToEngine(std::string_view line);
// Sends several lines in one write, or one by one when Delay asks for a pause before each.
void SendToEngine(const std::vector<std::string>& lines);
// Sends one line to the GUI on standard output, logged with "C<".
void SendToGui(std::string_view line);

// A line the GUI gets before any other: written by the next SendToGui, or by SendOwedGuiLine.
// A search's opening line waits so, and its engine commands are written first.
void OweGuiLine(std::string_view line);
void SendOwedGuiLine();

// Where GUI lines go instead of standard output; tests capture them with it.
using GuiSink = std::function<void(std::string_view bytes)>;
void SetGuiSink(GuiSink sink);

}  // namespace pontax
