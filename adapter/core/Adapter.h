#pragma once

#include "Configuration.h"
#include "EngineDialogue.h"

namespace pontax {

// The adapter: its configuration and its dialogue with the engine, which own everything it
// knows and every thread it runs. Start-up makes one; a test or a fuzz input makes a fresh one.
struct Adapter {
    Configuration config;
    EngineDialogue dialogue{config};
};

}  // namespace pontax
