#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ProcessHarness.h"

namespace testing_support {

// Plays the GUI's part against a UCI engine process, checking every line the engine sends.
class UciHost {
public:
    UciHost(const std::vector<std::string>& argv, const std::string& directory,
            const std::vector<std::string>& environment = {});

    void Send(const std::string& line) { process_.Send(line); }
    // Sends "uci" and "isready" and waits for their answers.
    bool Handshake(std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Reads until a "bestmove" line; nullopt on timeout or end of output.
    std::optional<std::string> WaitBestMove(std::chrono::milliseconds timeout);
    // Lines the engine sent that a strict UCI host would refuse.
    const std::vector<std::string>& InvalidLines() const { return invalid_; }
    const std::vector<std::string>& Infos() const { return infos_; }
    Process& Raw() { return process_; }

private:
    std::optional<std::string> ReadChecked(std::chrono::milliseconds timeout);

    Process process_;
    std::vector<std::string> invalid_;
    std::vector<std::string> infos_;
};

// True for a line a strict UCI host accepts from an engine.
bool IsValidUciLine(const std::string& line);

// The legal moves of a position (UCI "position" arguments) as stockfish lists them.
class LegalityOracle {
public:
    LegalityOracle();
    std::vector<std::string> LegalMoves(const std::string& positionArguments);

private:
    Process stockfish_;
};

}  // namespace testing_support
