#include "ConfigFile.h"

#include <optional>
#include <string>

#include "CustomOptions.h"
#include "FileOnlyKeys.h"
#include "SettingHandler.h"
#include "Settings.h"
#include "StringUtil.h"
#include "TextFile.h"

namespace pontax {

namespace {

enum class Section { None, Engine, Options, Extras };

std::optional<Section> SectionHeader(std::string_view line) {
    std::string upper = ToUpper(line);
    if (upper == "[ENGINE]") return Section::Engine;
    if (upper == "[OPTIONS]") return Section::Options;
    if (upper == "[EXTRAS]") return Section::Extras;
    return std::nullopt;
}

void ApplyEngineKey(AdapterSettings& settings, std::string_view key, std::string_view value) {
    std::string upper = ToUpper(key);
    if (upper == "NAME")
        settings.EngineName.Set(value);
    else if (upper == "AUTHOR")
        settings.EngineAuthor.Set(value);
    else if (upper == "VISIBLE")
        SetVisibleOptions(settings, value);
}

void ApplyLine(Configuration& config, SettingEffects& effects, Section section, std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string key = Trim(line.substr(0, equals));
    std::string value = Trim(line.substr(equals + 1));
    switch (section) {
        case Section::Engine:
            ApplyEngineKey(config.settings, key, value);
            break;
        case Section::Options:
            if (key == "Visible")
                SetVisibleOptions(config.settings, value);
            else if (!ApplyFileOnlyKey(config.settings, key, value))
                HandleSetOption(config, effects, "setoption name " + key + " value " + value);
            break;
        case Section::Extras:
            DefineCustomOption(config.settings, key, value);
            break;
        case Section::None:
            break;
    }
}

}  // namespace

bool LoadConfiguration(Configuration& config, SettingEffects& effects, std::string_view fileName) {
    TextFile file;
    if (!file.Open(fileName, TextFile::Mode::ReadExisting)) return false;
    Section section = Section::None;
    std::string raw;
    while (file.ReadLine(raw)) {
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (auto header = SectionHeader(line)) {
            section = *header;
            continue;
        }
        ApplyLine(config, effects, section, line);
    }
    return true;
}

void SetVisibleOptions(AdapterSettings& settings, std::string_view list) {
    settings.visibilityFiltered = true;
    for (const auto& field : SplitWords(list, ",")) {
        std::string name = Trim(field);
        if (!name.empty()) settings.VisibleOptions.push_back(std::move(name));
    }
}

}  // namespace pontax
