#include "EngineRefusals.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "EngineDialogue.h"
#include "LineWriters.h"
#include "Log.h"
#include "Positions.h"
#include "SearchState.h"
#include "Settings.h"
#include "StringUtil.h"
#include "TimeControl.h"

namespace pontax {

namespace {

struct Refusal {
    bool unknown = false;  // the engine does not know the command at all, rather than not now
    std::string command;
};

// "Error (type): command ...".
std::optional<Refusal> ReadRefusal(std::string_view line) {
    if (line.rfind("Error", 0) != 0) return std::nullopt;
    size_t open = line.find('(');
    size_t close = line.find(')', open);
    size_t colon = line.find(':', close);
    if (open == std::string_view::npos || close == std::string_view::npos || colon == std::string_view::npos)
        return std::nullopt;
    std::string type(line.substr(open + 1, close - open - 1));
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Fairy-Stockfish writes "unkown".
    bool unknown = type.find("unknown") != std::string::npos || type.find("unkown") != std::string::npos;
    return Refusal{unknown, GetWord(line.substr(colon + 1), 1)};
}

// The engine has the position but did not start analysing it: it thinks on it without a limit
// instead, and "stop" ends that as any search.
void SearchUntimedInstead(EngineDialogue& d) {
    auto& search = d.search;
    if (!search.SearchPending() || !search.ChangeMode(EngineMode::Analysing, EngineMode::Searching)) return;
    SendDayLongLevel(d);
    SendToEngine(d, "go");
}

}  // namespace

bool HandleEngineRefusal(EngineDialogue& d, std::string_view line) {
    std::optional<Refusal> refusal = ReadRefusal(line);
    if (!refusal) return false;
    std::string learned;
    if (refusal->command == "undo") {
        // Whatever it did instead, its game is no longer the one the adapter sent.
        ForgetEnginePosition(d);
        if (refusal->unknown && d.settings.UseUndo.exchange(false))
            learned = "positions are set up anew from now on";
    } else if (refusal->command == "analyze") {
        if (refusal->unknown && d.settings.Analyze.exchange(false))
            learned = "analysis is an untimed search from now on";
        SearchUntimedInstead(d);
    }
    WriteLog(
        "The engine refused \"" + refusal->command + "\"" + (learned.empty() ? "." : ": " + learned + "."),
        log_tag::kRemark);
    return true;
}

}  // namespace pontax
