#include "adapter/config/ConfigFile.h"

#include <optional>
#include <string>

#include "adapter/config/CustomOptions.h"
#include "adapter/config/FileOnlyKeys.h"
#include "adapter/config/SettingHandler.h"
#include "adapter/config/Settings.h"
#include "adapter/driver/StringUtil.h"
#include "adapter/driver/TextFile.h"

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

void ApplyEngineKey(std::string_view key, std::string_view value) {
    std::string upper = ToUpper(key);
    if (upper == "NAME")
        Settings().EngineName.Set(value);
    else if (upper == "AUTHOR")
        Settings().EngineAuthor.Set(value);
    else if (upper == "VISIBLE")
        SetVisibleOptions(value);
}

void ApplyLine(Section section, std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string key = Trim(line.substr(0, equals));
    std::string value = Trim(line.substr(equals + 1));
    switch (section) {
    case Section::Engine: ApplyEngineKey(key, value); break;
    case Section::Options:
        if (key == "Visible")
            SetVisibleOptions(value);
        else if (!ApplyFileOnlyKey(key, value))
            HandleSetOption("setoption name " + key + " value " + value);
        break;
    case Section::Extras: DefineCustomOption(key, value); break;
    case Section::None: break;
    }
}

}  // namespace

bool LoadConfiguration(std::string_view fileName) {
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
        ApplyLine(section, line);
    }
    return true;
}

void SetVisibleOptions(std::string_view list) {
    auto& settings = Settings();
    settings.visibilityFiltered = true;
    for (const auto& field : SplitWords(list, ",")) {
        std::string name = Trim(field);
        if (!name.empty()) settings.VisibleOptions.push_back(std::move(name));
    }
}

}  // namespace pontax
