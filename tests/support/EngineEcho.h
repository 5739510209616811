#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "adapter/driver/LineWriters.h"
#include "adapter/driver/PipeReaderThread.h"

namespace testing_support {

// Runs /bin/cat as the adapter's engine, so every line sent to the engine comes back to the test.
class EngineEcho {
public:
    EngineEcho() {
        pontax::EngineProcess().Start("/bin/cat");
        reader_.SetCallback([this](const std::string& line) {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
            return true;
        });
        reader_.Start(pontax::EngineProcess().TakeOutput(), true);
    }
    ~EngineEcho() {
        pontax::EngineProcess().Stop(false);  // closing its input ends cat
        reader_.Stop();
        pontax::ReapDetachedChildren(std::chrono::seconds(5));
    }
    // Waits (briefly) until `count` lines have come back, then returns all lines so far.
    std::vector<std::string> Lines(size_t count = 0) {
        for (int i = 0; i < 500; ++i) {
            {
                std::lock_guard lock(mutex_);
                if (lines_.size() >= count) break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        // Lines sent after the expected ones would show up here too; give them a moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    pontax::PipeReaderThread reader_;
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Captures what the adapter sends to the GUI.
class GuiCapture {
public:
    GuiCapture() {
        pontax::SetGuiSink([this](std::string_view bytes) { text_.append(bytes); });
    }
    ~GuiCapture() { pontax::SetGuiSink(nullptr); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        size_t start = 0, end;
        while ((end = text_.find('\n', start)) != std::string::npos) {
            lines.push_back(text_.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

private:
    std::string text_;
};

}  // namespace testing_support
