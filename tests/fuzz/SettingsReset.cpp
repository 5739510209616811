#include "tests/fuzz/SettingsReset.h"

#include <algorithm>
#include <string>
#include <vector>

#include "adapter/config/EngineOptions.h"
#include "adapter/config/Log.h"
#include "adapter/config/OptionList.h"
#include "adapter/config/PendingCommands.h"
#include "adapter/config/SettingHandler.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/StringUtil.h"

namespace fuzzing {

namespace {

struct Defaults {
    std::vector<std::string> setOptionLines;
    std::string engineName;
    std::string engineAuthor;
};

std::string JoinWords(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to) {
    std::string joined;
    for (; from != to; ++from) joined += (joined.empty() ? "" : " ") + *from;
    return joined;
}

// "option name Hash type spin default 2 min 0 max 256" gives "setoption name Hash value 2".
Defaults CaptureDefaults() {
    Defaults defaults{{}, pontax::Settings().EngineName.Get(), pontax::Settings().EngineAuthor.Get()};
    for (const auto& line : pontax::BuildOptionLines()) {
        std::vector<std::string> words = pontax::SplitWords(line);
        auto type = std::find(words.begin(), words.end(), "type");
        auto value = std::find(words.begin(), words.end(), "default");
        if (type == words.end() || value == words.end() || words.size() < 3) continue;
        auto valueEnd = std::find_if(value + 1, words.end(), [](const std::string& w) { return w == "min" || w == "var"; });
        std::string text = JoinWords(value + 1, valueEnd);
        std::string name = JoinWords(words.begin() + 2, type);
        if (pontax::ToUpper(name) == "LOGFILE") continue;
        defaults.setOptionLines.push_back("setoption name " + name + " value " + (text.empty() ? "<empty>" : text));
    }
    return defaults;
}

}  // namespace

void RestoreSettings() {
    static const Defaults defaults = CaptureDefaults();
    auto& settings = pontax::Settings();
    settings.CustomOptions.clear();
    settings.VisibleOptions.clear();
    settings.visibilityFiltered = false;
    settings.ponderAskedByGui = false;
    settings.EngineName.Set(defaults.engineName);
    settings.EngineAuthor.Set(defaults.engineAuthor);
    for (const auto& line : defaults.setOptionLines) pontax::HandleSetOption(line);
    pontax::CloseLogFile();
    pontax::DiscardLogBuffer();
    pontax::TakePendingEngineCommands();
    pontax::ForgetOptionCommands();
    pontax::ClearEngineOptions();
    settings.MateScores = false;
    settings.MateBand = 0;
    settings.EngineOptions = false;
    settings.ClockMargin = 0;
    settings.RestartEngine = false;
}

}  // namespace fuzzing
