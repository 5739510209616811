#include "PriorityWatchdog.h"

#include "Log.h"
#include "Priority.h"

namespace pontax {

void RecordStartupPriorities(Configuration& config) {
    int priorityClass = ReadOwnPriorityClass();
    int threadPriority = ReadOwnThreadPriority();
    config.recordedPriorityClass = priorityClass;
    config.settings.Priority = threadPriority;
    if (priorityClass != priority_class::kNormal) SetOwnPriorityClass(priority_class::kNormal);
    if (threadPriority != thread_priority::kNormal) SetOwnThreadPriority(thread_priority::kNormal);
}

void PriorityWatchdog(Configuration& config, ChildProcess& engine, bool engineReady) {
    auto& recordedPriorityClass = config.recordedPriorityClass;
    int priorityClass = ReadOwnPriorityClass();
    if (priorityClass != priority_class::kNormal) recordedPriorityClass = priorityClass;
    auto& settings = config.settings;
    if (int threadPriority = ReadOwnThreadPriority(); threadPriority != thread_priority::kNormal)
        settings.Priority = threadPriority;
    if (!engineReady || settings.RunIdle) return;
    if (recordedPriorityClass != engine.PriorityClass()) {
        engine.SetPriorityClass(recordedPriorityClass);
        LogPriorityClass(recordedPriorityClass);
        if (settings.RunIdle) return;
    }
    if (settings.Priority != engine.ThreadPriority()) {
        engine.SetThreadPriority(settings.Priority);
        LogThreadPriority(settings.Priority);
    }
}

std::string PriorityClassName(int priorityClass) {
    switch (priorityClass) {
        case priority_class::kNormal:
            return "normal";
        case priority_class::kIdle:
            return "idle";
        case priority_class::kHigh:
            return "high";
        case priority_class::kRealtime:
            return "realtime";
        default:
            return std::to_string(priorityClass);
    }
}

std::string ThreadPriorityName(int threadPriority) {
    switch (threadPriority) {
        case thread_priority::kHighest:
            return "highest";
        case thread_priority::kAboveNormal:
            return "above normal";
        case thread_priority::kNormal:
            return "normal";
        case thread_priority::kTimeCritical:
            return "time critical";
        case thread_priority::kIdle:
            return "idle";
        case thread_priority::kLowest:
            return "lowest";
        case thread_priority::kBelowNormal:
            return "below normal";
        default:
            return std::to_string(threadPriority);
    }
}

void LogPriorityClass(int priorityClass) {
    WriteLog("Priority class set to " + PriorityClassName(priorityClass) + "\n", log_tag::kEngineProcess);
}

void LogThreadPriority(int threadPriority) {
    WriteLog("Thread priority set to " + ThreadPriorityName(threadPriority) + "\n", log_tag::kEngineProcess);
}

}  // namespace pontax
