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
// Sends (or queues) the command lines of the file "<name>.txt"; blank and ";" lines are skipped.
void ReadPreSetupFile(std::string_view name);

}  // namespace pontax
