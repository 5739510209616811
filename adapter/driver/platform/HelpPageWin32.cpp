// shellapi.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include "HelpPage.h"

namespace pontax {

void OpenHelpPage() { ::ShellExecuteA(nullptr, "open", "Pontax.html", nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace pontax
