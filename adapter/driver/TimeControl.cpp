#include "adapter/driver/TimeControl.h"

#include <cstdio>

#include "adapter/config/Settings.h"
#include "adapter/driver/LineWriters.h"

namespace pontax {

namespace {
constexpr int kOneDaySeconds = 86400;
constexpr int kUnlimitedDepth = 99;
constexpr int kSetlevelType = 2;
}  // namespace

LastLevel& LastLevelSent() {
    static LastLevel level;
    return level;
}

void SendLevel(int movesPerControl, int seconds, int incrementSeconds) {
    char line[128];
    if (Settings().LevelType != kSetlevelType) {
        if (seconds >= 60)
            std::snprintf(line, sizeof line, "level %d %d %d", movesPerControl, seconds / 60, incrementSeconds);
        else
            std::snprintf(line, sizeof line, "level %d 0:%02d %d", movesPerControl, seconds, incrementSeconds);
    } else if (seconds == kOneDaySeconds) {
        SendDepth(kUnlimitedDepth);
        return;
    } else if (movesPerControl != 0) {
        std::snprintf(line, sizeof line, "setlevel 1 %d %d %d %d", movesPerControl, seconds, movesPerControl,
                      seconds);
    } else {
        std::snprintf(line, sizeof line, "setlevel 5 %d %d", seconds, incrementSeconds);
    }
    SendToEngine(line);
}

std::string DepthCommand(int depth) {
    return (Settings().LevelType == kSetlevelType ? "setlevel 0 " : "sd ") + std::to_string(depth);
}

void SendDepth(int depth) { SendToEngine(DepthCommand(depth)); }

}  // namespace pontax
