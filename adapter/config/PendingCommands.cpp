#include "PendingCommands.h"

#include "Log.h"
#include "StringUtil.h"
#include "TextFile.h"

namespace pontax {

void PendingCommands::Queue(std::string_view text) {
    std::lock_guard lock(mutex_);
    queue_.emplace_back(text);
}

std::vector<std::string> PendingCommands::TakeAll() {
    std::lock_guard lock(mutex_);
    return std::exchange(queue_, {});
}

void PendingCommands::RememberOptionCommand(std::string_view option, std::string_view command) {
    std::lock_guard lock(mutex_);
    for (auto& [name, text] : optionCommands_)
        if (name == option) {
            text = command;
            return;
        }
    optionCommands_.emplace_back(option, command);
}

std::vector<std::string> PendingCommands::OptionCommands() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> commands;
    for (const auto& command : optionCommands_) commands.push_back(command.second);
    return commands;
}

void PendingCommands::ForgetOptionCommands() {
    std::lock_guard lock(mutex_);
    optionCommands_.clear();
}

void ReadPreSetupFile(std::string_view name, SettingEffects& effects) {
    if (name.empty()) return;
    std::string fileName = std::string(name) + ".txt";
    TextFile file;
    if (!file.Open(fileName, TextFile::Mode::ReadExisting)) {
        WriteLog("Failed to read pre setup from " + fileName, log_tag::kPreSetup);
        return;
    }
    WriteLog("Read pre setup from " + fileName, log_tag::kPreSetup);
    std::string line;
    while (file.ReadLine(line)) {
        std::string command = Trim(line);
        if (!command.empty() && command[0] != ';') effects.SendOrQueue(command);
    }
}

}  // namespace pontax
