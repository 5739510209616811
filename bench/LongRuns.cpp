// Long runs, with resident memory and open descriptors at the start and at the end:
//   bench_long_runs match [GAMES] [ENGINE]   a match between two pontax processes (fast clocks)
//   bench_long_runs long-game [PLIES]        one game of PLIES plies through pontax and fairymax
//   bench_long_runs dravel [PLIES]           one game of PLIES plies in dravel-core
// Every line pontax sends goes through the strict host checker; the run fails on any fault.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/Match.h"
#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace {

using namespace std::chrono_literals;
using testing_support::TempDir;
using testing_support::UciHost;

struct Usage {
    long residentKb = 0;
    long descriptors = 0;
};

Usage UsageOf(pid_t pid) {
    Usage usage;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string key; status >> key;)
        if (key == "VmRSS:") status >> usage.residentKb;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++usage.descriptors;
    return usage;
}

void Report(const char* what, const Usage& start, const Usage& end) {
    std::printf("%s: resident %ld kB -> %ld kB (%+.1f%%), descriptors %ld -> %ld\n", what, start.residentKb,
                end.residentKb,
                100.0 * static_cast<double>(end.residentKb - start.residentKb) /
                    static_cast<double>(start.residentKb),
                start.descriptors, end.descriptors);
}

// pontax on a Debian engine, in a directory of its own.
struct Side {
    TempDir dir;
    std::unique_ptr<UciHost> host;

    explicit Side(const std::string& engine) {
        std::filesystem::create_symlink("/usr/games/" + engine, dir.File(engine));
        dir.Write("Pontax.eng", "[OPTIONS]\nProgram=./" + engine + "\n");
        host = std::make_unique<UciHost>(std::vector<std::string>{PONTAX_PATH}, dir.Path(),
                                         std::vector<std::string>{"HOME=" + dir.Path()});
    }
};

bool Clean(const char* who, UciHost& host) {
    if (host.Violations().empty()) return true;
    std::printf("%s:\n%s", who, testing_support::Describe(host.Violations()).c_str());
    return false;
}

int Match(int games, const std::string& engine) {
    Side sides[2] = {Side(engine), Side(engine)};
    for (auto& side : sides)
        if (!side.host->Handshake()) return std::printf("no handshake\n"), 1;
    testing_support::MatchRules rules;
    rules.baseMs = 2000;
    rules.incrementMs = 20;
    rules.maxPlies = 120;
    Usage start[2], end[2];
    int failed = 0;
    for (int game = 0; game < games; ++game) {
        rules.ponder = game % 2 == 0;
        const auto& openings = testing_support::OpeningSet();
        UciHost* hosts[2] = {sides[game % 2].host.get(), sides[1 - game % 2].host.get()};
        auto record = testing_support::PlayGame(
            hosts, openings[static_cast<size_t>(game) % openings.size()].position, rules);
        if (record.Failed()) ++failed;
        std::printf("game %d: %s after %zu plies\n", game + 1, record.end.c_str(), record.moves.size());
        for (int i = 0; i < 2; ++i) (game == 0 ? start : end)[i] = UsageOf(sides[i].host->Raw().Pid());
    }
    bool clean = Clean("first pontax", *sides[0].host) && Clean("second pontax", *sides[1].host);
    Report("first pontax", start[0], end[0]);
    Report("second pontax", start[1], end[1]);
    std::printf("%d games, %d failed\n", games, failed);
    return failed == 0 && clean ? 0 : 1;
}

// Knights out and back: a game that never ends by the rules' own means.
std::string ShuffleMove(int ply) {
    static const char* kCycle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    return kCycle[ply % 4];
}

int LongGame(int plies) {
    Side side("fairymax");
    if (!side.host->Handshake()) return std::printf("no handshake\n"), 1;
    std::string position = "startpos moves";
    Usage start;
    for (int ply = 0; ply < plies; ++ply) {
        side.host->Send("position " + position);
        side.host->Send("go depth 1");
        if (!side.host->WaitBestMove(10s)) return std::printf("no bestmove at ply %d\n", ply), 1;
        if (ply == 10) start = UsageOf(side.host->Raw().Pid());
        position += " " + ShuffleMove(ply);
    }
    Usage end = UsageOf(side.host->Raw().Pid());
    bool clean = Clean("pontax", *side.host);
    Report("pontax", start, end);
    std::printf("%d plies\n", plies);
    return clean ? 0 : 1;
}

int DravelGame(int plies) {
    TempDir dir;
    testing_support::Process core({DRAVEL_CORE_PATH}, dir.Path());
    Usage start;
    for (int ply = 0; ply < plies; ++ply) {
        core.Send("B" + ShuffleMove(ply));
        auto answer = core.ReadLine(10s);
        if (!answer || !answer->empty())
            return std::printf("ply %d: %s\n", ply, answer ? answer->c_str() : "no answer"), 1;
        if (ply == 10) start = UsageOf(core.Pid());
    }
    Report("dravel-core", start, UsageOf(core.Pid()));
    std::printf("%d plies\n", plies);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    auto number = [&](int fallback) { return argc > 2 ? std::atoi(argv[2]) : fallback; };
    if (mode == "match") return Match(number(200), argc > 3 ? argv[3] : "fairymax");
    if (mode == "long-game") return LongGame(number(1100));
    if (mode == "dravel") return DravelGame(number(500));
    std::fprintf(stderr, "usage: %s match [GAMES] [ENGINE] | long-game [PLIES] | dravel [PLIES]\n", argv[0]);
    return 2;
}
