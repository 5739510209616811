#include "tests/support/Match.h"

#include <algorithm>
#include <sstream>

namespace testing_support {

namespace {

using std::chrono::milliseconds;
constexpr milliseconds kStopAnswer{15000};
// How long past its clock a host waits for a move before it calls the engine hung.
constexpr milliseconds kHangMargin{10000};

struct Player {
    UciHost* host = nullptr;
    long long clockMs = 0;
    bool pondering = false;
    std::string ponderMove;
};

bool EndedTheGame(const UciHost& host, size_t infosBefore) {
    const auto& infos = host.Infos();
    for (size_t i = infosBefore; i < infos.size(); ++i)
        for (const char* text :
             {"info string resign", "info string 1-0", "info string 0-1", "info string 1/2-1/2"})
            if (infos[i].rfind(text, 0) == 0) return true;
    return false;
}

std::string Clocks(const Player players[2], long long incrementMs) {
    return " wtime " + std::to_string(players[0].clockMs) + " btime " + std::to_string(players[1].clockMs) +
           " winc " + std::to_string(incrementMs) + " binc " + std::to_string(incrementMs);
}

void EndPonder(Player& player) {
    if (!player.pondering) return;
    player.host->Send("stop");
    player.host->WaitBestMove(kStopAnswer);
    player.pondering = false;
}

}  // namespace

const std::vector<Opening>& OpeningSet() {
    static const std::vector<Opening> openings = {
        {"StartPosition", "startpos"},
        {"BlackAfterOneMove", "startpos moves e2e4"},
        {"BlackWithEnPassant", "fen rnbqkbnr/pp2pppp/3p4/2p5/3PP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3"},
        {"WhiteWithEnPassant", "fen rnbqkb1r/ppp1pppp/5n2/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3"},
        {"WhiteCastledNoRights", "fen r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 w - - 0 7"},
        {"BlackFenThenMoves",
         "fen r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3 moves f1b5"},
    };
    return openings;
}

bool GameRecord::Failed() const {
    return end != "mate or stalemate" && end != "ply limit" && end != "engine ended the game";
}

GameRecord PlayGame(UciHost* hosts[2], const std::string& start, const MatchRules& rules) {
    Player players[2];
    for (int side = 0; side < 2; ++side) {
        players[side].host = hosts[side];
        players[side].clockMs = rules.baseMs;
        if (rules.chess960) hosts[side]->Send("setoption name UCI_Chess960 value true");
        hosts[side]->Send("ucinewgame");
    }
    GameRecord game;
    std::string position = start;
    int side = SideToMove(start);
    for (int ply = 0; ply < rules.maxPlies; ++ply, side = 1 - side) {
        if (hosts[0]->Oracle().LegalMoves(position).empty()) {
            game.end = "mate or stalemate";
            break;
        }
        Player& mover = players[side];
        size_t infosBefore = mover.host->Infos().size();
        auto begin = std::chrono::steady_clock::now();
        if (mover.pondering && !game.moves.empty() && game.moves.back() == mover.ponderMove) {
            mover.host->Send("ponderhit");
            ++game.ponderHits;
        } else {
            if (mover.pondering) ++game.ponderMisses;
            EndPonder(mover);
            begin = std::chrono::steady_clock::now();
            mover.host->Send("position " + position);
            mover.host->Send("go" + Clocks(players, rules.incrementMs));
        }
        mover.pondering = false;
        auto best = mover.host->WaitBestMove(milliseconds(std::max(mover.clockMs, 0LL)) + kHangMargin);
        if (!best) {
            game.end = "no bestmove";
            break;
        }
        long long used =
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - begin).count();
        mover.clockMs -= used;
        if (mover.clockMs < 0) {
            game.end = "lost on time";
            break;
        }
        mover.clockMs += rules.incrementMs;
        std::istringstream words(*best);
        std::string keyword, move, ponderWord, ponderMove;
        words >> keyword >> move >> ponderWord >> ponderMove;
        std::vector<std::string> legal = hosts[0]->Oracle().LegalMoves(position);
        if (std::find(legal.begin(), legal.end(), move) == legal.end()) {
            game.end = "illegal move";
            break;
        }
        game.moves.push_back(move);
        position = WithMove(position, move);
        if (EndedTheGame(*mover.host, infosBefore)) {
            game.end = "engine ended the game";
            break;
        }
        if (rules.ponder && ponderWord == "ponder") {
            mover.host->Send("position " + WithMove(position, ponderMove));
            mover.host->Send("go ponder" + Clocks(players, rules.incrementMs));
            mover.pondering = true;
            mover.ponderMove = ponderMove;
        }
    }
    if (game.end.empty()) game.end = "ply limit";
    for (auto& player : players) EndPonder(player);
    return game;
}

}  // namespace testing_support
