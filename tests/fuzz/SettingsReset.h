#pragma once

namespace fuzzing {

// Puts every setting back to what it was at the first call: the options' defaults, the engine's
// name and author, no custom options, no visibility list, no log file, no queued commands. The
// settings are process-wide, and each fuzz input must start from the same ones.
void RestoreSettings();

}  // namespace fuzzing
