#include "CustomOptions.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "Configuration.h"
#include "Log.h"
#include "OptionList.h"
#include "SettingHandler.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr std::string_view kReadFileCommand = "<readfile> %s";

std::optional<CustomOptionType> ParseType(std::string_view text) {
    if (text == "spin") return CustomOptionType::Spin;
    if (text == "check") return CustomOptionType::Check;
    if (text == "button") return CustomOptionType::Button;
    if (text == "combo") return CustomOptionType::Combo;
    if (text == "string") return CustomOptionType::String;
    return std::nullopt;
}

// The combo value to use: a variant, a text as it came, or the variant a leading digit indexes.
std::optional<std::string> ResolveComboValue(const CustomOption& option, std::string_view value) {
    std::vector<std::string> variants = SplitWords(option.third, "|");
    if (!IsDigit(value[0])) return std::string(value);
    for (const auto& variant : variants)
        if (variant == value) return std::string(value);
    int index = ParseInteger(value);
    if (index < 0 || static_cast<size_t>(index) >= variants.size()) return std::nullopt;
    return variants[static_cast<size_t>(index)];
}

}  // namespace

std::string NormalisedName(std::string_view name) {
    std::string joined;
    for (const auto& word : SplitWords(name)) joined += (joined.empty() ? "" : " ") + word;
    return joined;
}

bool Readable(const std::string& name) { return !HoldsOptionKeyword(name) && !IsBuiltInOptionName(name); }

void DefineCustomOption(AdapterSettings& settings, std::string_view rawName, std::string_view definition) {
    std::vector<std::string> fields = SplitWords(definition, "|");
    std::string name = NormalisedName(rawName);
    if (name.empty() || fields.size() < 2) return;
    if (!Readable(name))
        return WriteLog("Option " + name + " left out: a host could not set it.", log_tag::kRemark);
    auto type = ParseType(fields[1]);
    if (!type) return;
    CustomOption option;
    option.name = name;
    option.type = *type;
    switch (*type) {
        case CustomOptionType::Spin:
        case CustomOptionType::Check:
            if (fields.size() < 5) return;
            option.defaultValue = fields[2];
            option.third = fields[3];
            option.fourth = fields[4];
            break;
        case CustomOptionType::Button:
            break;
        case CustomOptionType::String:
            option.defaultValue = fields.size() > 2 ? fields[2] : std::string(kEmptyText);
            break;
        case CustomOptionType::Combo:
            if (fields.size() > 2) option.defaultValue = fields[2];
            for (size_t i = 3; i < fields.size(); ++i) {
                if (i > 3) option.third += '|';
                option.third += fields[i];
            }
            break;
    }
    option.command = Unescape(fields[0]);
    if (*type == CustomOptionType::Spin && option.command.find("%i") == std::string::npos)
        option.command += " %i";
    if ((*type == CustomOptionType::Check || *type == CustomOptionType::String ||
         *type == CustomOptionType::Combo) &&
        option.command.find("%s") == std::string::npos)
        option.command += " %s";
    // A name given again is defined again: hosts refuse an option line twice.
    auto& options = settings.CustomOptions;
    auto same = std::find_if(options.begin(), options.end(),
                             [&](const CustomOption& o) { return ToUpper(o.name) == ToUpper(name); });
    if (same != options.end())
        *same = std::move(option);
    else
        options.push_back(std::move(option));
}

std::optional<std::string> OptionCommand(const CustomOption& option, std::string_view value) {
    switch (option.type) {
        case CustomOptionType::Spin:
            if (value.empty()) return std::nullopt;
            return FormatTemplate(option.command, std::to_string(ParseInteger(value)));
        case CustomOptionType::Check: {
            if (value.empty()) return std::nullopt;
            bool on = value[0] == 't' || value[0] == 'T' || value[0] == '1';
            return FormatTemplate(option.command, on ? option.fourth : option.third);
        }
        case CustomOptionType::Button:
            return option.command;
        case CustomOptionType::String:
            return FormatTemplate(option.command, value == kEmptyText ? std::string_view{} : value);
        case CustomOptionType::Combo: {
            if (value.empty()) return std::nullopt;
            auto choice = ResolveComboValue(option, value);
            if (!choice) return std::nullopt;
            return FormatTemplate(option.command, *choice);
        }
    }
    return std::nullopt;
}

void SetCustomOption(Configuration& config, SettingEffects& effects, std::string_view name,
                     std::string_view value) {
    const auto& options = config.settings.CustomOptions;
    auto found =
        std::find_if(options.begin(), options.end(), [&](const CustomOption& o) { return o.name == name; });
    if (found == options.end()) return;
    if (found->type == CustomOptionType::Combo && found->command == kReadFileCommand) {
        if (value.empty()) return;
        if (auto choice = ResolveComboValue(*found, value)) ReadPreSetupFile(*choice, effects);
        return;
    }
    if (auto text = OptionCommand(*found, value)) {
        if (found->type != CustomOptionType::Button) config.pending.RememberOptionCommand(found->name, *text);
        effects.SendOrQueue(*text);
    }
}

}  // namespace pontax
