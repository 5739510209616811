#include "SettingHandler.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "Configuration.h"
#include "CustomOptions.h"
#include "EngineOptions.h"
#include "HelpPage.h"
#include "Log.h"
#include "Priority.h"
#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

char FirstLetter(std::string_view value) {
    return value.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
}

EditMode ReadEditMode(std::string_view value) {
    switch (FirstLetter(value)) {
        case '1':
        case 'E':
            return EditMode::Edit;
        case '2':
        case 'C':
            return EditMode::CbEdit;
        default:
            return EditMode::Setboard;
    }
}

int ReadPriority(std::string_view value) {
    switch (FirstLetter(value)) {
        case '1':
        case 'B':
            return thread_priority::kBelowNormal;
        case '2':
        case 'L':
            return thread_priority::kIdle;
        default:
            return thread_priority::kNormal;
    }
}

LevelExtendMode ReadLevelExtend(std::string_view value) {
    switch (FirstLetter(value)) {
        case '0':
        case 'P':
            return LevelExtendMode::Progressive;
        case '1':
        case 'S':
            return LevelExtendMode::Strict;
        case '2':
        case 'F':
            return LevelExtendMode::Failsafe;
        default:
            return LevelExtendMode::None;
    }
}

std::string ReadHashCommand(std::string_view value) {
    std::string text = Unescape(value);
    if (!text.empty() && text.find("%i") == std::string::npos) text += " %i";
    return text;
}

// Each stores its setting and says whether a running engine must hear of it.
using SettingApplier = bool (*)(Configuration& config, std::string_view value);

template <std::atomic<bool> AdapterSettings::*setting>
bool StoreBool(Configuration& config, std::string_view value) {
    (config.settings.*setting) = ParseBool(value);
    return false;
}

template <std::atomic<int> AdapterSettings::*setting>
bool StoreInteger(Configuration& config, std::string_view value) {
    (config.settings.*setting) = ParseInteger(value);
    return false;
}

// Stores an integer setting; the engine hears of it only when the value changed.
template <std::atomic<int> AdapterSettings::*setting>
bool StoreIntegerIfChanged(Configuration& config, std::string_view value) {
    int number = ParseInteger(value);
    return (config.settings.*setting).exchange(number) != number;
}

struct SettingEntry {
    std::string_view key;
    SettingApplier apply;
};

const std::vector<SettingEntry>& SettingTable() {
    using S = AdapterSettings;
    static const std::vector<SettingEntry> table{
        {"PROGRAM", [](Configuration& c, std::string_view v) { return c.settings.Program.Set(v), false; }},
        {"INITSTRING",
         [](Configuration& c, std::string_view v) { return c.settings.InitString.Set(Unescape(v)), false; }},
        {"HASHCOMMAND",
         [](Configuration& c, std::string_view v) {
             return c.settings.HashCommand.Set(ReadHashCommand(v)), false;
         }},
        {"INITTIME", StoreInteger<&S::InitTime>},
        {"DELAY", StoreInteger<&S::Delay>},
        {"LEVELTYPE", StoreInteger<&S::LevelType>},
        {"HASH", StoreIntegerIfChanged<&S::Hash>},
        {"NOISE", StoreIntegerIfChanged<&S::Noise>},
        {"SLOWDOWN",
         [](Configuration& c, std::string_view v) {
             int slowDown = std::clamp(ParseInteger(v), kSlowDownLeast, kSlowDownMost);
             return c.settings.SlowDown.exchange(slowDown) != slowDown;
         }},
        {"PROTOCOL", StoreInteger<&S::Protocol>},
        {"HASHFORMULA",
         [](Configuration& c, std::string_view v) { return c.settings.HashFormula.Set(ToUpper(v)), false; }},
        {"EDIT",
         [](Configuration& c, std::string_view v) { return c.settings.Edit = ReadEditMode(v), false; }},
        {"PRIORITY",
         [](Configuration& c, std::string_view v) { return c.settings.Priority = ReadPriority(v), false; }},
        {"ANALYZE", StoreBool<&S::Analyze>},
        {"USEUNDO", StoreBool<&S::UseUndo>},
        {"RUNIDLE", StoreBool<&S::RunIdle>},
        {"COMPUTER",
         [](Configuration& c, std::string_view v) { return c.settings.Computer = ParseBool(v), true; }},
        {"SHOWTHINKINGMOVE",
         [](Configuration& c, std::string_view v) {
             return c.settings.ShowThinkingMove = ParseBool(v), true;
         }},
        {"TERMINATEHARD", StoreBool<&S::TerminateHard>},
        {"PONDER",
         [](Configuration& c, std::string_view v) { return c.settings.Ponder = ParseBool(v), true; }},
        {"HASHONCOMMANDLINE", StoreBool<&S::HashOnCommandline>},
        {"LEVELEXTEND",
         [](Configuration& c, std::string_view v) {
             return c.settings.LevelExtend = ReadLevelExtend(v), false;
         }},
        {"WHITESCORE", StoreBool<&S::WhiteScore>},
        {"SIMULATEHINT", StoreBool<&S::SimulateHint>},
        {"OWNBOOK", StoreBool<&S::OwnBook>},
        {"UCI_CHESS960", StoreBool<&S::Chess960>},
        {"LOGFILE", [](Configuration&,
                       std::string_view v) { return ParseBool(v) ? OpenLogFile() : CloseLogFile(), false; }},
    };
    return table;
}

std::string JoinWords(const std::vector<std::string>& words, size_t from, size_t to) {
    std::string joined;
    for (size_t i = from; i < to; ++i) {
        if (i > from) joined += ' ';
        joined += words[i];
    }
    return joined;
}

}  // namespace

bool IsBuiltInOptionName(std::string_view name) {
    std::string key = ToUpper(name);
    if (key == "HELP") return true;
    return std::any_of(SettingTable().begin(), SettingTable().end(),
                       [&](const SettingEntry& e) { return e.key == key; });
}

void HandleGuiSetOption(Configuration& config, SettingEffects& effects, std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.size() >= 3 && ToUpper(words[2]) == "PONDER") config.settings.ponderAskedByGui = true;
    HandleSetOption(config, effects, line);
}

void HandleSetOption(Configuration& config, SettingEffects& effects, std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.size() < 3) return;
    size_t valueWord = 2;
    while (valueWord < words.size() && words[valueWord] != "value") ++valueWord;
    std::string name = JoinWords(words, 2, valueWord);
    if (valueWord == words.size()) {
        if (ToUpper(name) == "HELP")
            OpenHelpPage();
        else if (!SetEngineOption(config, effects, name, ""))
            SetCustomOption(config, effects, name, "");
        return;
    }
    std::string value = JoinWords(words, valueWord + 1, words.size());
    if (value.empty()) return;
    if (value == kEmptyText) value.clear();
    std::string key = ToUpper(name);
    for (const auto& entry : SettingTable()) {
        if (entry.key == key) {
            if (entry.apply(config, value)) effects.Changed(key);
            return;
        }
    }
    if (!SetEngineOption(config, effects, name, value)) SetCustomOption(config, effects, name, value);
}

}  // namespace pontax
