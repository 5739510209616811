// Translation throughput of engine thinking lines with a 12-move principal variation, after 0 and
// after 300 plies of game.
#include <benchmark/benchmark.h>

#include "Adapter.h"
#include "LineWriters.h"
#include "Positions.h"
#include "SearchState.h"
#include "ThinkingOutput.h"

namespace {

using namespace pontax;

constexpr const char* kThinkingLine =
    "14 35 1234 5678901 e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5";

// The engine position: the start position after `plies` knight moves that return to it.
void SetUpGame(EngineDialogue& d, int plies) {
    static const char* kShuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string command = "position startpos moves";
    for (int i = 0; i < plies; ++i) command += std::string(" ") + kShuffle[i % 4];
    ParsePosition(d, command);
    PositionRecord game = GamePosition(d);
    SwapEnginePosition(d, game);
    d.search.SetMode(EngineMode::Searching);
    d.search.BeginSearch();
    d.gui.SetSink([](std::string_view) {});
}

void ThinkingLines(benchmark::State& state) {
    Adapter adapter;
    SetUpGame(adapter.dialogue, static_cast<int>(state.range(0)));
    for (auto _ : state) TranslateThinkingOutput(adapter.dialogue, kThinkingLine);
    state.SetItemsProcessed(state.iterations());
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ThinkingLines)->Arg(0)->Arg(300)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
