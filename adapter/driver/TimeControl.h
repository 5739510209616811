#pragma once

#include <atomic>
#include <string>

namespace pontax {

// A time control of a whole day is no time control: the engine gets a depth limit instead.
inline constexpr int kOneDaySeconds = 86400;
inline constexpr int kOneDayMinutes = 1440;
inline constexpr int kUnlimitedDepth = 99;

class EngineDialogue;

// The time control last sent to the engine: moves per control, minutes, increment in seconds.
struct LastLevel {
    std::atomic<int> moves{0};
    std::atomic<int> minutes{5};
    std::atomic<int> increment{0};
};

// Sends a time control of P moves in `seconds` with an increment, in the engine's dialect.
void SendLevel(EngineDialogue& d, int movesPerControl, int seconds, int incrementSeconds);
// A level of one day for the whole game: how an untimed search is asked of the engine.
void SendDayLongLevel(EngineDialogue& d);
// Sends a depth limit.
void SendDepth(EngineDialogue& d, int depth);
// The depth-limit command SendDepth sends.
std::string DepthCommand(EngineDialogue& d, int depth);

}  // namespace pontax
