#include "adapter/config/FileOnlyKeys.h"

#include <string>

#include "adapter/config/Settings.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

int NotNegative(std::string_view value) {
    int number = ParseInteger(value);
    return number < 0 ? 0 : number;
}

}  // namespace

bool ApplyFileOnlyKey(std::string_view key, std::string_view value) {
    auto& settings = Settings();
    std::string upper = ToUpper(key);
    if (upper == "MATESCORES") settings.MateScores = ParseBool(value);
    else if (upper == "MATEBAND") settings.MateBand = NotNegative(value);
    else if (upper == "ENGINEOPTIONS") settings.EngineOptions = ParseBool(value);
    else if (upper == "CLOCKMARGIN") settings.ClockMargin = NotNegative(value);
    else if (upper == "RESTARTENGINE") settings.RestartEngine = ParseBool(value);
    else return false;
    return true;
}

}  // namespace pontax
