#pragma once

#include <string_view>

namespace pontax {

class EngineDialogue;

// Some engines answer a command they do not know with "Error (unknown command): undo" instead of
// announcing the feature off. A refusal is logged with what the adapter learned from it, and what
// it learned holds from then on: a refused "undo" sets positions up anew, a refused "analyze"
// analyses by an untimed search. False when the line is no error reply.
bool HandleEngineRefusal(EngineDialogue& d, std::string_view line);

}  // namespace pontax
