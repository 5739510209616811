// Latency pontax adds between a UCI host and an engine that answers at once: from writing "go"
// (with the last move in the position) to reading "bestmove", against the same scripted engine
// driven directly over xboard in the same run. Also the resident size of pontax during the game.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/ProcessHarness.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Process;
using testing_support::TempDir;
using Clock = std::chrono::steady_clock;

constexpr int kMoves = 1000;  // per side, so the game reaches 2000 plies
const char* kWhite[] = {"g1f3", "f3g1"};
const char* kBlack[] = {"g8f6", "f6g8"};

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void Report(const char* name, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    std::printf("%-8s median %8.1f us   p99 %8.1f us   max %8.1f us   (%zu moves)\n", name, at(0.5), at(0.99),
                samples.back(), samples.size());
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> value) return value;
    return 0;
}

std::string Script() {
    return "force-mode\non protover 2 => feature usermove=0 done=1\non go => move g8f6\non g1f3 => move "
           "g8f6\n"
           "on f3g1 => move f6g8\n";
}

std::vector<double> Direct(const TempDir& dir) {
    Process engine({FAKE_ENGINE_PATH}, dir.Path(), {"FAKE_ENGINE_SCRIPT=" + dir.File("script")});
    engine.Send("xboard");
    engine.Send("protover 2");
    engine.ReadLine(5s);
    engine.Send("new");
    engine.Send("force");
    std::vector<double> samples;
    for (int i = 0; i < kMoves; ++i) {
        auto start = Clock::now();
        engine.Send(i == 0 ? std::string("g1f3\ngo") : kWhite[i % 2]);
        engine.ReadLine(5s);
        samples.push_back(Micros(Clock::now() - start));
    }
    engine.Send("quit");
    return samples;
}

std::vector<double> ThroughPontax(const TempDir& dir, long& residentKb) {
    // The clock guard on, as every shipped configuration has it.
    dir.Write("Pontax.eng",
              "[OPTIONS]\nProgram=" + std::string(FAKE_ENGINE_PATH) + "\nInitTime=0\nClockMargin=200\n");
    Process pontax({PONTAX_PATH}, dir.Path(), {"FAKE_ENGINE_SCRIPT=" + dir.File("script")});
    pontax.Send("isready");
    pontax.WaitFor("readyok");
    std::string moves = "position startpos moves";
    std::vector<double> samples;
    for (int i = 0; i < kMoves; ++i) {
        moves += std::string(" ") + kWhite[i % 2];
        pontax.Send(moves);
        auto start = Clock::now();
        pontax.Send("go wtime 60000 btime 60000");
        std::string best;
        while (auto line = pontax.ReadLine(5s))
            if (line->rfind("bestmove ", 0) == 0) {
                best = line->substr(9);
                break;
            }
        samples.push_back(Micros(Clock::now() - start));
        moves += std::string(" ") + kBlack[i % 2];
        residentKb = std::max(residentKb, ResidentKb(pontax.Pid()));
    }
    pontax.Send("quit");
    pontax.WaitExit(5s);
    return samples;
}

double Quantile(std::vector<double> samples, double q) {
    std::sort(samples.begin(), samples.end());
    return samples[static_cast<size_t>(q * static_cast<double>(samples.size() - 1))];
}

double Median(const std::vector<double>& values) { return Quantile(values, 0.5); }

}  // namespace

// Five rounds, each a direct game and one through pontax; the goal compares the median over the
// rounds of what pontax adds with the direct round trip of the same rounds.
int main() {
    constexpr int kRounds = 5;
    TempDir dir;
    dir.Write("script", Script());
    std::vector<double> directMedians, directP99s, addedMedians, addedP99s;
    long residentKb = 0;
    for (int round = 1; round <= kRounds; ++round) {
        std::vector<double> direct = Direct(dir);
        std::vector<double> adapter = ThroughPontax(dir, residentKb);
        std::printf("round %d\n", round);
        Report("direct", direct);
        Report("pontax", adapter);
        directMedians.push_back(Quantile(direct, 0.5));
        directP99s.push_back(Quantile(direct, 0.99));
        addedMedians.push_back(Quantile(adapter, 0.5) - directMedians.back());
        addedP99s.push_back(Quantile(adapter, 0.99) - directP99s.back());
    }
    double direct = Median(directMedians), directP99 = Median(directP99s);
    double added = Median(addedMedians), addedP99 = Median(addedP99s);
    std::printf("over %d rounds: direct median %.1f us, p99 %.1f us\n", kRounds, direct, directP99);
    std::printf(
        "added by pontax: median %.1f us (%.2f x direct; goal: at most 1.5 x), "
        "p99 %.1f us (%.2f x direct p99; goal: at most 3 x)\n",
        added, added / direct, addedP99, addedP99 / directP99);
    std::printf("pontax resident size during the game: %.1f MB (goal: under 8 MB)\n", residentKb / 1024.0);
    return 0;
}
