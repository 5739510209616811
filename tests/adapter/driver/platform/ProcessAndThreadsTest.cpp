#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

#include "ChildProcess.h"
#include "PeriodicThread.h"
#include "PipeReaderThread.h"
#include "SpinThreadPool.h"
#include "tests/support/ProcessHarness.h"

namespace pontax {
namespace {

using namespace std::chrono_literals;
using testing_support::TempDir;

// Collects the lines a reader delivers.
struct LineCollector {
    std::mutex mutex;
    std::vector<std::string> lines;
    std::atomic<bool> ended{false};

    void Attach(PipeReaderThread& reader, int stopAfter = -1) {
        reader.SetCallback([this, stopAfter](std::string_view line) {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
            return stopAfter < 0 || static_cast<int>(lines.size()) < stopAfter;
        });
        reader.SetOnEnd([this] { ended = true; });
    }
    bool WaitForLines(size_t count) {
        for (int i = 0; i < 400; ++i) {
            {
                std::lock_guard lock(mutex);
                if (lines.size() >= count) return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
    bool WaitEnded() {
        for (int i = 0; i < 400 && !ended; ++i) std::this_thread::sleep_for(10ms);
        return ended;
    }
};

TEST(ChildProcessTest, RunsAProgramOverPipesInItsOwnDirectory) {
    TempDir dir;
    dir.Write("engine", "#!/bin/sh\nread line\necho \"got $line in $(pwd)\"\n");
    ASSERT_EQ(::chmod(dir.File("engine").c_str(), 0755), 0);
    ChildProcess child;
    ASSERT_NE(child.Start(dir.File("engine") + " some argument"), 0);
    EXPECT_TRUE(child.Exists());
    PipeReaderThread reader;
    LineCollector collector;
    collector.Attach(reader);
    ASSERT_TRUE(reader.Start(child.TakeOutput(), true));
    EXPECT_TRUE(child.WriteToInput("hello\r\n"));
    ASSERT_TRUE(collector.WaitEnded());
    child.Stop(true);
    EXPECT_FALSE(child.Exists());
    ASSERT_EQ(collector.lines.size(), 1u);
    EXPECT_EQ(collector.lines[0], "got hello in " + dir.Path());
}

TEST(ChildProcessTest, AMissingProgramFailsToStart) {
    ChildProcess child;
    EXPECT_EQ(child.Start("/nonexistent/engine -x"), 0);
    EXPECT_EQ(child.Start("no-such-engine-on-path"), 0);
    EXPECT_EQ(child.Start(""), 0);
    EXPECT_FALSE(child.Exists());
    EXPECT_FALSE(child.WriteToInput("quit\n"));
}

TEST(ChildProcessTest, StopWithWaitKillsAProgramThatDoesNotEnd) {
    ChildProcess child;
    pid_t pid = child.Start("/bin/sleep 60");
    ASSERT_NE(pid, 0);
    child.Stop(true, 200ms);
    EXPECT_FALSE(testing_support::ProcessExists(pid));
}

TEST(ChildProcessTest, DetachedChildrenAreKilledAndReapedAfterTheGrace) {
    ChildProcess child;
    pid_t pid = child.Start("/bin/sleep 60");
    ASSERT_NE(pid, 0);
    child.Stop(false);
    EXPECT_TRUE(testing_support::ProcessExists(pid));
    ReapDetachedChildren(50ms);
    EXPECT_FALSE(testing_support::ProcessExists(pid));
}

TEST(PipeReaderThreadTest, DeliversLinesWithoutCarriageReturnsAcrossReadsAndDropsAnUnterminatedTail) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    PipeReaderThread reader;
    LineCollector collector;
    collector.Attach(reader);
    ASSERT_TRUE(reader.Start(fds[0], true));
    // The last line of the first write ends in the second, which the reader most likely reads
    // on its own.
    std::string bytes = "one\r\ntwo\n\nmid\rdle\nspl";
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ASSERT_TRUE(collector.WaitForLines(4));
    bytes = "it\nthree";
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(fds[1]);
    ASSERT_TRUE(collector.WaitEnded());
    EXPECT_TRUE(reader.Stop());
    EXPECT_EQ(collector.lines, (std::vector<std::string>{"one", "two", "", "middle", "split"}));
}

TEST(PipeReaderThreadTest, AFalseAnswerEndsTheThreadAndStopEndsAnIdleOne) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    PipeReaderThread reader;
    LineCollector collector;
    collector.Attach(reader, 1);
    ASSERT_TRUE(reader.Start(fds[0], true));
    ASSERT_EQ(::write(fds[1], "a\nb\n", 4), 4);
    ASSERT_TRUE(collector.WaitEnded());
    EXPECT_EQ(collector.lines, (std::vector<std::string>{"a"}));
    ::close(fds[1]);

    int idle[2];
    ASSERT_EQ(::pipe(idle), 0);
    PipeReaderThread idleReader;
    ASSERT_TRUE(idleReader.Start(idle[0], true));
    EXPECT_TRUE(idleReader.Stop());
    EXPECT_TRUE(idleReader.HasEnded());
    ::close(idle[1]);
}

// A host's "position" line outgrows any read; a descriptor someone made non-blocking is waited on.
TEST(PipeReaderThreadTest, ReadsALongLineFromANonBlockingPipeAndStopsWhileWaiting) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::fcntl(fds[0], F_SETFL, ::fcntl(fds[0], F_GETFL) | O_NONBLOCK), 0);
    PipeReaderThread reader;
    LineCollector collector;
    collector.Attach(reader);
    ASSERT_TRUE(reader.Start(fds[0], true));
    std::string moves = "position startpos moves";
    for (int i = 0; i < 3000; ++i) moves += i % 2 ? " g8f6" : " g1f3";
    std::string bytes = moves + "\n";
    for (size_t at = 0; at < bytes.size();) {
        ssize_t n = ::write(fds[1], bytes.data() + at, bytes.size() - at);
        ASSERT_GT(n, 0);
        at += static_cast<size_t>(n);
    }
    ASSERT_TRUE(collector.WaitForLines(1));
    EXPECT_TRUE(reader.Stop());
    EXPECT_EQ(collector.lines, std::vector<std::string>{moves});
    ::close(fds[1]);
}

TEST(SpinThreadPoolTest, LoweringTheCountRestartsAllThreads) {
    SpinThreadPool pool;
    pool.SetCount(4);
    EXPECT_EQ(pool.Count(), 4);
    pool.SetCount(2);
    EXPECT_EQ(pool.Count(), 2);
    pool.SetCount(0);
    EXPECT_EQ(pool.Count(), 0);
}

TEST(PeriodicThreadTest, CallsBackUntilStopped) {
    PeriodicThread ticker;
    std::atomic<int> calls{0};
    ticker.SetCallback([&] { ++calls; });
    ASSERT_TRUE(ticker.Start(5ms));
    for (int i = 0; i < 400 && calls < 3; ++i) std::this_thread::sleep_for(5ms);
    ticker.Stop();
    int after = calls;
    EXPECT_GE(after, 3);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(calls, after);
}

}  // namespace
}  // namespace pontax
