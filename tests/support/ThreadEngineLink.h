#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

#include "EngineLink.h"

namespace testing_support {

// An engine that runs on a thread of the test instead of as a program: each start runs `engine`,
// which reads its commands from `input`, writes to `output`, and returns when its input ends or
// when it chooses to die. The adapter reads its output as a program's.
class ThreadEngineLink : public pontax::EngineLink {
public:
    using Engine = std::function<void(int input, int output)>;

    explicit ThreadEngineLink(Engine engine) : engine_(std::move(engine)) {}
    ~ThreadEngineLink() override { Stop(false); }

    bool Start(std::string_view) override {
        if (running_) return false;
        int toEngine[2], fromEngine[2];
        if (::pipe2(toEngine, O_CLOEXEC) != 0) return false;
        if (::pipe2(fromEngine, O_CLOEXEC) != 0) {
            ::close(toEngine[0]);
            ::close(toEngine[1]);
            return false;
        }
        thread_ = std::thread([this, input = toEngine[0], output = fromEngine[1]] {
            engine_(input, output);
            ::close(input);
            ::close(output);
        });
        {
            std::lock_guard lock(inputMutex_);
            input_ = toEngine[1];
        }
        output_ = fromEngine[0];
        running_ = true;
        return true;
    }
    pontax::NativeHandle TakeOutput() override { return output_.exchange(-1); }
    // The end of its input ends the engine's thread.
    void Stop(bool, std::chrono::milliseconds = {}) override {
        if (!running_.exchange(false)) return;
        {
            std::lock_guard lock(inputMutex_);
            ::close(std::exchange(input_, -1));
        }
        thread_.join();
        if (int output = output_.exchange(-1); output >= 0) ::close(output);
    }
    bool Exists() const override { return running_; }
    void Write(std::string_view bytes) override {
        std::lock_guard lock(inputMutex_);
        while (!bytes.empty() && input_ >= 0) {
            ssize_t n = ::write(input_, bytes.data(), bytes.size());
            if (n <= 0) return;
            bytes.remove_prefix(static_cast<size_t>(n));
        }
    }

private:
    Engine engine_;
    std::atomic<bool> running_{false};
    std::mutex inputMutex_;
    int input_ = -1;
    std::atomic<int> output_{-1};
    std::thread thread_;
};

}  // namespace testing_support
