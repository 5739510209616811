#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Configuration.h"

namespace pontax {

// The text holds, as a word of its own, a keyword of the option or setoption line ("type",
// "default", "value", ...), which a host would take as the start of the next field.
bool HoldsOptionKeyword(std::string_view text);
// True while no visibility list was given, or when the list names the option (case-sensitive).
bool IsOptionVisible(const AdapterSettings& settings, std::string_view name);
// The visible option lines in their fixed order: the custom options first, then the built-in ones,
// then (with EngineOptions on) the engine's own.
std::vector<std::string> BuildOptionLines(Configuration& config);

}  // namespace pontax
