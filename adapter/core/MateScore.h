#pragma once

#include <string>

#include "Settings.h"

namespace pontax {

// The UCI form of an engine's score: "cp S", or "mate N" / "mate -N" (N in moves) when MateScores
// is on and S lies in the engine's mate band (MateBand).
std::string UciScore(const AdapterSettings& settings, int score);

}  // namespace pontax
