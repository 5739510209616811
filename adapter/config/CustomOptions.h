#pragma once

#include <string>
#include <string_view>

#include "adapter/config/Settings.h"

namespace pontax {

// Adds an [EXTRAS] option: "command|type|values..."; a malformed definition is ignored.
void DefineCustomOption(std::string_view name, std::string_view definition);
// Sets the first custom option of that name (case-sensitive): sends its engine command, or queues
// it while no engine runs. An empty value presses a button.
void SetCustomOption(std::string_view name, std::string_view value);

}  // namespace pontax
