// The work pontax does for one move, without pipes or threads: the host's "position" and "go"
// lines and the engine's reply, each timed alone, over a 1,000-move game as bench_go_latency
// plays it. Timed twice: with the caches warm from the step before, and with them swept before
// each step, as a reader thread finds them when a pipe wakes it after the other processes ran.
// The swept figures come close to what pontax spends between its reads and writes in
// bench_go_latency; the rest of that benchmark's added latency is the pipes' and the wake-ups'.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "Adapter.h"
#include "CommandLoop.h"
#include "EngineLink.h"
#include "EngineOutput.h"

namespace {

using namespace pontax;
using Clock = std::chrono::steady_clock;

constexpr int kMoves = 1000;  // per side
constexpr int kRounds = 5;
const char* kWhite[] = {"g1f3", "f3g1"};
const char* kBlack[] = {"g8f6", "f6g8"};

// An engine that takes every line and answers nothing; the benchmark plays its moves.
class SilentEngineLink final : public EngineLink {
public:
    bool Start(std::string_view) override { return true; }
    NativeHandle TakeOutput() override { return kNoHandle; }
    void Stop(bool, std::chrono::milliseconds) override {}
    bool Exists() const override { return true; }
    void Write(std::string_view) override {}
};

struct Samples {
    std::vector<double> position, go, reply;
};

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// Larger than the processor's caches and its address translations reach.
std::vector<char> sweep(16 << 20);
bool sweepFirst = false;

template <typename Step>
void Time(std::vector<double>& into, Step step) {
    if (sweepFirst)
        for (size_t i = 0; i < sweep.size(); i += 64) ++sweep[i];
    auto start = Clock::now();
    step();
    into.push_back(Micros(Clock::now() - start));
}

void PlayGame(Samples& samples) {
    Adapter adapter;
    EngineDialogue& d = adapter.dialogue;
    SilentEngineLink engine;
    d.UseEngineLink(engine);
    d.settings.ClockMargin = 200;  // the clock guard on, as shipped
    size_t guiBytes = 0;
    d.gui.SetSink([&](std::string_view bytes) { guiBytes += bytes.size(); });
    HandleEngineLine(d, "feature usermove=0 done=1");
    std::string moves = "position startpos moves";
    for (int i = 0; i < kMoves; ++i) {
        moves += std::string(" ") + kWhite[i % 2];
        Time(samples.position, [&] { HandleGuiLine(d, moves); });
        Time(samples.go, [&] { HandleGuiLine(d, "go wtime 60000 btime 60000"); });
        std::string reply = std::string("move ") + kBlack[i % 2];
        Time(samples.reply, [&] { HandleEngineLine(d, reply); });
        moves += std::string(" ") + kBlack[i % 2];
    }
    // Every move answered, each with its opening line: 24 and 14 bytes.
    if (guiBytes != 38u * kMoves) std::printf("the host got %zu bytes, not %d\n", guiBytes, 38 * kMoves);
    HandleGuiLine(d, "quit");
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    for (bool swept : {false, true}) {
        sweepFirst = swept;
        Samples samples;
        for (int round = 0; round < kRounds; ++round) PlayGame(samples);
        double position = Median(samples.position), go = Median(samples.go), reply = Median(samples.reply);
        std::printf("median per move over %d games of %d moves, caches %s:\n", kRounds, kMoves,
                    swept ? "swept before each step" : "warm");
        std::printf("  position %6.2f us\n  go       %6.2f us\n  reply    %6.2f us\n  total    %6.2f us\n",
                    position, go, reply, position + go + reply);
    }
    return 0;
}
