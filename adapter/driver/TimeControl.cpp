#include "TimeControl.h"

#include <cstdio>

#include "EngineDialogue.h"
#include "LineWriters.h"
#include "Settings.h"

namespace pontax {

namespace {
constexpr int kSetlevelType = 2;
}  // namespace

void SendLevel(EngineDialogue& d, int movesPerControl, int seconds, int incrementSeconds) {
    char line[128];
    if (d.settings.LevelType != kSetlevelType) {
        if (seconds >= 60)
            std::snprintf(line, sizeof line, "level %d %d %d", movesPerControl, seconds / 60,
                          incrementSeconds);
        else
            std::snprintf(line, sizeof line, "level %d 0:%02d %d", movesPerControl, seconds,
                          incrementSeconds);
    } else if (seconds == kOneDaySeconds) {
        SendDepth(d, kUnlimitedDepth);
        return;
    } else if (movesPerControl != 0) {
        std::snprintf(line, sizeof line, "setlevel 1 %d %d %d %d", movesPerControl, seconds, movesPerControl,
                      seconds);
    } else {
        std::snprintf(line, sizeof line, "setlevel 5 %d %d", seconds, incrementSeconds);
    }
    SendToEngine(d, line);
}

void SendDayLongLevel(EngineDialogue& d) {
    SendLevel(d, 0, kOneDaySeconds, 0);
    auto& level = d.lastLevel;
    level.moves = 1;
    level.minutes = kOneDayMinutes;
    level.increment = 0;
}

std::string DepthCommand(EngineDialogue& d, int depth) {
    return (d.settings.LevelType == kSetlevelType ? "setlevel 0 " : "sd ") + std::to_string(depth);
}

void SendDepth(EngineDialogue& d, int depth) { SendToEngine(d, DepthCommand(d, depth)); }

}  // namespace pontax
