#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace pontax {

class EngineDialogue;

// What a UCI "go" command asks; -1 where it does not say.
struct GoRequest {
    bool ponder = false;
    bool infinite = false;
    int wtime = -1, btime = -1, winc = 0, binc = 0;
    int movesToGo = -1, depth = -1, moveTime = -1;
    std::vector<std::string> searchMoves;
};
// Read once per command: the clock guard and the search both use it.
GoRequest ParseGo(std::string_view line);

// Called as a "go" command arrives, before it waits for anything: a search on a clock is guarded
// from here on. Returns the ticket Go takes it on with (0 for a search without a clock).
unsigned GuardArrivingGo(EngineDialogue& d, const GoRequest& request,
                         std::chrono::steady_clock::time_point received);
// The UCI "go" command: brings the engine in step with the game, sends the time control and
// clocks, and starts the search. May block while a running search is interrupted. The GUI's clock
// runs from `received`, when the command arrived.
void Go(EngineDialogue& d, const GoRequest& request, bool fromPonderhit,
        std::chrono::steady_clock::time_point received, unsigned arrival = 0);
// The opponent played the move the engine was pondering on: continues as an ordinary search.
void Ponderhit(EngineDialogue& d, std::chrono::steady_clock::time_point received);

}  // namespace pontax
