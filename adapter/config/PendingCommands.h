#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SettingEffects.h"

namespace pontax {

// Engine commands that arise while no engine runs, waiting for the next engine start, and the
// commands that set options, kept so that a restarted engine can be given them again.
class PendingCommands {
public:
    void Queue(std::string_view text);
    // Empties the queue, returning its commands in order.
    std::vector<std::string> TakeAll();
    void RememberOptionCommand(std::string_view option, std::string_view command);
    // The last command of every option set so far, in the order first set.
    std::vector<std::string> OptionCommands() const;
    void ForgetOptionCommands();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> queue_;
    // The last command of each option the GUI set, by option name.
    std::vector<std::pair<std::string, std::string>> optionCommands_;
};

// Sends (or queues) the command lines of the file "<name>.txt"; blank and ";" lines are skipped.
void ReadPreSetupFile(std::string_view name, SettingEffects& effects);

}  // namespace pontax
