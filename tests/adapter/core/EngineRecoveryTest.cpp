// Engine restarts inside one process, with engines that run on threads of it and no main thread:
// whatever the order in which the main thread and the GUI's next command come to an engine that
// stopped, that command finds an engine that runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "Adapter.h"
#include "ChildProcess.h"
#include "CommandLoop.h"
#include "FileOnlyKeys.h"
#include "LineWriters.h"
#include "SettingHandler.h"
#include "Settings.h"
#include "StandardStreams.h"
#include "Startup.h"
#include "StringUtil.h"
#include "ThreadEngineLink.h"

namespace {

using namespace std::chrono_literals;

// The GUI's side: every line the adapter sends, and a wait for the next bestmove.
class GuiLines {
public:
    explicit GuiLines(pontax::GuiOutput& gui) : gui_(gui) {
        gui_.SetSink([this](std::string_view bytes) {
            // One write may hold several lines: a search's opening line goes out with its move.
            std::lock_guard lock(mutex_);
            for (const auto& line : pontax::SplitWords(bytes, "\n")) lines_.push_back(line);
            changed_.notify_all();
        });
    }
    ~GuiLines() { gui_.SetSink(nullptr); }
    // The bestmove line that follows the lines seen so far; empty when none comes in time.
    std::string NextBestMove(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        std::string found;
        changed_.wait_for(lock, limit, [&] {
            for (; seen_ < lines_.size(); ++seen_)
                if (lines_[seen_].rfind("bestmove", 0) == 0) {
                    found = lines_[seen_++];
                    return true;
                }
            return false;
        });
        return found;
    }

private:
    pontax::GuiOutput& gui_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    size_t seen_ = 0;
};

// An engine whose first instance dies at its first "go"; later ones answer every "go" with
// the move given.
class DyingOnceEngine {
public:
    explicit DyingOnceEngine(std::string reply) : reply_(std::move(reply)) {}
    void Run(int input, int output) {
        bool dies = starts_++ == 0;
        std::string line;
        char c;
        while (::read(input, &c, 1) == 1) {
            if (c != '\n') {
                line += c;
                continue;
            }
            if (line == "protover 2") Write(output, "feature done=1\n");
            if (line == "go") {
                if (dies) return;
                Write(output, "move " + reply_ + "\n");
            }
            if (line == "quit") return;
            line.clear();
        }
    }
    int Starts() const { return starts_; }

private:
    static void Write(int output, const std::string& text) {
        ssize_t ignored = ::write(output, text.data(), text.size());
        (void)ignored;
    }
    std::string reply_;
    std::atomic<int> starts_{0};
};

TEST(EngineRecoveryTest, ASearchThatComesBeforeTheMainThreadRestartsTheEngineStartsItItself) {
    pontax::PrepareStandardStreams();
    DyingOnceEngine engine("b8c6");
    testing_support::ThreadEngineLink link([&](int input, int output) { engine.Run(input, output); });
    pontax::Adapter adapter;
    pontax::EngineDialogue& d = adapter.dialogue;
    d.UseEngineLink(link);
    GuiLines gui(d.gui);
    pontax::InstallReaders(d);
    d.settings.Program.Set("in-process engine");
    pontax::ApplyFileOnlyKey(d.settings, "RestartEngine", "1");
    pontax::HandleSetOption(adapter.config, d, "setoption name InitTime value 0");
    pontax::HandleGuiLine(d, "uci");
    pontax::HandleGuiLine(d, "isready");
    pontax::HandleGuiLine(d, "position startpos moves e2e4");
    pontax::HandleGuiLine(d, "go wtime 5000 btime 5000");
    // Answered for the engine that died.
    EXPECT_EQ(gui.NextBestMove(5s), "bestmove a7a6");
    // Nobody else restarts the engine here: the next search must.
    pontax::HandleGuiLine(d, "position startpos moves e2e4 a7a6 g1f3");
    pontax::HandleGuiLine(d, "go wtime 5000 btime 5000");
    EXPECT_EQ(gui.NextBestMove(5s), "bestmove b8c6");
    EXPECT_EQ(engine.Starts(), 2);
    pontax::HandleGuiLine(d, "quit");
    d.engineReader.Stop();
}

}  // namespace
