#include <windows.h>

#include "Priority.h"

namespace pontax {

int ReadOwnPriorityClass() {
    DWORD priorityClass = ::GetPriorityClass(::GetCurrentProcess());
    return priorityClass == 0 ? priority_class::kNormal : static_cast<int>(priorityClass);
}

void SetOwnPriorityClass(int priorityClass) {
    ::SetPriorityClass(::GetCurrentProcess(), static_cast<DWORD>(priorityClass));
}

int ReadOwnThreadPriority() {
    int threadPriority = ::GetThreadPriority(::GetCurrentThread());
    return threadPriority == THREAD_PRIORITY_ERROR_RETURN ? thread_priority::kNormal : threadPriority;
}

void SetOwnThreadPriority(int threadPriority) { ::SetThreadPriority(::GetCurrentThread(), threadPriority); }

}  // namespace pontax
