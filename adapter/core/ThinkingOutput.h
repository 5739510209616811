#pragma once

#include <string_view>

namespace pontax {

class EngineDialogue;

// Translates one engine report (a thinking line, a "stat01:" status line or a "var:curmov" line)
// into a UCI "info" line; other lines are ignored. Records the variation's first two moves while
// the engine searches, and tells a searching engine to move once it passes the depth limit.
void TranslateThinkingOutput(EngineDialogue& d, std::string_view line);

}  // namespace pontax
