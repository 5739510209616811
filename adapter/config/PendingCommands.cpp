#include "adapter/config/PendingCommands.h"

#include <mutex>
#include <utility>
#include <vector>

#include "adapter/config/Log.h"
#include "adapter/driver/LineWriters.h"
#include "adapter/driver/StringUtil.h"
#include "adapter/driver/TextFile.h"

namespace pontax {

namespace {

std::mutex queueMutex;
std::vector<std::string> pendingEngineCommands;
// The last command of each option the GUI set, by option name.
std::vector<std::pair<std::string, std::string>> optionCommands;

}  // namespace

void SendOrQueueEngineCommand(std::string_view text) {
    if (EngineProcess().Exists())
        SendToEngine(text);
    else
        QueueEngineCommand(text);
}

void QueueEngineCommand(std::string_view text) {
    std::lock_guard lock(queueMutex);
    pendingEngineCommands.emplace_back(text);
}

std::vector<std::string> TakePendingEngineCommands() {
    std::lock_guard lock(queueMutex);
    return std::exchange(pendingEngineCommands, {});
}

void FlushPendingEngineCommands() {
    std::vector<std::string> commands = TakePendingEngineCommands();
    if (!EngineProcess().Exists()) return;
    for (const auto& command : commands) SendToEngine(command);
}

void RememberOptionCommand(std::string_view option, std::string_view command) {
    std::lock_guard lock(queueMutex);
    for (auto& [name, text] : optionCommands)
        if (name == option) {
            text = command;
            return;
        }
    optionCommands.emplace_back(option, command);
}

void ResendOptionCommands() {
    std::vector<std::pair<std::string, std::string>> commands;
    {
        std::lock_guard lock(queueMutex);
        commands = optionCommands;
    }
    for (const auto& command : commands) SendToEngine(command.second);
}

void ForgetOptionCommands() {
    std::lock_guard lock(queueMutex);
    optionCommands.clear();
}

void ReadPreSetupFile(std::string_view name) {
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
        if (!command.empty() && command[0] != ';') SendOrQueueEngineCommand(command);
    }
}

}  // namespace pontax
