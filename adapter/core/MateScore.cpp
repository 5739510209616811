#include "MateScore.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "Settings.h"

namespace pontax {

namespace {

constexpr long long kProtocolMate = 100000;
// Farther mates than this are taken for ordinary scores that happen to lie near the band.
constexpr long long kLongestMate = 1000;

// The protocol writes mate in N moves as 100000 + N.
std::optional<long long> ProtocolMateMoves(long long magnitude) {
    long long moves = magnitude - kProtocolMate;
    if (moves < 1 || moves > kLongestMate) return std::nullopt;
    return moves;
}

// Engines with a band of their own write the mate value less the distance in plies; some count
// one ply more. Rounding up for the winner and down for the loser gives the moves either way.
std::optional<long long> BandMateMoves(long long magnitude, long long band, bool winning) {
    long long plies = band - magnitude;
    if (plies < 0 || plies >= std::min(2 * kLongestMate, band / 2)) return std::nullopt;
    long long moves = winning ? (plies + 1) / 2 : plies / 2;
    if (moves < 1) return std::nullopt;
    return moves;
}

}  // namespace

std::string UciScore(const AdapterSettings& settings, int score) {
    std::string centipawns = "cp " + std::to_string(score);
    if (!settings.MateScores || score == 0) return centipawns;
    long long magnitude = std::llabs(static_cast<long long>(score));
    int band = settings.MateBand;
    std::optional<long long> moves =
        band == 0 ? ProtocolMateMoves(magnitude) : BandMateMoves(magnitude, band, score > 0);
    if (!moves) return centipawns;
    return "mate " + std::to_string(score > 0 ? *moves : -*moves);
}

}  // namespace pontax
