#pragma once

#include <string>
#include <string_view>

#include "adapter/config/Settings.h"

namespace pontax {

// Adds an [EXTRAS] option: "command|type|values..."; a malformed definition is ignored, and so is
// a name a host could not set (a built-in one, or one holding a word such as "type" or "value").
// A name defined again replaces the earlier definition.
void DefineCustomOption(std::string_view name, std::string_view definition);
// Sets the first custom option of that name (case-sensitive): sends its engine command, or queues
// it while no engine runs. An empty value presses a button.
void SetCustomOption(std::string_view name, std::string_view value);

}  // namespace pontax
