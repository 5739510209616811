#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Positions.h"

namespace {

using pontax::PositionReader;
using pontax::PositionRecord;
using pontax::ReadPosition;

void ExpectSameRecord(const PositionRecord& expected, const PositionRecord& actual, const std::string& line) {
    SCOPED_TRACE(line.substr(0, 80));
    ASSERT_EQ(expected.Count(), actual.Count());
    EXPECT_TRUE(expected.Start().SamePosition(actual.Start()));
    EXPECT_TRUE(expected.Replay().SamePosition(actual.Replay()));
    for (int i = 0; i < expected.Count(); ++i) EXPECT_TRUE(expected.Move(i).SameMove(actual.Move(i))) << i;
}

// A reader that has seen the earlier commands of a game gives what a fresh read of each gives,
// also in a record it brings up to date line by line; the moves it says it kept are the first
// moves of the record before.
void ExpectReaderFollowsFreshReads(const std::vector<std::string>& lines) {
    PositionReader reader, updating;
    PositionRecord updated, before;
    for (const auto& line : lines) {
        PositionRecord fresh = ReadPosition(line);
        ExpectSameRecord(fresh, reader.Read(line), line);
        updating.Parse(line, false);
        updating.UpdateRecord(updated);
        ExpectSameRecord(fresh, updated, line);
        ASSERT_LE(updating.MovesKept(), std::min(before.Count(), updated.Count()));
        for (int i = 0; i < updating.MovesKept(); ++i) EXPECT_TRUE(before.Move(i).SameMove(updated.Move(i)));
        before = updated;
    }
}

TEST(PositionReaderTest, AGameGrowingMoveByMoveReadsAsWholeCommandsDo) {
    const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    std::string line = "position startpos moves";
    PositionReader reader, updating;
    PositionRecord updated;
    // Past the record's length, where the start moves on by whole steps; a whole read is the
    // slow way, so it is compared now and then and around those steps.
    for (int ply = 1; ply <= 1600; ++ply) {
        line += std::string(" ") + shuffle[(ply - 1) % 4];
        PositionRecord record = reader.Read(line);
        updating.Parse(line, false);
        updating.UpdateRecord(updated);
        // Every move is kept but where the record's start moves on.
        bool newStart = ply == 1025 || ply == 1537;
        EXPECT_EQ(updating.MovesKept(), ply == 1 || newStart ? 0 : updated.Count() - 1) << ply;
        if (ply % 101 == 0 || (ply >= 1024 && ply <= 1027) || (ply >= 1536 && ply <= 1538)) {
            ExpectSameRecord(ReadPosition(line), record, line);
            ExpectSameRecord(record, updated, line);
        }
    }
    // Two steps of 512 moves went into the start.
    EXPECT_EQ(ReadPosition(line).Count(), 1600 - 2 * 512);
}

TEST(PositionReaderTest, CommandsThatDoNotExtendTheLastOneAreReadWhole) {
    ExpectReaderFollowsFreshReads({
        "position startpos moves e2e4 e7e5",
        "position startpos moves e2e4 e7e5 g1f3",
        // A new game, then one from a set-up position.
        "position startpos moves d2d4",
        "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4",
        "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4 e8d7",
        // Longer, but not by whole words.
        "position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4 e8d7e1",
        // Without moves, then with them.
        "position startpos",
        "position startpos moves e2e4",
    });
}

TEST(PositionReaderTest, IllegalAndUnreadableMovesAreTreatedAsInAWholeRead) {
    ExpectReaderFollowsFreshReads({
        "position startpos moves e2e4",
        "position startpos moves e2e4 e1e2",
        "position startpos moves e2e4 e1e2 junk g1f3",
        "position startpos moves e2e4 e1e2 junk g1f3 b8c6 e8e8",
    });
}

// Moves a record does not hold are copied whatever it is told to keep.
TEST(PositionRecordTest, KeepingMoreMovesThanTheRecordHoldsCopiesThemAll) {
    PositionRecord fresh = ReadPosition("position startpos moves e2e4 e7e5 g1f3");
    std::vector<pontax::MoveRecord> moves;
    for (int i = 0; i < fresh.Count(); ++i) moves.push_back(fresh.Move(i));
    PositionRecord record;
    record.Assign(fresh.Start(), moves, fresh.Replay(), 2);
    ExpectSameRecord(fresh, record, "kept 2 of none");
    record.Assign(fresh.Start(), moves, fresh.Replay(), 5);
    ExpectSameRecord(fresh, record, "kept 5 of 3");
}

}  // namespace
