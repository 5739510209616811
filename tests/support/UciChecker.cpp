#include "tests/support/UciChecker.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <sstream>

namespace testing_support {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string Rest(const std::string& line, size_t skipWords) {
    std::vector<std::string> words = Words(line);
    std::string rest;
    for (size_t i = skipWords; i < words.size(); ++i) rest += (rest.empty() ? "" : " ") + words[i];
    return rest;
}

std::optional<long long> Integer(const std::string& word) {
    static const std::regex kInteger(R"(-?\d{1,18})");
    if (!std::regex_match(word, kInteger)) return std::nullopt;
    return std::stoll(word);
}

bool LooksLikeMove(const std::string& word) {
    static const std::regex kMove(R"([a-h][1-8][a-h][1-8][qrbn]?)");
    return std::regex_match(word, kMove);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The value of a "go" keyword, if given.
std::optional<long long> GoValue(const std::vector<std::string>& words, const std::string& key) {
    for (size_t i = 1; i + 1 < words.size(); ++i)
        if (words[i] == key) return Integer(words[i + 1]);
    return std::nullopt;
}

bool HasWord(const std::vector<std::string>& words, const std::string& key) {
    return std::find(words.begin() + 1, words.end(), key) != words.end();
}

}  // namespace

std::string WithMove(const std::string& positionArguments, const std::string& move) {
    std::vector<std::string> words = Words(positionArguments);
    bool hasMoves = std::find(words.begin(), words.end(), "moves") != words.end();
    return positionArguments + (hasMoves ? " " : " moves ") + move;
}

int SideToMove(const std::string& positionArguments) {
    std::vector<std::string> words = Words(positionArguments);
    int side = 0;
    size_t i = 0;
    if (!words.empty() && words[0] == "fen" && words.size() > 2 && words[2] == "b") side = 1;
    auto moves = std::find(words.begin(), words.end(), "moves");
    if (moves != words.end()) i = static_cast<size_t>(words.end() - moves - 1);
    return static_cast<int>((static_cast<size_t>(side) + i) % 2);
}

UciDialogueChecker::UciDialogueChecker(LegalMovesFunction legalMoves) : legalMoves_(std::move(legalMoves)) {}

void UciDialogueChecker::Violation(const std::string& what, const std::string& line) {
    std::string context = search_ ? " (searching position " + search_->position + ")" : "";
    violations_.push_back(what + ": '" + line + "'" + context);
}

bool UciDialogueChecker::Offered(const std::string& optionName) const {
    return optionNames_.count(Lower(optionName)) > 0;
}

bool UciDialogueChecker::IsLegal(const std::string& position, const std::string& move) {
    std::vector<std::string> legal = legalMoves_(position);
    return std::find(legal.begin(), legal.end(), move) != legal.end();
}

void UciDialogueChecker::Sent(const std::string& line, SteadyTime at) {
    std::vector<std::string> words = Words(line);
    if (words.empty()) return;
    const std::string& command = words[0];
    if (command == "uci") {
        // Every "uci" asks for the whole handshake again.
        uciSent_ = true;
        uciOk_ = false;
        optionNames_.clear();
    } else if (command == "isready") {
        ++readyPending_;
    } else if (command == "position") {
        position_ = Rest(line, 1);
    } else if (command == "go") {
        if (search_) Violation("the host started a search while one was outstanding", line);
        StartSearch(line, at);
    } else if (command == "ponderhit") {
        if (!search_ || !search_->ponder) return;
        search_->ponder = false;
        if (search_->ownTimeMs) search_->deadline = at + std::chrono::milliseconds(*search_->ownTimeMs);
    } else if (command == "quit") {
        quitSent_ = true;
    }
}

void UciDialogueChecker::StartSearch(const std::string& line, SteadyTime at) {
    std::vector<std::string> words = Words(line);
    Search search;
    search.position = position_;
    search.ponder = HasWord(words, "ponder");
    search.infinite = HasWord(words, "infinite");
    search.ownTimeMs = GoValue(words, SideToMove(position_) == 0 ? "wtime" : "btime");
    search.moveTimeMs = GoValue(words, "movetime");
    if (search.moveTimeMs) search.ownTimeMs = *search.moveTimeMs + kMoveTimeMargin.count();
    if (!search.ponder && !search.infinite && search.ownTimeMs)
        search.deadline = at + std::chrono::milliseconds(*search.ownTimeMs);
    search_ = search;
}

void UciDialogueChecker::Received(const std::string& line, SteadyTime at) {
    std::vector<std::string> words = Words(line);
    if (words.empty()) return;
    const std::string& first = words[0];
    if (first == "id") {
        if (!uciSent_ || uciOk_) Violation("id outside the uci handshake", line);
        if (words.size() < 3 || (words[1] != "name" && words[1] != "author")) Violation("malformed id", line);
    } else if (first == "option") {
        if (!uciSent_ || uciOk_) Violation("option outside the uci handshake", line);
        CheckOption(line);
    } else if (first == "uciok") {
        if (!uciSent_ || uciOk_) Violation("uciok nobody asked for", line);
        uciOk_ = true;
    } else if (first == "readyok") {
        if (readyPending_ == 0)
            Violation("readyok nobody asked for", line);
        else
            --readyPending_;
    } else if (first == "info") {
        if (!search_) return Violation("info while no search is outstanding", line);
        CheckInfo(line);
    } else if (first == "bestmove") {
        if (!search_) return Violation("bestmove while no search is outstanding", line);
        CheckBestMove(line, at);
    } else {
        Violation("unknown line", line);
    }
}

void UciDialogueChecker::Finish() {
    if (quitSent_) return;
    if (search_) Violation("search without bestmove", "go");
    if (readyPending_ > 0) Violation("isready without readyok", "isready");
}

// Options as the strictest host reads them: a name, a known type, and the fields that type needs
// with values that fit.
void UciDialogueChecker::CheckOption(const std::string& line) {
    std::vector<std::string> words = Words(line);
    if (words.size() < 2 || words[1] != "name") return Violation("option without name", line);
    auto typeAt = std::find(words.begin() + 2, words.end(), "type");
    if (typeAt == words.begin() + 2 || typeAt == words.end() || typeAt + 1 == words.end())
        return Violation("option without name or type", line);
    std::string name;
    for (auto it = words.begin() + 2; it != typeAt; ++it) name += (name.empty() ? "" : " ") + *it;
    if (!optionNames_.insert(Lower(name)).second) Violation("option name given twice", line);
    std::string type = *(typeAt + 1);
    std::map<std::string, std::vector<std::string>> fields;
    std::vector<std::string> vars;
    std::string key;
    for (auto it = typeAt + 2; it != words.end(); ++it) {
        if (*it == "default" || *it == "min" || *it == "max" || *it == "var") {
            key = *it;
            if (key == "var")
                vars.emplace_back();
            else if (fields.count(key))
                return Violation("option field given twice", line);
            else
                fields[key];
            continue;
        }
        if (key.empty()) return Violation("option word outside any field", line);
        if (key == "var")
            vars.back() += (vars.back().empty() ? "" : " ") + *it;
        else
            fields[key].push_back(*it);
    }
    auto joined = [&](const std::string& field) {
        std::string text;
        for (const auto& word : fields[field]) text += (text.empty() ? "" : " ") + word;
        return text;
    };
    bool hasDefault = fields.count("default") > 0;
    bool hasRange = fields.count("min") > 0 || fields.count("max") > 0;
    if (type == "check") {
        if (!hasDefault || (joined("default") != "true" && joined("default") != "false"))
            Violation("check option without default true or false", line);
        if (hasRange || !vars.empty()) Violation("check option with range or vars", line);
    } else if (type == "spin") {
        auto value = Integer(joined("default")), low = Integer(joined("min")), high = Integer(joined("max"));
        if (!value || !low || !high)
            Violation("spin option without integer default, min and max", line);
        else if (*low > *high || *value < *low || *value > *high)
            Violation("spin option default out of range", line);
        if (!vars.empty()) Violation("spin option with vars", line);
    } else if (type == "combo") {
        if (!hasDefault || vars.empty())
            Violation("combo option without default or vars", line);
        else if (std::find(vars.begin(), vars.end(), joined("default")) == vars.end())
            Violation("combo option default is none of its vars", line);
        if (hasRange) Violation("combo option with range", line);
    } else if (type == "button") {
        if (hasDefault || hasRange || !vars.empty()) Violation("button option with fields", line);
    } else if (type == "string") {
        if (!hasDefault) Violation("string option without default", line);
        if (hasRange || !vars.empty()) Violation("string option with range or vars", line);
    } else {
        Violation("option of unknown type", line);
    }
}

void UciDialogueChecker::CheckInfo(const std::string& line) {
    static const std::set<std::string> kNumbers = {"depth",   "seldepth",       "time",     "nodes",
                                                   "multipv", "currmovenumber", "hashfull", "nps",
                                                   "tbhits",  "sbhits",         "cpuload"};
    std::vector<std::string> words = Words(line);
    if (words.size() < 2) return Violation("empty info", line);
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string& key = words[i];
        if (key == "string" || key == "refutation" || key == "currline") return;
        if (kNumbers.count(key)) {
            auto value = i + 1 < words.size() ? Integer(words[i + 1]) : std::nullopt;
            if (!value || *value < 0) return Violation("info " + key + " without a number", line);
            ++i;
        } else if (key == "score") {
            if (i + 2 >= words.size() || (words[i + 1] != "cp" && words[i + 1] != "mate") ||
                !Integer(words[i + 2]))
                return Violation("malformed score", line);
            i += 2;
            if (i + 1 < words.size() && (words[i + 1] == "lowerbound" || words[i + 1] == "upperbound")) ++i;
        } else if (key == "currmove") {
            if (i + 1 >= words.size() || !IsLegal(search_->position, words[i + 1]))
                return Violation("currmove not legal in the searched position", line);
            ++i;
        } else if (key == "pv") {
            if (i + 1 >= words.size()) return Violation("empty pv", line);
            search_->lastPvFirstMove = words[i + 1];
            std::string position = search_->position;
            for (size_t j = i + 1; j < words.size(); ++j) {
                if (!LooksLikeMove(words[j]) || !IsLegal(position, words[j]))
                    return Violation("pv move " + words[j] + " not legal", line);
                position = WithMove(position, words[j]);
            }
            return;
        } else {
            return Violation("unknown info field " + key, line);
        }
    }
}

void UciDialogueChecker::CheckBestMove(const std::string& line, SteadyTime at) {
    const Search& search = *search_;
    if (search.deadline && at > *search.deadline) {
        auto late = std::chrono::duration_cast<std::chrono::milliseconds>(at - *search.deadline).count();
        Violation("bestmove " + std::to_string(late) + " ms after the clock ran out", line);
    }
    std::vector<std::string> words = Words(line);
    if (words.size() != 2 && !(words.size() == 4 && words[2] == "ponder")) {
        Violation("malformed bestmove", line);
    } else if (words[1] == "0000" || words[1] == "(none)") {
        if (!legalMoves_(search.position).empty()) Violation("null bestmove with legal moves", line);
    } else if (!IsLegal(search.position, words[1])) {
        Violation("bestmove not legal", line);
    } else if (words.size() == 4 && !IsLegal(WithMove(search.position, words[1]), words[3])) {
        Violation("ponder move not legal after the bestmove", line);
    } else if (!search.ponder && search.lastPvFirstMove && *search.lastPvFirstMove != words[1]) {
        // A ponder search the host stopped is over without a move of the game.
        Violation("bestmove does not begin the last pv", line);
    }
    search_.reset();
}

}  // namespace testing_support
