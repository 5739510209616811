// Leaf positions per second of the adapter's move generator against stockfish's "go perft" on the
// same positions, in the same run, and the number of heap allocations made while generating.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "ChessBoard.h"
#include "tools/PerftCounter.h"

namespace {

std::atomic<long> allocations{0};

struct Position {
    const char* name;
    const char* fen;
    int depth;
};

constexpr Position kPositions[] = {
    {"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 6},
    {"kiwipete", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 5},
    {"endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 6},
    {"promotions", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 5},
    {"middlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 5},
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Runs stockfish's perft and returns the seconds from "go perft" to "Nodes searched".
double StockfishSeconds(const Position& position, unsigned long long& nodes) {
    int toChild[2], fromChild[2];
    if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) return 0;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::execl("/usr/games/stockfish", "stockfish", nullptr);
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    FILE* in = ::fdopen(toChild[1], "w");
    FILE* out = ::fdopen(fromChild[0], "r");
    std::fprintf(in, "position fen %s\nisready\n", position.fen);
    std::fflush(in);
    char line[512];
    while (std::fgets(line, sizeof line, out) && std::string(line).rfind("readyok", 0) != 0) {
    }
    auto start = std::chrono::steady_clock::now();
    std::fprintf(in, "go perft %d\n", position.depth);
    std::fflush(in);
    nodes = 0;
    while (std::fgets(line, sizeof line, out))
        if (std::sscanf(line, "Nodes searched: %llu", &nodes) == 1) break;
    double seconds = Seconds(std::chrono::steady_clock::now() - start);
    std::fprintf(in, "quit\n");
    std::fclose(in);
    std::fclose(out);
    ::waitpid(pid, nullptr, 0);
    return seconds;
}

}  // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main() {
    std::printf("%-11s %5s %13s %12s %12s %7s %7s\n", "position", "depth", "leaves", "ours/s", "stockfish/s",
                "ratio", "allocs");
    double oursTotal = 0, theirsTotal = 0;
    unsigned long long leavesTotal = 0;
    for (const auto& position : kPositions) {
        pontax::ChessBoard board;
        board.SetFen(position.fen);
        long before = allocations;
        auto start = std::chrono::steady_clock::now();
        unsigned long long leaves = pontax::Perft(board, position.depth);
        double ours = Seconds(std::chrono::steady_clock::now() - start);
        long made = allocations - before;
        unsigned long long theirLeaves = 0;
        double theirs = StockfishSeconds(position, theirLeaves);
        std::printf("%-11s %5d %13llu %12.0f %12.0f %7.2f %7ld%s\n", position.name, position.depth, leaves,
                    leaves / ours, theirLeaves / theirs, theirs / ours, made,
                    leaves == theirLeaves ? "" : "  COUNTS DIFFER");
        oursTotal += ours;
        theirsTotal += theirs;
        leavesTotal += leaves;
    }
    std::printf("all: ours %.0f leaves/s, stockfish %.0f leaves/s, ratio %.2f (goal: at least 0.33)\n",
                leavesTotal / oursTotal, leavesTotal / theirsTotal, theirsTotal / oursTotal);
    return 0;
}
