#pragma once

#include <atomic>
#include <string>

namespace pontax {

// The process priority class the GUI gave the adapter, passed on to the engine.
extern std::atomic<int> recordedPriorityClass;

// Records the priorities the adapter was started with and runs the adapter itself at normal
// priority. Called once at start-up on the main thread.
void RecordStartupPriorities();
// Passes priority changes made to the adapter from outside on to the engine. Main thread only.
void PriorityWatchdog();
void LogPriorityClass(int priorityClass);
void LogThreadPriority(int threadPriority);

std::string PriorityClassName(int priorityClass);
std::string ThreadPriorityName(int threadPriority);

}  // namespace pontax
