#include "adapter/core/CommandLoop.h"

#include <chrono>

#include "adapter/config/Log.h"
#include "adapter/config/OptionList.h"
#include "adapter/config/SettingHandler.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/MainWait.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

void HandleUci() {
    SendToGui("id name " + Settings().EngineName.Get());
    SendToGui("id author " + Settings().EngineAuthor.Get());
    SendOptionList();
    SendToGui("uciok");
}

bool HandleIsReady() {
    DiscardLogBuffer();
    if (!EngineProcess().Exists() && !StartEngine()) {
        SendToGui(kEngineStartError);
        MainLoop().SignalWakeEvent();
        return false;
    }
    SendToGui("readyok");
    return true;
}

// Ends a search: a searching engine is told to move now, an analysing one to leave analysis.
// With no search outstanding there is nothing to answer.
void HandleStop() {
    auto& search = Search();
    search.tickerState = TickerState::Idle;
    if (search.Mode() == EngineMode::Searching)
        SendToEngine("?");
    else if (search.Mode() == EngineMode::Analysing)
        SendToEngine("exit");
}

}  // namespace

bool HandleGuiLine(const std::string& rawLine) {
    std::string line = Trim(rawLine);
    if (line.empty()) return true;
    WriteLog(line, log_tag::kFromGui);
    if (line == "uci") {
        HandleUci();
    } else if (line == "isready") {
        return HandleIsReady();
    } else if (line == "quit") {
        StopEngine();
    } else if (line == "stop") {
        HandleStop();
    } else {
        std::string command = GetWord(line, 1);
        if (command == "setoption") HandleSetOption(line);
        // "go", "position" and "ponderhit" are recognised here; the search is not built yet.
    }
    return true;
}

}  // namespace pontax
