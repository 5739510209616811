#pragma once

#include <string_view>

#include "Settings.h"

namespace pontax {

// The [OPTIONS] keys that switch on what the adapter does beyond its UCI options: MateScores,
// MateBand, EngineOptions, ClockMargin and RestartEngine, in any case. True when key is one.
bool ApplyFileOnlyKey(AdapterSettings& settings, std::string_view key, std::string_view value);

}  // namespace pontax
