#pragma once

#include "adapter/driver/PeriodicThread.h"
#include "adapter/driver/PipeReaderThread.h"
#include "adapter/driver/SpinThreadPool.h"

namespace pontax {

// Reads the engine's output and hands each line to the engine line handler.
PipeReaderThread& EngineReader();
// Reads the GUI's commands from standard input.
PipeReaderThread& GuiReader();
// The threads that slow the engine down (SlowDown - 1 of them).
SpinThreadPool& SpinThreads();
// The once-a-second status request ticker, running while ShowThinkingMove is on.
PeriodicThread& StatusTicker();

}  // namespace pontax
