#pragma once

#include <chrono>
#include <string_view>

namespace pontax {

class EngineDialogue;

// The UCI "go" command: brings the engine in step with the game, sends the time control and
// clocks, and starts the search. May block while a running search is interrupted. The GUI's clock
// runs from `received`, when the command arrived.
// Called as a "go" line arrives, before it waits for anything: a search on a clock is guarded from
// here on. Returns the ticket Go takes it on with (0 for a search without a clock).
unsigned GuardArrivingGo(EngineDialogue& d, std::string_view line,
                         std::chrono::steady_clock::time_point received);
void Go(EngineDialogue& d, std::string_view line, bool fromPonderhit,
        std::chrono::steady_clock::time_point received, unsigned arrival = 0);
// The opponent played the move the engine was pondering on: continues as an ordinary search.
void Ponderhit(EngineDialogue& d, std::chrono::steady_clock::time_point received);

}  // namespace pontax
