#include <dirent.h>
#include <sys/resource.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "Priority.h"

namespace pontax {

namespace {

struct ClassNice {
    int priorityClass;
    int nice;
};
constexpr ClassNice kClassNices[] = {
    {priority_class::kIdle, 19},        {priority_class::kBelowNormal, 10}, {priority_class::kNormal, 0},
    {priority_class::kAboveNormal, -5}, {priority_class::kHigh, -10},       {priority_class::kRealtime, -20},
};

struct ThreadOffset {
    int threadPriority;
    int niceOffset;
};
constexpr ThreadOffset kThreadOffsets[] = {
    {thread_priority::kIdle, 19},          {thread_priority::kLowest, 4},
    {thread_priority::kBelowNormal, 2},    {thread_priority::kNormal, 0},
    {thread_priority::kAboveNormal, -2},   {thread_priority::kHighest, -4},
    {thread_priority::kTimeCritical, -20},
};

void SetNice(id_t id, int nice) { ::setpriority(PRIO_PROCESS, id, std::clamp(nice, -20, 19)); }

}  // namespace

int NiceForClass(int priorityClass) {
    for (auto entry : kClassNices)
        if (entry.priorityClass == priorityClass) return entry.nice;
    return 0;
}

int ClassForNice(int nice) {
    const ClassNice* best = &kClassNices[0];
    for (const auto& entry : kClassNices)
        if (std::abs(entry.nice - nice) < std::abs(best->nice - nice)) best = &entry;
    return best->priorityClass;
}

int NiceForThread(int priorityClass, int threadPriority) {
    int offset = 0;
    for (auto entry : kThreadOffsets)
        if (entry.threadPriority == threadPriority) offset = entry.niceOffset;
    return std::clamp(NiceForClass(priorityClass) + offset, -20, 19);
}

int ReadOwnPriorityClass() {
    errno = 0;
    int nice = ::getpriority(PRIO_PROCESS, 0);
    return errno != 0 ? priority_class::kNormal : ClassForNice(nice);
}

void SetOwnPriorityClass(int priorityClass) { SetNice(0, NiceForClass(priorityClass)); }

int ReadOwnThreadPriority() { return thread_priority::kNormal; }

void SetOwnThreadPriority(int) {}

void ApplyPriorityClass(int pid, int priorityClass) {
    if (pid <= 0) return;
    int nice = NiceForClass(priorityClass);
    std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = ::opendir(taskDir.c_str());
    if (!dir) {
        SetNice(static_cast<id_t>(pid), nice);
        return;
    }
    while (dirent* entry = ::readdir(dir)) {
        int tid = std::atoi(entry->d_name);
        if (tid > 0) SetNice(static_cast<id_t>(tid), nice);
    }
    ::closedir(dir);
}

void ApplyThreadPriority(int pid, int priorityClass, int threadPriority) {
    if (pid > 0) SetNice(static_cast<id_t>(pid), NiceForThread(priorityClass, threadPriority));
}

}  // namespace pontax
