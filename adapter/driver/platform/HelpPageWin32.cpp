#include "HelpPage.h"

#include <windows.h>
#include <shellapi.h>

namespace pontax {

void OpenHelpPage() { ::ShellExecuteA(nullptr, "open", "Pontax.html", nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace pontax
