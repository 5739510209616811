#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

using SteadyTime = std::chrono::steady_clock::time_point;

// The legal moves (coordinate notation) of a position given as UCI "position" arguments.
using LegalMovesFunction = std::function<std::vector<std::string>(const std::string& positionArguments)>;

// "startpos moves e2e4" + "e7e5" = "startpos moves e2e4 e7e5".
std::string WithMove(const std::string& positionArguments, const std::string& move);

// Follows one UCI dialogue from the host's side, as the strictest hosts do, and records every line
// of the engine's they would refuse: a line out of place (info or bestmove with no search
// outstanding, readyok nobody asked for, options after uciok), a malformed line or option, a
// bestmove, ponder move, currmove or pv that is not legal in the searched position (for
// "go ponder": the position sent, with the ponder move), a search without exactly one bestmove,
// and a bestmove later than the engine's clock allows.
class UciDialogueChecker {
public:
    explicit UciDialogueChecker(LegalMovesFunction legalMoves);

    void Sent(const std::string& line, SteadyTime at = std::chrono::steady_clock::now());
    void Received(const std::string& line, SteadyTime at = std::chrono::steady_clock::now());
    // The dialogue is over: a search or isready still unanswered (without "quit") is a fault.
    void Finish();

    const std::vector<std::string>& Violations() const { return violations_; }
    bool SearchOutstanding() const { return search_.has_value(); }
    // The engine listed the option, by a name in any case.
    bool Offered(const std::string& optionName) const;
    // A movetime search may overrun by this much before a host forfeits it.
    static constexpr std::chrono::milliseconds kMoveTimeMargin{1000};

private:
    struct Search {
        std::string position;
        bool ponder = false;
        bool infinite = false;
        std::optional<long long> ownTimeMs;
        std::optional<long long> moveTimeMs;
        std::optional<SteadyTime> deadline;
        std::optional<std::string> lastPvFirstMove;  // hosts read the last pv as the search's last word
    };

    void Violation(const std::string& what, const std::string& line);
    void StartSearch(const std::string& line, SteadyTime at);
    void CheckOption(const std::string& line);
    void CheckInfo(const std::string& line);
    void CheckBestMove(const std::string& line, SteadyTime at);
    bool IsLegal(const std::string& position, const std::string& move);

    LegalMovesFunction legalMoves_;
    std::vector<std::string> violations_;
    std::string position_ = "startpos";
    std::optional<Search> search_;
    std::set<std::string> optionNames_;
    bool uciSent_ = false;
    bool uciOk_ = false;
    bool quitSent_ = false;
    int readyPending_ = 0;
};

// Side to move (0 White, 1 Black) of UCI "position" arguments.
int SideToMove(const std::string& positionArguments);

}  // namespace testing_support
