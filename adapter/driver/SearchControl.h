#pragma once

#include <string_view>

namespace pontax {

// The UCI "go" command: brings the engine in step with the game, sends the time control and
// clocks, and starts the search. May block while a running search is interrupted.
void Go(std::string_view line, bool fromPonderhit);
// The opponent played the move the engine was pondering on: continues as an ordinary search.
void Ponderhit();

}  // namespace pontax
