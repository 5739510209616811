#pragma once

namespace pontax {

// Process priority classes and thread priorities keep the values the protocol and the log use:
// Windows's own. On POSIX they map onto nice values.
namespace priority_class {
inline constexpr int kNormal = 32;
inline constexpr int kIdle = 64;
inline constexpr int kHigh = 128;
inline constexpr int kRealtime = 256;
inline constexpr int kBelowNormal = 16384;
inline constexpr int kAboveNormal = 32768;
}  // namespace priority_class

namespace thread_priority {
inline constexpr int kIdle = -15;
inline constexpr int kLowest = -2;
inline constexpr int kBelowNormal = -1;
inline constexpr int kNormal = 0;
inline constexpr int kAboveNormal = 1;
inline constexpr int kHighest = 2;
inline constexpr int kTimeCritical = 15;
}  // namespace thread_priority

// The adapter's own priorities; failures to set them are ignored. A thread priority has no POSIX
// counterpart of its own there and reads as normal.
int ReadOwnPriorityClass();
void SetOwnPriorityClass(int priorityClass);
int ReadOwnThreadPriority();
void SetOwnThreadPriority(int threadPriority);

#ifndef _WIN32
int NiceForClass(int priorityClass);
int ClassForNice(int nice);  // the nearest class
// Nice value of a thread of the given priority in a process of the given class.
int NiceForThread(int priorityClass, int threadPriority);
// Gives every thread of the process the class's nice value; failures are ignored.
void ApplyPriorityClass(int pid, int priorityClass);
// The main thread of pid (its thread id equals pid) gets the thread priority within the class.
void ApplyThreadPriority(int pid, int priorityClass, int threadPriority);
#endif

}  // namespace pontax
