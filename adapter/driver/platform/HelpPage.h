#pragma once

namespace pontax {

// Opens Pontax.html with the desktop's default program, in the background; errors are ignored.
void OpenHelpPage();

}  // namespace pontax
