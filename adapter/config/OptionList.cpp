#include "OptionList.h"

#include <algorithm>

#include "Configuration.h"
#include "EngineOptions.h"
#include "Log.h"
#include "Priority.h"
#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

std::string Prefix(std::string_view name, std::string_view type) {
    return "option name " + std::string(name) + " type " + std::string(type);
}

// Strict hosts refuse a spin whose range does not hold its default, so the range widens to it.
std::string SpinLine(std::string_view name, int value, int min, int max) {
    return Prefix(name, "spin") + " default " + std::to_string(value) + " min " +
           std::to_string(std::min(min, value)) + " max " + std::to_string(std::max(max, value));
}

std::string CheckLine(std::string_view name, bool value) {
    return Prefix(name, "check") + " default " + (value ? "true" : "false");
}

// A host would read a keyword inside a value as the start of the next field, so such a value is
// not shown; the setting keeps it.
std::string StringLine(std::string_view name, std::string_view value) {
    return Prefix(name, "string") + " default " +
           (HoldsOptionKeyword(value) ? std::string(kEmptyText) : std::string(value));
}

// A combo whose default is not among its variants gets it as one more variant; a variant that
// holds a keyword cannot be shown or chosen.
std::string ComboLine(std::string_view name, std::string_view value,
                      const std::vector<std::string>& variants) {
    std::vector<std::string> shown;
    for (const auto& variant : variants)
        if (!HoldsOptionKeyword(variant)) shown.push_back(variant);
    std::string defaultValue = HoldsOptionKeyword(value) || Trim(value).empty() ? "" : std::string(value);
    if (defaultValue.empty() && !shown.empty()) defaultValue = shown.front();
    if (defaultValue.empty()) defaultValue = kEmptyText;
    std::string line = Prefix(name, "combo") + " default " + defaultValue;
    for (const auto& variant : shown) line += " var " + variant;
    if (std::find(shown.begin(), shown.end(), defaultValue) == shown.end()) line += " var " + defaultValue;
    return line;
}

std::string CustomOptionLine(const CustomOption& option) {
    switch (option.type) {
        case CustomOptionType::Spin:
            return SpinLine(option.name, ParseInteger(option.defaultValue), ParseInteger(option.third),
                            ParseInteger(option.fourth));
        case CustomOptionType::Check:
            return CheckLine(option.name, option.defaultValue == "true" || (option.defaultValue != "false" &&
                                                                            ParseBool(option.defaultValue)));
        case CustomOptionType::Button:
            return Prefix(option.name, "button");
        case CustomOptionType::String:
            return StringLine(option.name, option.defaultValue);
        case CustomOptionType::Combo:
            return ComboLine(option.name, option.defaultValue, SplitWords(option.third, "|"));
    }
    return {};
}

const char* EditName(EditMode mode) {
    switch (mode) {
        case EditMode::Edit:
            return "edit";
        case EditMode::CbEdit:
            return "cb-edit";
        default:
            return "setboard";
    }
}

const char* PriorityName(int priority) {
    if (priority == thread_priority::kIdle) return "Low";
    if (priority == thread_priority::kBelowNormal) return "BelowNormal";
    return "Normal";
}

const char* LevelExtendName(LevelExtendMode mode) {
    switch (mode) {
        case LevelExtendMode::Progressive:
            return "Progressive";
        case LevelExtendMode::Strict:
            return "Strict";
        case LevelExtendMode::Failsafe:
            return "Failsafe";
        default:
            return "None";
    }
}

}  // namespace

bool HoldsOptionKeyword(std::string_view text) {
    static const std::vector<std::string> kKeywords = {"name", "type", "default", "min",
                                                       "max",  "var",  "value"};
    for (const auto& word : SplitWords(text))
        if (std::find(kKeywords.begin(), kKeywords.end(), word) != kKeywords.end()) return true;
    return false;
}

bool IsOptionVisible(const AdapterSettings& settings, std::string_view name) {
    if (!settings.visibilityFiltered) return true;
    return std::find(settings.VisibleOptions.begin(), settings.VisibleOptions.end(), name) !=
           settings.VisibleOptions.end();
}

std::vector<std::string> BuildOptionLines(Configuration& config) {
    auto& s = config.settings;
    std::vector<std::string> lines;
    auto add = [&](std::string_view name, std::string line) {
        if (IsOptionVisible(s, name)) lines.push_back(std::move(line));
    };
    if (IsOptionVisible(s, "Extras"))
        for (const auto& option : s.CustomOptions) lines.push_back(CustomOptionLine(option));
    add("Program", StringLine("Program", s.Program.Get()));
    add("InitString", StringLine("InitString", EscapeControls(s.InitString.Get())));
    add("Hash", SpinLine("Hash", s.Hash, 0, 256));
    add("HashCommand", StringLine("HashCommand", EscapeControls(s.HashCommand.Get())));
    add("HashFormula", StringLine("HashFormula", s.HashFormula.Get()));
    add("HashOnCommandline", CheckLine("HashOnCommandline", s.HashOnCommandline));
    add("InitTime", SpinLine("InitTime", s.InitTime, 0, 30));
    add("Delay", SpinLine("Delay", s.Delay, 0, 1000));
    add("LevelType", SpinLine("LevelType", s.LevelType, 1, 2));
    add("SlowDown", SpinLine("SlowDown", s.SlowDown, kSlowDownLeast, kSlowDownMost));
    add("Edit", ComboLine("Edit", EditName(s.Edit), {"setboard", "edit", "cb-edit"}));
    add("Ponder", CheckLine("Ponder", s.Ponder));
    add("OwnBook", CheckLine("OwnBook", s.OwnBook));
    if (!s.Chess960Variant.Get().empty()) add("UCI_Chess960", CheckLine("UCI_Chess960", s.Chess960));
    add("ShowThinkingMove", CheckLine("ShowThinkingMove", s.ShowThinkingMove));
    add("Analyze", CheckLine("Analyze", s.Analyze));
    add("UseUndo", CheckLine("UseUndo", s.UseUndo));
    add("WhiteScore", CheckLine("WhiteScore", s.WhiteScore));
    add("Logfile", CheckLine("Logfile", IsLogFileOpen()));
    add("Priority", ComboLine("Priority", PriorityName(s.Priority), {"Normal", "BelowNormal", "Low"}));
    add("RunIdle", CheckLine("RunIdle", s.RunIdle));
    add("Computer", CheckLine("Computer", s.Computer));
    add("SimulateHint", CheckLine("SimulateHint", s.SimulateHint));
    add("LevelExtend", ComboLine("LevelExtend", LevelExtendName(s.LevelExtend),
                                 {"Progressive", "Strict", "Failsafe", "None"}));
    add("Protocol", SpinLine("Protocol", s.Protocol, 1, 2));
    add("Noise", SpinLine("Noise", s.Noise, -1, 99));
    add("Help", Prefix("Help", "button"));
    if (s.EngineOptions && IsOptionVisible(s, "EngineOptions"))
        for (const auto& option : EngineOptionList(config.engineOptions))
            lines.push_back(CustomOptionLine(option));
    return lines;
}

}  // namespace pontax
