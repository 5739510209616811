#include "adapter/config/SettingHandler.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "adapter/config/CustomOptions.h"
#include "adapter/config/EngineOptions.h"
#include "adapter/config/Log.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/EngineControl.h"
#include "adapter/driver/HelpPage.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/Priority.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"
#include "adapter/driver/Workers.h"

namespace pontax {

namespace {

constexpr std::chrono::milliseconds kTickerInterval{1000};

char FirstLetter(std::string_view value) {
    return value.empty() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
}

EditMode ReadEditMode(std::string_view value) {
    switch (FirstLetter(value)) {
    case '1': case 'E': return EditMode::Edit;
    case '2': case 'C': return EditMode::CbEdit;
    default: return EditMode::Setboard;
    }
}

int ReadPriority(std::string_view value) {
    switch (FirstLetter(value)) {
    case '1': case 'B': return thread_priority::kBelowNormal;
    case '2': case 'L': return thread_priority::kIdle;
    default: return thread_priority::kNormal;
    }
}

LevelExtendMode ReadLevelExtend(std::string_view value) {
    switch (FirstLetter(value)) {
    case '0': case 'P': return LevelExtendMode::Progressive;
    case '1': case 'S': return LevelExtendMode::Strict;
    case '2': case 'F': return LevelExtendMode::Failsafe;
    default: return LevelExtendMode::None;
    }
}

std::string ReadHashCommand(std::string_view value) {
    std::string text = Unescape(value);
    if (!text.empty() && text.find("%i") == std::string::npos) text += " %i";
    return text;
}

void SetShowThinkingMove(bool value) {
    StatusTicker().Stop();
    Settings().ShowThinkingMove = value;
    Search().tickerState = TickerState::Idle;
    if (value) StatusTicker().Start(kTickerInterval);
}

// Stores an integer setting and runs the effect only when the value changed.
void SetIfChanged(std::atomic<int>& setting, int value, const std::function<void()>& effect) {
    if (setting.exchange(value) != value) effect();
}

using SettingApplier = std::function<void(std::string_view value)>;

struct SettingEntry {
    std::string_view key;
    SettingApplier apply;
};

const std::vector<SettingEntry>& SettingTable() {
    static const std::vector<SettingEntry> table = [] {
        auto& s = Settings();
        auto boolean = [](std::atomic<bool>& setting) {
            return [&setting](std::string_view v) { setting = ParseBool(v); };
        };
        auto integer = [](std::atomic<int>& setting) {
            return [&setting](std::string_view v) { setting = ParseInteger(v); };
        };
        return std::vector<SettingEntry>{
            {"PROGRAM", [&s](std::string_view v) { s.Program.Set(v); }},
            {"INITSTRING", [&s](std::string_view v) { s.InitString.Set(Unescape(v)); }},
            {"HASHCOMMAND", [&s](std::string_view v) { s.HashCommand.Set(ReadHashCommand(v)); }},
            {"INITTIME", integer(s.InitTime)},
            {"DELAY", integer(s.Delay)},
            {"LEVELTYPE", integer(s.LevelType)},
            {"HASH", [&s](std::string_view v) { SetIfChanged(s.Hash, ParseInteger(v), SendHashCommand); }},
            {"NOISE", [&s](std::string_view v) { SetIfChanged(s.Noise, ParseInteger(v), SendPost); }},
            {"SLOWDOWN",
             [&s](std::string_view v) {
                 int slowDown = std::clamp(ParseInteger(v), kSlowDownLeast, kSlowDownMost);
                 SetIfChanged(s.SlowDown, slowDown, [&s] {
                     if (EngineProcess().Exists()) SpinThreads().SetCount(s.SlowDown - 1);
                 });
             }},
            {"PROTOCOL", integer(s.Protocol)},
            {"HASHFORMULA", [&s](std::string_view v) { s.HashFormula.Set(ToUpper(v)); }},
            {"EDIT", [&s](std::string_view v) { s.Edit = ReadEditMode(v); }},
            {"PRIORITY", [&s](std::string_view v) { s.Priority = ReadPriority(v); }},
            {"ANALYZE", boolean(s.Analyze)},
            {"USEUNDO", boolean(s.UseUndo)},
            {"RUNIDLE", boolean(s.RunIdle)},
            {"COMPUTER",
             [&s](std::string_view v) {
                 s.Computer = ParseBool(v);
                 if (s.Computer && EngineProcess().Exists()) SendToEngine("computer");
             }},
            {"SHOWTHINKINGMOVE", [](std::string_view v) { SetShowThinkingMove(ParseBool(v)); }},
            {"TERMINATEHARD", boolean(s.TerminateHard)},
            {"PONDER",
             [&s](std::string_view v) {
                 s.Ponder = ParseBool(v);
                 SendPonderMode();
             }},
            {"HASHONCOMMANDLINE", boolean(s.HashOnCommandline)},
            {"LEVELEXTEND", [&s](std::string_view v) { s.LevelExtend = ReadLevelExtend(v); }},
            {"WHITESCORE", boolean(s.WhiteScore)},
            {"SIMULATEHINT", boolean(s.SimulateHint)},
            {"OWNBOOK", boolean(s.OwnBook)},
            {"LOGFILE", [](std::string_view v) { ParseBool(v) ? OpenLogFile() : CloseLogFile(); }},
        };
    }();
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
    return std::any_of(SettingTable().begin(), SettingTable().end(), [&](const SettingEntry& e) { return e.key == key; });
}

void HandleGuiSetOption(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.size() >= 3 && ToUpper(words[2]) == "PONDER") Settings().ponderAskedByGui = true;
    HandleSetOption(line);
}

void HandleSetOption(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.size() < 3) return;
    size_t valueWord = 2;
    while (valueWord < words.size() && words[valueWord] != "value") ++valueWord;
    std::string name = JoinWords(words, 2, valueWord);
    if (valueWord == words.size()) {
        if (ToUpper(name) == "HELP")
            OpenHelpPage();
        else if (!SetEngineOption(name, ""))
            SetCustomOption(name, "");
        return;
    }
    std::string value = JoinWords(words, valueWord + 1, words.size());
    if (value.empty()) return;
    if (value == kEmptyText) value.clear();
    std::string key = ToUpper(name);
    for (const auto& entry : SettingTable()) {
        if (entry.key == key) {
            entry.apply(value);
            return;
        }
    }
    if (!SetEngineOption(name, value)) SetCustomOption(name, value);
}

}  // namespace pontax
