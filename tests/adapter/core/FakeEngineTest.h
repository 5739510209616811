#pragma once

// The real pontax binary against the scripted fake engine, with a strict host on the GUI's side:
// what the engine receives and what the GUI receives.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ProcessHarness.h"
#include "tests/support/UciHost.h"

namespace testing_support {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

#ifdef PONTAX_UNDER_WINE
// Pontax.exe runs under wine (PONTAX_UNDER_WINE names it), which sees this machine's files on drive Z:.
inline std::string PathForPontax(const std::string& path) {
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}
// wine's own stderr goes nowhere: the helper processes it may start on the way (its device and
// service programs) would otherwise keep the test's output open, and the test with it.
inline std::vector<std::string> PontaxCommand(const std::vector<std::string>& arguments = {}) {
    std::vector<std::string> command{"/bin/sh", "-c", "exec \"$0\" \"$@\" 2>/dev/null", PONTAX_UNDER_WINE,
                                     PONTAX_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}
#else
inline std::string PathForPontax(const std::string& path) { return path; }
inline std::vector<std::string> PontaxCommand(const std::vector<std::string>& arguments = {}) {
    std::vector<std::string> command{PONTAX_PATH};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return command;
}
#endif

class FakeEngineTest : public ::testing::Test {
protected:
    // Starts pontax with the given features (answered to "protover 2"), settings and script.
    void Start(const std::string& features, const std::string& options, const std::string& script) {
        Launch(features, options, script);
        ASSERT_TRUE(host_->Handshake());
        // "readyok" follows the start sequence out of pontax; the engine may still be reading it.
        for (int i = 0; i < 500; ++i) {
            Lines lines = EngineLines();
            if (std::find(lines.begin(), lines.end(), "hard") != lines.end()) break;
            std::this_thread::sleep_for(10ms);
        }
        std::this_thread::sleep_for(20ms);
        mark_ = EngineLines().size();
    }
    // Only starts pontax, which then waits for the host's "uci".
    void Launch(const std::string& features, const std::string& options, const std::string& script) {
        dir_.Write("Pontax.eng", "[OPTIONS]\nProgram=" + PathForPontax(FAKE_ENGINE_PATH) +
                                     "\nInitTime=0\nLogfile=true\n" + options);
        WriteScript(features, script);
        host_ = std::make_unique<UciHost>(PontaxCommand(), dir_.Path(), EngineEnvironment());
    }
    void WriteScript(const std::string& features, const std::string& script) {
        dir_.Write("script", "on protover 2 => feature " + features + " done=1\n" + script);
    }
    // Where the fake engine finds its script and keeps its record of what it got.
    std::vector<std::string> EngineEnvironment() {
        return {"FAKE_ENGINE_SCRIPT=" + PathForPontax(dir_.File("script")),
                "FAKE_ENGINE_LOG=" + PathForPontax(dir_.File("engine.log"))};
    }
    void TearDown() override {
        if (!host_) return;
        if (HasFailure())
            for (const auto& line : ReadLines(dir_.File("Pontax.log"))) std::cout << "log: " << line << "\n";
        EXPECT_EQ(host_->Quit(10s), 0);
        Lines faults;
        for (const auto& violation : host_->Violations())
            if (hostFault_.empty() || violation.find(hostFault_) == std::string::npos)
                faults.push_back(violation);
        EXPECT_TRUE(faults.empty()) << testing_support::Describe(faults);
    }
    Lines EngineLines() { return ReadLines(dir_.File("engine.log")); }
    // What the engine received since the last call, once it has received at least `count` lines.
    Lines EngineGot(size_t count = 0) {
        Lines lines;
        for (int i = 0; i < 500; ++i) {
            lines = EngineLines();
            if (lines.size() >= mark_ + count) break;
            std::this_thread::sleep_for(10ms);
        }
        std::this_thread::sleep_for(50ms);  // anything unexpected that follows shows up too
        lines = EngineLines();
        Lines fresh(lines.begin() + static_cast<long>(std::min(mark_, lines.size())), lines.end());
        mark_ = lines.size();
        return fresh;
    }
    // Reads GUI lines up to and including the next "bestmove".
    Lines UntilBestMove(std::chrono::milliseconds timeout = 10s) {
        Lines lines;
        while (auto line = host_->ReadLine(timeout)) {
            lines.push_back(*line);
            if (line->rfind("bestmove", 0) == 0) break;
        }
        return lines;
    }
    // GUI lines that arrive within the time given.
    Lines GuiFor(std::chrono::milliseconds time) {
        Lines lines;
        auto end = std::chrono::steady_clock::now() + time;
        while (true) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            auto line = host_->ReadLine(left);
            if (!line) break;
            lines.push_back(*line);
        }
        return lines;
    }
    void Position(const std::string& arguments) { host_->Send("position " + arguments); }
    void Go(const std::string& arguments) { host_->Send("go" + arguments); }
    bool LogHas(const std::string& text) { return AnyLineHas(ReadLines(dir_.File("Pontax.log")), text); }

    TempDir dir_;
    std::unique_ptr<UciHost> host_;
    // A fault of the host's own that a test commits on purpose.
    std::string hostFault_;
    size_t mark_ = 0;
};

}  // namespace testing_support
