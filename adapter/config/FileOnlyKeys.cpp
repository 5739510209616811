#include "FileOnlyKeys.h"

#include <string>

#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

int NotNegative(std::string_view value) {
    int number = ParseInteger(value);
    return number < 0 ? 0 : number;
}

}  // namespace

bool ApplyFileOnlyKey(AdapterSettings& settings, std::string_view key, std::string_view value) {
    std::string upper = ToUpper(key);
    if (upper == "MATESCORES")
        settings.MateScores = ParseBool(value);
    else if (upper == "MATEBAND")
        settings.MateBand = NotNegative(value);
    else if (upper == "ENGINEOPTIONS")
        settings.EngineOptions = ParseBool(value);
    else if (upper == "CLOCKMARGIN")
        settings.ClockMargin = NotNegative(value);
    else if (upper == "RESTARTENGINE")
        settings.RestartEngine = ParseBool(value);
    else
        return false;
    return true;
}

}  // namespace pontax
