#include "adapter/core/EngineOutput.h"

#include "adapter/config/Log.h"
#include "adapter/driver/EngineFeatures.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

bool HandleEngineLine(const std::string& rawLine) {
    std::string line = Trim(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromEngine);
    if (GetWord(line, 1) == "feature") ParseFeatures(line);
    return true;
}

void RequestStatusTick() {
    if (Search().tickerState == TickerState::Reporting) SendToEngine(".");
}

}  // namespace pontax
