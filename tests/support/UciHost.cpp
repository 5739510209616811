#include "tests/support/UciHost.h"

namespace testing_support {

std::vector<std::string> LegalityOracle::LegalMoves(const std::string& positionArguments) {
    std::string key = (chess960_ ? "960 " : "") + positionArguments;
    if (auto known = answers_.find(key); known != answers_.end()) return known->second;
    if (!stockfish_)
        stockfish_ = std::make_unique<Process>(std::vector<std::string>{"/usr/games/stockfish"}, "/tmp");
    if (chess960_ != stockfishChess960_) {
        stockfish_->Send(std::string("setoption name UCI_Chess960 value ") + (chess960_ ? "true" : "false"));
        stockfishChess960_ = chess960_;
    }
    stockfish_->Send("position " + positionArguments);
    stockfish_->Send("go perft 1");
    std::vector<std::string> moves;
    while (auto line = stockfish_->ReadLine(std::chrono::seconds(20))) {
        if (line->rfind("Nodes searched", 0) == 0) break;
        size_t colon = line->find(": ");
        if (colon != std::string::npos && colon >= 4 && colon <= 5) moves.push_back(line->substr(0, colon));
    }
    answers_[key] = moves;
    return moves;
}

UciHost::UciHost(const std::vector<std::string>& argv, const std::string& directory,
                 const std::vector<std::string>& environment)
    : process_(argv, directory, environment),
      checker_([this](const std::string& position) { return oracle_.LegalMoves(position); }) {}

void UciHost::Send(const std::string& line) {
    const std::string chess960 = "setoption name UCI_Chess960 value ";
    if (line.rfind(chess960, 0) == 0) oracle_.SetChess960(line.substr(chess960.size()) == "true");
    checker_.Sent(line);
    process_.Send(line);
}

std::optional<std::string> UciHost::ReadLine(std::chrono::milliseconds timeout) {
    auto line = process_.ReadLine(timeout);
    if (!line) return line;
    checker_.Received(*line);
    if (line->rfind("info", 0) == 0) infos_.push_back(*line);
    return line;
}

std::optional<std::string> UciHost::ReadUntil(const std::function<bool(const std::string&)>& wanted,
                                              std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        auto line = ReadLine(left);
        if (!line || wanted(*line)) return line;
    }
}

bool UciHost::WaitFor(const std::string& wanted, std::chrono::milliseconds timeout) {
    return ReadUntil([&](const std::string& line) { return line == wanted; }, timeout).has_value();
}

bool UciHost::Handshake(std::chrono::milliseconds timeout) {
    Send("uci");
    if (!WaitFor("uciok", timeout)) return false;
    Send("isready");
    return WaitFor("readyok", timeout);
}

std::optional<std::string> UciHost::WaitBestMove(std::chrono::milliseconds timeout) {
    return ReadUntil([](const std::string& line) { return line.rfind("bestmove ", 0) == 0; }, timeout);
}

std::optional<int> UciHost::Quit(std::chrono::milliseconds timeout) {
    Send("quit");
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline &&
           ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now())))
        ;
    checker_.Finish();
    return process_.WaitExit(std::chrono::duration_cast<std::chrono::milliseconds>(
        std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration(0))));
}

std::string Describe(const std::vector<std::string>& violations) {
    std::string text;
    for (const auto& violation : violations) text += violation + "\n";
    return text;
}

}  // namespace testing_support
