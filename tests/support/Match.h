#pragma once

#include <string>
#include <vector>

#include "tests/support/UciHost.h"

namespace testing_support {

// A start position for a game, as UCI "position" arguments.
struct Opening {
    std::string name;
    std::string position;
};

// Openings with either side to move, en-passant squares set, castling rights partly gone, given
// as a FEN, as moves, or both.
const std::vector<Opening>& OpeningSet();

struct MatchRules {
    long long baseMs = 5000;
    long long incrementMs = 50;
    bool ponder = true;
    int maxPlies = 80;
    // Both hosts are told UCI_Chess960 before the game.
    bool chess960 = false;
};

struct GameRecord {
    std::vector<std::string> moves;
    // How the game ended: "mate or stalemate", "ply limit", "engine ended the game", or what went
    // wrong ("no bestmove", "illegal move", "lost on time").
    std::string end;
    int ponderHits = 0;
    int ponderMisses = 0;
    bool Failed() const;
};

// Plays one game as a match runner does: the engine to move gets "position" and "go" with both
// clocks; with pondering the other one ponders on the announced move, with "ponderhit" on a hit
// and "stop" (its move ignored) on a miss. hosts[0] plays White, hosts[1] Black.
GameRecord PlayGame(UciHost* hosts[2], const std::string& start, const MatchRules& rules);

}  // namespace testing_support
