#include "tests/support/UciHost.h"

#include <regex>
#include <sstream>

namespace testing_support {

namespace {

const std::regex kInfoLine(
    R"(info( (depth|seldepth|time|nodes|multipv|currmovenumber|hashfull|nps|tbhits|cpuload) -?\d+| score (cp|mate) -?\d+( lowerbound| upperbound)?| currmove [a-h][1-8][a-h][1-8][qrbn]?)*( pv( [a-h][1-8][a-h][1-8][qrbn]?)+)?( string .*)?)");
const std::regex kBestMove(R"(bestmove ([a-h][1-8][a-h][1-8][qrbn]?|0000)( ponder [a-h][1-8][a-h][1-8][qrbn]?)?)");
const std::regex kOption(R"(option name .+ type (check|spin|combo|button|string)( .*)?)");

}  // namespace

bool IsValidUciLine(const std::string& line) {
    if (line == "uciok" || line == "readyok") return true;
    if (line.rfind("id name ", 0) == 0 || line.rfind("id author ", 0) == 0) return true;
    if (line.rfind("info string ", 0) == 0) return true;
    return std::regex_match(line, kInfoLine) || std::regex_match(line, kBestMove) || std::regex_match(line, kOption);
}

UciHost::UciHost(const std::vector<std::string>& argv, const std::string& directory,
                 const std::vector<std::string>& environment)
    : process_(argv, directory, environment) {}

std::optional<std::string> UciHost::ReadChecked(std::chrono::milliseconds timeout) {
    auto line = process_.ReadLine(timeout);
    if (!line) return line;
    if (!IsValidUciLine(*line)) invalid_.push_back(*line);
    if (line->rfind("info", 0) == 0) infos_.push_back(*line);
    return line;
}

bool UciHost::Handshake(std::chrono::milliseconds timeout) {
    Send("uci");
    while (auto line = ReadChecked(timeout))
        if (*line == "uciok") break;
    Send("isready");
    while (auto line = ReadChecked(timeout))
        if (*line == "readyok") return true;
    return false;
}

std::optional<std::string> UciHost::WaitBestMove(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        auto line = ReadChecked(left);
        if (!line) return std::nullopt;
        if (line->rfind("bestmove ", 0) == 0) return line;
    }
}

LegalityOracle::LegalityOracle() : stockfish_({"/usr/games/stockfish"}, "/tmp") {}

std::vector<std::string> LegalityOracle::LegalMoves(const std::string& positionArguments) {
    stockfish_.Send("position " + positionArguments);
    stockfish_.Send("go perft 1");
    std::vector<std::string> moves;
    while (auto line = stockfish_.ReadLine(std::chrono::seconds(20))) {
        if (line->rfind("Nodes searched", 0) == 0) break;
        size_t colon = line->find(": ");
        if (colon != std::string::npos && colon >= 4 && colon <= 5) moves.push_back(line->substr(0, colon));
    }
    return moves;
}

}  // namespace testing_support
