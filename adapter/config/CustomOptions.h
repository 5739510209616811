#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "SettingEffects.h"
#include "Settings.h"

namespace pontax {

struct Configuration;

// Adds an [EXTRAS] option: "command|type|values..."; a malformed definition is ignored, and so is
// a name a host could not set (a built-in one, or one holding a word such as "type" or "value").
// A name defined again replaces the earlier definition.
void DefineCustomOption(AdapterSettings& settings, std::string_view name, std::string_view definition);
// Words run together as a host reads them back from the option line.
std::string NormalisedName(std::string_view name);
// A host reads a name up to the option line's next keyword and a setoption up to "value"; a
// built-in name would reach the built-in option.
bool Readable(const std::string& name);
// The engine command that sets the option to value (empty for a button); none when the value is
// no value of the option.
std::optional<std::string> OptionCommand(const CustomOption& option, std::string_view value);
// Sets the first custom option of that name (case-sensitive): sends its engine command, or queues
// it while no engine runs. An empty value presses a button.
void SetCustomOption(Configuration& config, SettingEffects& effects, std::string_view name,
                     std::string_view value);

}  // namespace pontax
