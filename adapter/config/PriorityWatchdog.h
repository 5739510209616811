#pragma once

#include <string>

#include "ChildProcess.h"
#include "Configuration.h"

namespace pontax {

// Records the priorities the adapter was started with and runs the adapter itself at normal
// priority. Called once at start-up on the main thread.
void RecordStartupPriorities(Configuration& config);
// Passes priority changes made to the adapter from outside on to a ready engine. Main thread only.
void PriorityWatchdog(Configuration& config, ChildProcess& engine, bool engineReady);
void LogPriorityClass(int priorityClass);
void LogThreadPriority(int threadPriority);

std::string PriorityClassName(int priorityClass);
std::string ThreadPriorityName(int threadPriority);

}  // namespace pontax
