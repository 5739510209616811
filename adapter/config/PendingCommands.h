#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pontax {

// Engine commands that arise while no engine runs wait here for the next engine start.
void QueueEngineCommand(std::string_view text);
// Sends the command now if an engine runs, else queues it.
void SendOrQueueEngineCommand(std::string_view text);
// Empties the queue, returning its commands in order.
std::vector<std::string> TakePendingEngineCommands();
// Sends the queued commands in order if an engine runs; empties the queue in any case.
void FlushPendingEngineCommands();
// Keeps the command that set an option, so that a restarted engine can be given it again.
void RememberOptionCommand(std::string_view option, std::string_view command);
// Sends the last command of every option set so far, in the order first set.
void ResendOptionCommands();
void ForgetOptionCommands();
// Sends (or queues) the command lines of the file "<name>.txt"; blank and ";" lines are skipped.
void ReadPreSetupFile(std::string_view name);

}  // namespace pontax
