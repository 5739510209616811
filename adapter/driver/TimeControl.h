#pragma once

#include <atomic>
#include <string>

namespace pontax {

// The time control last sent to the engine: moves per control, minutes, increment in seconds.
struct LastLevel {
    std::atomic<int> moves{0};
    std::atomic<int> minutes{5};
    std::atomic<int> increment{0};
};
LastLevel& LastLevelSent();

// Sends a time control of P moves in `seconds` with an increment, in the engine's dialect.
void SendLevel(int movesPerControl, int seconds, int incrementSeconds);
// Sends a depth limit.
void SendDepth(int depth);
// The depth-limit command SendDepth sends.
std::string DepthCommand(int depth);

}  // namespace pontax
