#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "Configuration.h"
#include "SettingEffects.h"
#include "SettingHandler.h"

namespace testing_support {

// Settings' effects without an engine: commands wait in the queue, and each changed key is noted.
class QueueingEffects : public pontax::SettingEffects {
public:
    explicit QueueingEffects(pontax::Configuration& config) : config_(config) {}
    void SendOrQueue(std::string_view command) override { config_.pending.Queue(command); }
    void Changed(std::string_view key) override { changed.emplace_back(key); }

    std::vector<std::string> changed;

private:
    pontax::Configuration& config_;
};

// A fresh configuration for every test.
class ConfigTest : public ::testing::Test {
protected:
    // The GUI's "setoption name <name> value <value>".
    void Set(const std::string& name, const std::string& value) {
        pontax::HandleSetOption(config, effects, "setoption name " + name + " value " + value);
    }

    pontax::Configuration config;
    QueueingEffects effects{config};
};

}  // namespace testing_support
