#pragma once

#include <chrono>
#include <string_view>

namespace pontax {

// The UCI "go" command: brings the engine in step with the game, sends the time control and
// clocks, and starts the search. May block while a running search is interrupted. The GUI's clock
// runs from `received`, when the command arrived.
void Go(std::string_view line, bool fromPonderhit, std::chrono::steady_clock::time_point received);
// The opponent played the move the engine was pondering on: continues as an ordinary search.
void Ponderhit(std::chrono::steady_clock::time_point received);

}  // namespace pontax
