#include "adapter/core/ThinkingOutput.h"

#include <cctype>
#include <string>
#include <vector>

#include "adapter/config/Settings.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/Positions.h"
#include "adapter/driver/SearchState.h"
#include "adapter/driver/StringUtil.h"

namespace pontax {

namespace {

constexpr int kFirstPvWord = 5;
constexpr std::string_view kVariationSeparators = " \t\n\r\v\f;";

bool StartsWithDigit(std::string_view word) { return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0])); }

int NormalisedDepth(int depth, bool scaleThousands) {
    if (scaleThousands && depth > 999) depth /= 1000;
    return depth <= 0 ? 1 : depth;
}

long long NodesPerSecond(int nodes, long long timeMs) {
    return static_cast<long long>(nodes * (1000.0 / (timeMs == 0 ? 1 : static_cast<double>(timeMs))));
}

bool SearchingOrAnalysing() {
    EngineMode mode = Search().Mode();
    return mode == EngineMode::Searching || mode == EngineMode::Analysing;
}

// The adapter's own depth limit: a searching engine that goes deeper is told to move now.
void CheckDepth(int depth) {
    auto& search = Search();
    int limit = search.lastDepth;
    if (limit > 0 && search.Mode() == EngineMode::Searching && depth > limit) SendToEngine("?");
}

// The move an engine names in a status line, on the game board (after the ponder move while
// pondering); empty when there is none.
std::string CurrentMove(std::string_view text) {
    ChessBoard board = ReplayEnginePosition();
    if (!SearchingOrAnalysing()) {
        MoveRecord ponder = Search().pv.With([](PvMemory& pv) { return pv.announcedPonderMove; });
        if (ponder.IsEmpty() || !board.MakeMove(ponder, true)) return {};
    }
    MoveRecord move = board.ParseSan(text);
    return move.IsEmpty() ? std::string() : MoveToCoordinate(move);
}

void TranslateThinkingLine(const std::vector<std::string>& words, std::string_view line) {
    auto& search = Search();
    auto& settings = Settings();
    if (search.Mode() == EngineMode::Idle) search.SetMode(EngineMode::Pondering);
    EngineMode mode = search.Mode();
    ChessBoard board = ReplayEnginePosition();
    int depth = NormalisedDepth(ParseInteger(words[0]), true);
    CheckDepth(depth);
    int score = ParseInteger(words[1]);
    long long time = static_cast<long long>(ParseInteger(words[2])) * 10;
    int nodes = ParseInteger(words[3]);
    PvMemory pv = search.pv.With([](PvMemory& memory) { return memory; });
    if (settings.WhiteScore) {
        bool blackSearches = (mode == EngineMode::Searching || mode == EngineMode::Analysing)
                                 ? board.sideToMove == kBlack
                                 : (pv.expectedReply.IsEmpty() ? board.sideToMove == kBlack : board.sideToMove == kWhite);
        if (blackSearches) score = -score;
    }
    std::string out = "info depth " + std::to_string(depth) + " score cp " + std::to_string(score) + " time " +
                      std::to_string(time) + " nodes " + std::to_string(nodes) + " nps " +
                      std::to_string(NodesPerSecond(nodes, time));
    bool searching = mode == EngineMode::Searching || mode == EngineMode::Analysing;
    bool show = mode == EngineMode::Analysing || (depth >= settings.Noise && (mode == EngineMode::Searching || pv.ponderAnnounced));
    MoveRecord first, second;
    bool firstSet = false, secondSet = false;
    if (show) {
        int counter = kFirstPvWord;
        if (mode == EngineMode::Pondering && !pv.expectedReply.IsEmpty()) {
            MoveRecord reply = pv.expectedReply;
            board.MakeMove(reply, true);
            counter = kFirstPvWord + 1;
        }
        std::vector<std::string> variation = SplitWords(line, kVariationSeparators);
        bool anyShown = false;
        for (size_t i = kFirstPvWord - 1; i < variation.size(); ++i) {
            MoveRecord move = board.ParseSan(variation[i]);
            if (move.IsEmpty()) continue;
            if (searching && counter == kFirstPvWord) {
                first = move;
                firstSet = true;
            }
            if (searching && counter == kFirstPvWord + 1) {
                second = move;
                secondSet = true;
            }
            board.MakeMove(move, true);
            if (searching || counter > kFirstPvWord) {
                out += anyShown ? " " : " pv ";
                out += MoveToCoordinate(move);
                anyShown = true;
            }
            ++counter;
        }
    }
    search.pv.With([&](PvMemory& memory) {
        memory.lastInfoDepth = depth;
        memory.lastInfoScore = score;
        if (firstSet) memory.pvFirstMove = first;
        if (secondSet) memory.pvSecondMove = second;
    });
    SendToGui(out);
    TickerState armed = TickerState::Armed;
    search.tickerState.compare_exchange_strong(armed, TickerState::Reporting);
}

void TranslateStatusLine(const std::vector<std::string>& words) {
    long long time = static_cast<long long>(ParseInteger(words[1])) * 10;
    std::string out = "info time " + std::to_string(time);
    auto send = [&] { SendToGui(out); };
    if (words.size() < 3) return send();
    int nodes = ParseInteger(words[2]);
    out += " nodes " + std::to_string(nodes) + " nps " + std::to_string(NodesPerSecond(nodes, time));
    if (words.size() < 4) return send();
    int depth = NormalisedDepth(ParseInteger(words[3]), true);
    out += " depth " + std::to_string(depth);
    CheckDepth(depth);
    if (words.size() < 6) return send();
    out += " currmovenumber " + std::to_string(ParseInteger(words[5]) - ParseInteger(words[4]));
    if (words.size() < 7) return send();
    if (std::string move = CurrentMove(words[6]); !move.empty()) out += " currmove " + move;
    send();
}

void TranslateCurrentMoveLine(std::string_view line) {
    std::vector<std::string> fields = SplitWords(line, "= ");
    if (fields.size() < 2) return;
    int depth = NormalisedDepth(ParseInteger(fields[1]), false);
    std::string out = "info depth " + std::to_string(depth);
    CheckDepth(depth);
    if (fields.size() >= 3) {
        out += " currmovenumber " + std::to_string(ParseInteger(fields[2]) + 2);
        if (fields.size() >= 5)
            if (std::string move = CurrentMove(fields[4]); !move.empty()) out += " currmove " + move;
    }
    SendToGui(out);
}

}  // namespace

void TranslateThinkingOutput(std::string_view line) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) return;
    if (words[0] == "stat01:") {
        if (words.size() >= 2) TranslateStatusLine(words);
        return;
    }
    if (line.substr(0, 10) == "var:curmov") {
        TranslateCurrentMoveLine(line);
        return;
    }
    if (words.size() >= 4 && StartsWithDigit(words[0]) &&
        (StartsWithDigit(words[1]) || words[1][0] == '-' || words[1][0] == '+') && StartsWithDigit(words[2]) &&
        StartsWithDigit(words[3]))
        TranslateThinkingLine(words, line);
}

}  // namespace pontax
