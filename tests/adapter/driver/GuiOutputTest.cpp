// The host's side of the adapter: whole lines in order, and a search's opening line owed ahead.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "LineWriters.h"

namespace pontax {
namespace {

using namespace std::chrono_literals;

TEST(GuiOutputTest, AnOwedLineGoesOutFirstWithTheNextLine) {
    GuiOutput gui;
    std::string sent;
    gui.SetSink([&](std::string_view bytes) { sent += "[" + std::string(bytes) + "]"; });
    gui.Owe("info depth 1 score cp 1");
    EXPECT_EQ(sent, "");
    gui.Send("bestmove e2e4");
    gui.SendOwed();
    EXPECT_EQ(sent, "[info depth 1 score cp 1\nbestmove e2e4\n]");
    // A second owed line first sends the one still owed.
    gui.Owe("info string one");
    gui.Owe("info string two");
    gui.SendOwed();
    EXPECT_EQ(sent, "[info depth 1 score cp 1\nbestmove e2e4\n][info string one\n][info string two\n]");
}

// The host has the last search's move and starts the next search while the thread that wrote the
// move is still inside its write: owing the new search's line must not wait for that write.
TEST(GuiOutputTest, OwingALineNeverWaitsForAWriteUnderWay) {
    GuiOutput gui;
    std::mutex mutex;
    std::condition_variable changed;
    bool writing = false, release = false;
    std::string sent;
    gui.SetSink([&](std::string_view bytes) {
        std::unique_lock lock(mutex);
        sent.append(bytes);
        writing = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    });
    std::thread writer([&] { gui.Send("bestmove e2e4"); });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return writing; });
    }
    auto owing = std::async(std::launch::async, [&] { gui.Owe("info depth 1 score cp 1"); });
    bool owedDuringTheWrite = owing.wait_for(10s) == std::future_status::ready;
    {
        std::lock_guard lock(mutex);
        release = true;
        changed.notify_all();
    }
    writer.join();
    owing.wait();
    EXPECT_TRUE(owedDuringTheWrite);
    gui.Send("bestmove d2d4");
    EXPECT_EQ(sent, "bestmove e2e4\ninfo depth 1 score cp 1\nbestmove d2d4\n");
}

}  // namespace
}  // namespace pontax
