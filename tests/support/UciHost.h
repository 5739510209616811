#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciChecker.h"

namespace testing_support {

// The legal moves of a position (UCI "position" arguments) as stockfish lists them; stockfish
// starts at the first question, and every answer is kept.
class LegalityOracle {
public:
    std::vector<std::string> LegalMoves(const std::string& positionArguments);
    // Chess960 rules (castling as the king taking its rook) for the questions that follow.
    void SetChess960(bool chess960) { chess960_ = chess960; }

private:
    std::unique_ptr<Process> stockfish_;
    bool chess960_ = false;
    bool stockfishChess960_ = false;
    std::unordered_map<std::string, std::vector<std::string>> answers_;
};

// Plays the GUI's part against a UCI engine process; every line in both directions goes through
// a strict host's checks (UciDialogueChecker).
class UciHost {
public:
    UciHost(const std::vector<std::string>& argv, const std::string& directory,
            const std::vector<std::string>& environment = {});

    void Send(const std::string& line);
    // The next line of the engine's, checked; nullopt on timeout or end of output.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Reads until the line given arrives.
    bool WaitFor(const std::string& line, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Sends "uci" and "isready" and waits for their answers.
    bool Handshake(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Reads until a "bestmove" line; nullopt on timeout or end of output.
    std::optional<std::string> WaitBestMove(std::chrono::milliseconds timeout);
    // Sends "quit", checks everything the engine still writes, and returns its exit code.
    std::optional<int> Quit(std::chrono::milliseconds timeout = std::chrono::seconds(15));

    // What a strict host would have refused so far.
    const std::vector<std::string>& Violations() const { return checker_.Violations(); }
    const std::vector<std::string>& Infos() const { return infos_; }
    bool Offered(const std::string& optionName) const { return checker_.Offered(optionName); }
    bool SearchOutstanding() const { return checker_.SearchOutstanding(); }
    LegalityOracle& Oracle() { return oracle_; }
    Process& Raw() { return process_; }

private:
    // Reads until a line is wanted; that line, or nullopt on timeout or end of output.
    std::optional<std::string> ReadUntil(const std::function<bool(const std::string&)>& wanted,
                                         std::chrono::milliseconds timeout);

    Process process_;
    LegalityOracle oracle_;
    UciDialogueChecker checker_;
    std::vector<std::string> infos_;
};

// All violations of a host, one a line, for a failure message.
std::string Describe(const std::vector<std::string>& violations);

}  // namespace testing_support
