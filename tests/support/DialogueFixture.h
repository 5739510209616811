#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Configuration.h"
#include "EngineDialogue.h"
#include "EngineLink.h"

namespace testing_support {

// Splits text into its lines; a last line without its end is left out.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The engine as a recording of every line the adapter writes to it. It runs from the start and
// writes nothing.
class RecordingEngineLink : public pontax::EngineLink {
public:
    bool Start(std::string_view) override { return exists = true; }
    pontax::NativeHandle TakeOutput() override { return pontax::kNoHandle; }
    void Stop(bool, std::chrono::milliseconds) override { exists = false; }
    bool Exists() const override { return exists; }
    void Write(std::string_view bytes) override {
        std::lock_guard lock(mutex_);
        text_.append(bytes);
        ++writes_;
    }
    // How many writes carried the lines so far.
    int Writes() {
        std::lock_guard lock(mutex_);
        return writes_;
    }
    // The lines written since the last call.
    std::vector<std::string> Take() {
        std::lock_guard lock(mutex_);
        std::vector<std::string> lines = SplitLines(text_);
        text_.clear();
        return lines;
    }

    bool exists = true;

private:
    std::mutex mutex_;
    std::string text_;
    int writes_ = 0;
};

// A fresh dialogue for every test, its engine a recording and its GUI lines captured: no
// process, no thread, no wait.
class DialogueTest : public ::testing::Test {
protected:
    DialogueTest() {
        d.UseEngineLink(engine);
        d.gui.SetSink([this](std::string_view bytes) {
            std::lock_guard lock(guiMutex_);
            guiText_.append(bytes);
        });
    }
    // The GUI lines written since the last call.
    std::vector<std::string> TakeGuiLines() {
        std::lock_guard lock(guiMutex_);
        std::vector<std::string> lines = SplitLines(guiText_);
        guiText_.clear();
        return lines;
    }

    RecordingEngineLink engine;
    pontax::Configuration config;
    pontax::EngineDialogue d{config};

private:
    std::mutex guiMutex_;
    std::string guiText_;
};

}  // namespace testing_support
