#include "ThinkingOutput.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "EngineDialogue.h"
#include "LineWriters.h"
#include "MateScore.h"
#include "Positions.h"
#include "SearchState.h"
#include "Settings.h"
#include "StringUtil.h"

namespace pontax {

namespace {

constexpr int kFirstPvWord = 5;
constexpr std::string_view kVariationSeparators = " \t\n\r\v\f;";

bool AllDigits(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// What may follow the node count before the variation: selective depth, speed (nodes per
// second) and table-base hits, in this order, each a plain number; any that are missing are
// unknown.
struct OptionalFields {
    std::optional<long long> selectiveDepth, speed, tableHits;
};

OptionalFields ReadOptionalFields(const std::vector<std::string>& words) {
    OptionalFields fields;
    std::optional<long long>* slots[] = {&fields.selectiveDepth, &fields.speed, &fields.tableHits};
    for (size_t i = 0; i < 3 && kFirstPvWord - 1 + i < words.size(); ++i) {
        const std::string& word = words[kFirstPvWord - 1 + i];
        if (!AllDigits(word)) break;
        *slots[i] = ParseInteger(word);
    }
    return fields;
}

bool StartsWithDigit(std::string_view word) {
    return !word.empty() && std::isdigit(static_cast<unsigned char>(word[0]));
}

int NormalisedDepth(int depth, bool scaleThousands) {
    if (scaleThousands && depth > 999) depth /= 1000;
    return depth <= 0 ? 1 : depth;
}

long long NodesPerSecond(int nodes, long long timeMs) {
    return static_cast<long long>(nodes * (1000.0 / (timeMs == 0 ? 1 : static_cast<double>(timeMs))));
}

bool SearchingOrAnalysing(EngineDialogue& d) {
    EngineMode mode = d.search.Mode();
    return mode == EngineMode::Searching || mode == EngineMode::Analysing;
}

// The adapter's own depth limit: a searching engine that goes deeper is told to move now.
void CheckDepth(EngineDialogue& d, int depth) {
    auto& search = d.search;
    int limit = search.LastRequest().lastDepth;
    if (limit > 0 && search.Mode() == EngineMode::Searching && depth > limit) SendToEngine(d, "?");
}

// The move an engine names in a status line, on the game board (after the ponder move while
// pondering); empty when there is none.
std::string CurrentMove(EngineDialogue& d, std::string_view text) {
    ChessBoard board = ReplayEnginePosition(d);
    if (!SearchingOrAnalysing(d)) {
        MoveRecord ponder = d.search.pv.With([](PvMemory& pv) { return pv.announcedPonderMove; });
        if (ponder.IsEmpty() || !board.MakeMove(ponder, true)) return {};
    }
    MoveRecord move = board.ParseSan(text);
    return move.IsEmpty() ? std::string() : MoveToCoordinate(move);
}

// The move the host ponders on: its position is the engine's game and one move more. Empty when
// the host ponders on anything else, as the engine's variations then belong to no position the
// host knows.
MoveRecord PonderedMove(EngineDialogue& d) {
    PositionRecord game = GamePosition(d);
    PositionRecord engine = EnginePosition(d);
    if (game.Count() != engine.Count() + 1 || !game.Start().SamePosition(engine.Start()) ||
        !SameMoves(game, engine, engine.Count()))
        return {};
    return game.Move(engine.Count());
}

// Move numbers, "..." and the like carry no square; a word with a file letter or a castling is
// meant as a move.
bool MeantAsMove(std::string_view word) {
    if (word.rfind("O-O", 0) == 0 || word.rfind("0-0", 0) == 0) return true;
    return word.find_first_of("abcdefgh") != std::string_view::npos;
}

// The moves of a variation as the engine wrote them: brackets taken off (an engine may bracket
// the move it ponders on), decorations left out.
std::vector<std::string> VariationWords(std::string_view line) {
    std::vector<std::string> words = SplitWords(line, kVariationSeparators);
    std::vector<std::string> moves;
    for (size_t i = kFirstPvWord - 1; i < words.size(); ++i) {
        std::string word = words[i];
        if (word.size() > 2 && word.front() == '(' && word.back() == ')')
            word = word.substr(1, word.size() - 2);
        if (MeantAsMove(word)) moves.push_back(word);
    }
    return moves;
}

// Reads a variation on board; it ends at its first word that is no legal move there.
std::vector<MoveRecord> ReadVariation(ChessBoard board, const std::vector<std::string>& words, size_t first) {
    std::vector<MoveRecord> moves;
    for (size_t i = first; i < words.size(); ++i) {
        MoveRecord move = board.ParseSan(words[i]);
        if (move.IsEmpty()) break;
        board.MakeMove(move, true);
        moves.push_back(move);
    }
    return moves;
}

// A variation of a pondering engine, as the line from the host's ponder position: without the
// pondered move when it begins with it, whole when the engine's hint says it ponders on that
// move and leaves it out. Any other variation is from a position the host is not pondering on.
std::vector<MoveRecord> PonderVariation(EngineDialogue& d, const ChessBoard& board,
                                        const std::vector<std::string>& words,
                                        const MoveRecord& expectedReply) {
    MoveRecord pondered = PonderedMove(d);
    if (pondered.IsEmpty() || words.empty()) return {};
    ChessBoard after = board;
    MoveRecord applied = pondered;
    if (!after.MakeMove(applied, true)) return {};
    if (board.ParseSan(words[0]).SameMove(pondered)) return ReadVariation(after, words, 1);
    if (expectedReply.SameMove(pondered)) return ReadVariation(after, words, 0);
    return {};
}

void TranslateThinkingLine(EngineDialogue& d, const std::vector<std::string>& words, std::string_view line,
                           unsigned number) {
    auto& search = d.search;
    auto& settings = d.settings;
    search.ChangeMode(EngineMode::Idle, EngineMode::Pondering);
    EngineMode mode = search.Mode();
    ChessBoard board = ReplayEnginePosition(d);
    int depth = NormalisedDepth(ParseInteger(words[0]), true);
    CheckDepth(d, depth);
    int score = ParseInteger(words[1]);
    long long time = static_cast<long long>(ParseInteger(words[2])) * 10;
    int nodes = ParseInteger(words[3]);
    PvMemory pv = search.pv.With([](PvMemory& memory) { return memory; });
    bool searching = mode == EngineMode::Searching || mode == EngineMode::Analysing;
    if (settings.WhiteScore) {
        bool blackSearches = searching ? board.sideToMove == kBlack
                                       : (pv.expectedReply.IsEmpty() ? board.sideToMove == kBlack
                                                                     : board.sideToMove == kWhite);
        if (blackSearches) score = -score;
    }
    OptionalFields fields = ReadOptionalFields(words);
    std::string head = "info depth " + std::to_string(depth);
    if (fields.selectiveDepth) head += " seldepth " + std::to_string(std::max(*fields.selectiveDepth, 1LL));
    head += " score " + UciScore(d.settings, score);
    std::string out = head + " time " + std::to_string(time) + " nodes " + std::to_string(nodes) + " nps " +
                      std::to_string(fields.speed ? *fields.speed : NodesPerSecond(nodes, time));
    if (fields.tableHits) out += " tbhits " + std::to_string(*fields.tableHits);
    bool show = mode == EngineMode::Analysing ||
                (depth >= settings.Noise && (mode == EngineMode::Searching || pv.ponderAnnounced));
    std::vector<MoveRecord> variation;
    if (show) {
        std::vector<std::string> moveWords = VariationWords(line);
        variation = searching ? ReadVariation(board, moveWords, 0)
                              : PonderVariation(d, board, moveWords, pv.expectedReply);
    }
    for (size_t i = 0; i < variation.size(); ++i)
        out += (i == 0 ? " pv " : " ") + MoveToCoordinate(variation[i]);
    search.pv.With([&](PvMemory& memory) {
        memory.lastInfoDepth = depth;
        memory.lastInfoScore = score;
        // Each variation read replaces both moves, so no move of an older line outlives it.
        if (show && searching) {
            memory.pvFirstMove = variation.size() > 0 ? variation[0] : MoveRecord{};
            memory.pvSecondMove = variation.size() > 1 ? variation[1] : MoveRecord{};
        }
    });
    if (search.SendForSearch(d.gui, number, out) && !variation.empty())
        search.pv.With([&](PvMemory& memory) {
            memory.shownHead = head;
            memory.shownFirstMove = variation[0];
        });
    search.StartReportingIfArmed();
}

// Hosts refuse negative counts and a move number below 1.
int NotNegative(int value) { return value < 0 ? 0 : value; }

void TranslateStatusLine(EngineDialogue& d, const std::vector<std::string>& words, unsigned number) {
    long long time = static_cast<long long>(NotNegative(ParseInteger(words[1]))) * 10;
    std::string out = "info time " + std::to_string(time);
    auto send = [&] { d.search.SendForSearch(d.gui, number, out); };
    if (words.size() < 3) return send();
    int nodes = NotNegative(ParseInteger(words[2]));
    out += " nodes " + std::to_string(nodes) + " nps " + std::to_string(NodesPerSecond(nodes, time));
    if (words.size() < 4) return send();
    int depth = NormalisedDepth(ParseInteger(words[3]), true);
    out += " depth " + std::to_string(depth);
    CheckDepth(d, depth);
    if (words.size() < 6) return send();
    if (long long moveNumber = static_cast<long long>(ParseInteger(words[5])) - ParseInteger(words[4]);
        moveNumber >= 1)
        out += " currmovenumber " + std::to_string(moveNumber);
    if (words.size() < 7) return send();
    if (std::string move = CurrentMove(d, words[6]); !move.empty()) out += " currmove " + move;
    send();
}

void TranslateCurrentMoveLine(EngineDialogue& d, std::string_view line, unsigned number) {
    std::vector<std::string> fields = SplitWords(line, "= ");
    if (fields.size() < 2) return;
    int depth = NormalisedDepth(ParseInteger(fields[1]), false);
    std::string out = "info depth " + std::to_string(depth);
    CheckDepth(d, depth);
    if (fields.size() >= 3) {
        if (long long moveNumber = ParseInteger(fields[2]) + 2LL; moveNumber >= 1)
            out += " currmovenumber " + std::to_string(moveNumber);
        if (fields.size() >= 5)
            if (std::string move = CurrentMove(d, fields[4]); !move.empty()) out += " currmove " + move;
    }
    d.search.SendForSearch(d.gui, number, out);
}

}  // namespace

void TranslateThinkingOutput(EngineDialogue& d, std::string_view line) {
    // Taken before anything else is read: a line read across the start of a search is dropped.
    unsigned number = d.search.SearchNumber();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) return;
    if (words[0] == "stat01:") {
        if (words.size() >= 2) TranslateStatusLine(d, words, number);
        return;
    }
    if (line.substr(0, 10) == "var:curmov") {
        TranslateCurrentMoveLine(d, line, number);
        return;
    }
    if (words.size() >= 4 && StartsWithDigit(words[0]) &&
        (StartsWithDigit(words[1]) || words[1][0] == '-' || words[1][0] == '+') &&
        StartsWithDigit(words[2]) && StartsWithDigit(words[3]))
        TranslateThinkingLine(d, words, line, number);
}

}  // namespace pontax
