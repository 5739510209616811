#include "EngineOptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <optional>

#include "Configuration.h"
#include "CustomOptions.h"
#include "Log.h"
#include "OptionList.h"
#include "SettingHandler.h"
#include "StringUtil.h"

namespace pontax {

namespace {

// Enough for any engine; an engine that announces more is taken for a broken one.
constexpr size_t kMostEngineOptions = 1000;
constexpr std::string_view kCollisionPrefix = "Engine ";
constexpr std::string_view kVariantSeparator = "///";

struct TypeWord {
    std::string_view word;
    CustomOptionType type;
};

constexpr TypeWord kTypeWords[] = {{"check", CustomOptionType::Check},   {"spin", CustomOptionType::Spin},
                                   {"slider", CustomOptionType::Spin},   {"combo", CustomOptionType::Combo},
                                   {"string", CustomOptionType::String}, {"file", CustomOptionType::String},
                                   {"path", CustomOptionType::String},   {"button", CustomOptionType::Button},
                                   {"save", CustomOptionType::Button},   {"reset", CustomOptionType::Button}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where " -TYPE" begins, and the type; a name may itself hold " -" before it.
std::optional<std::pair<size_t, TypeWord>> FindType(std::string_view text) {
    for (size_t at = text.find(" -"); at != std::string_view::npos; at = text.find(" -", at + 1)) {
        for (const auto& type : kTypeWords) {
            size_t end = at + 2 + type.word.size();
            if (text.substr(at + 2, type.word.size()) == type.word &&
                (end == text.size() || IsBlank(text[end])))
                return std::make_pair(at, type);
        }
    }
    return std::nullopt;
}

std::optional<int> StrictInteger(const std::string& word) {
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno != 0 || value < std::numeric_limits<int>::min() ||
        value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Reads the values after the type into option; false when they cannot make an option.
bool ReadValues(CustomOption& option, std::string_view values) {
    switch (option.type) {
        case CustomOptionType::Check:
            option.defaultValue = GetWord(values, 1) == "1" ? "true" : "false";
            option.third = "0";
            option.fourth = "1";
            return true;
        case CustomOptionType::Spin: {
            auto value = StrictInteger(GetWord(values, 1));
            auto min = StrictInteger(GetWord(values, 2));
            auto max = StrictInteger(GetWord(values, 3));
            if (!value || !min || !max) return false;
            if (*min > *max) std::swap(min, max);
            option.defaultValue = std::to_string(*value);
            option.third = std::to_string(*min);
            option.fourth = std::to_string(*max);
            return true;
        }
        case CustomOptionType::Combo: {
            std::vector<std::string> variants;
            std::string chosen;
            for (size_t from = 0; from <= values.size();) {
                size_t separator = std::min(values.find(kVariantSeparator, from), values.size());
                std::string variant = Trim(values.substr(from, separator - from));
                from = separator + kVariantSeparator.size();
                bool starred = !variant.empty() && variant.front() == '*';
                if (starred) variant = Trim(std::string_view(variant).substr(1));
                if (variant.empty() || HoldsOptionKeyword(variant) ||
                    variant.find('|') != std::string::npos ||
                    std::find(variants.begin(), variants.end(), variant) != variants.end())
                    continue;
                if (starred && chosen.empty()) chosen = variant;
                variants.push_back(variant);
            }
            if (variants.empty()) return false;
            option.defaultValue = chosen.empty() ? variants.front() : chosen;
            for (const auto& variant : variants) option.third += (option.third.empty() ? "" : "|") + variant;
            return true;
        }
        case CustomOptionType::String: {
            std::string text = Trim(values);
            option.defaultValue = text.empty() ? std::string(kEmptyText) : text;
            return true;
        }
        case CustomOptionType::Button:
            return true;
    }
    return false;
}

std::string EscapePercent(std::string_view text) {
    std::string out;
    for (char c : text) out += c == '%' ? std::string("%%") : std::string(1, c);
    return out;
}

bool SameName(std::string_view a, std::string_view b) { return ToUpper(a) == ToUpper(b); }

bool TakenByAnother(const EngineOptionStore& store, const AdapterSettings& settings, std::string_view shown,
                    std::string_view engineName) {
    if (IsBuiltInOptionName(shown)) return true;
    const auto& custom = settings.CustomOptions;
    if (std::any_of(custom.begin(), custom.end(),
                    [&](const CustomOption& o) { return SameName(o.name, shown); }))
        return true;
    for (size_t i = 0; i < store.options.size(); ++i)
        if (SameName(store.options[i].name, shown) && store.engineNames[i] != engineName) return true;
    return false;
}

void LeaveOut(std::string_view name, std::string_view why) {
    WriteLog("Engine option " + std::string(name) + " left out: " + std::string(why), log_tag::kRemark);
}

}  // namespace

void RecordEngineOption(Configuration& config, std::string_view definition) {
    auto found = FindType(definition);
    if (!found) return LeaveOut(definition, "no type a host knows.");
    auto [at, type] = *found;
    std::string engineName = NormalisedName(definition.substr(0, at));
    if (engineName.empty()) return LeaveOut(definition, "no name.");
    if (HoldsOptionKeyword(engineName)) return LeaveOut(engineName, "a host could not set it.");
    // The adapter's own UCI_Chess960 sets the game up as the engine's variant.
    if (SameName(engineName, "UCI_Chess960"))
        return LeaveOut(engineName, "Chess960 is played through the engine's variants.");
    CustomOption option;
    option.type = type.type;
    if (!ReadValues(option, definition.substr(at + 2 + type.word.size())))
        return LeaveOut(engineName, "its values are missing or unreadable.");
    option.command = "option " + EscapePercent(engineName);
    if (option.type == CustomOptionType::Spin)
        option.command += "=%i";
    else if (option.type != CustomOptionType::Button)
        option.command += "=%s";

    auto& store = config.engineOptions;
    std::lock_guard lock(store.mutex);
    auto same = std::find(store.engineNames.begin(), store.engineNames.end(), engineName);
    if (same != store.engineNames.end()) {
        // Announced again (as after a restart): the new definition under the name already shown.
        size_t index = static_cast<size_t>(same - store.engineNames.begin());
        option.name = store.options[index].name;
        store.options[index] = std::move(option);
        return;
    }
    if (store.options.size() >= kMostEngineOptions) {
        if (!store.overflowLogged) LeaveOut(engineName, "the engine announced too many options.");
        store.overflowLogged = true;
        return;
    }
    option.name = engineName;
    while (TakenByAnother(store, config.settings, option.name, engineName))
        option.name = std::string(kCollisionPrefix) + option.name;
    store.options.push_back(std::move(option));
    store.engineNames.push_back(std::move(engineName));
}

std::vector<CustomOption> EngineOptionList(EngineOptionStore& store) {
    std::lock_guard lock(store.mutex);
    return store.options;
}

bool SetEngineOption(Configuration& config, SettingEffects& effects, std::string_view name,
                     std::string_view value) {
    std::optional<CustomOption> option;
    {
        auto& store = config.engineOptions;
        std::lock_guard lock(store.mutex);
        std::string shown = NormalisedName(name);
        for (const auto& candidate : store.options)
            if (SameName(candidate.name, shown)) option = candidate;
    }
    if (!option) return false;
    if (auto command = OptionCommand(*option, value)) {
        if (option->type != CustomOptionType::Button)
            config.pending.RememberOptionCommand(option->name, *command);
        effects.SendOrQueue(*command);
    }
    return true;
}

void ClearEngineOptions(EngineOptionStore& store) {
    std::lock_guard lock(store.mutex);
    store.options.clear();
    store.engineNames.clear();
    store.overflowLogged = false;
}

}  // namespace pontax
