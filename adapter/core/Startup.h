#pragma once

namespace pontax {

inline constexpr const char* kVersionText = "Pontax 1.3B10";

// The whole life of the adapter: start-up, the wait loop and shutdown. Returns the exit code,
// which is always 0.
int RunAdapter(int argc, char** argv);

}  // namespace pontax
