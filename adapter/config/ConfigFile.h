#pragma once

#include <string_view>

#include "Configuration.h"
#include "SettingEffects.h"

namespace pontax {

inline constexpr std::string_view kDefaultConfigurationFile = "Pontax.eng";

// Reads an engine configuration file ([ENGINE], [OPTIONS] and [EXTRAS] sections of key=value
// lines). False only when the file cannot be opened; then nothing changes.
bool LoadConfiguration(Configuration& config, SettingEffects& effects, std::string_view fileName);
// Turns on option filtering and adds the comma-separated names to the visible options.
void SetVisibleOptions(AdapterSettings& settings, std::string_view list);

}  // namespace pontax
