#pragma once

#include <atomic>

#include "EngineOptions.h"
#include "HashFormula.h"
#include "PendingCommands.h"
#include "Priority.h"
#include "Settings.h"

namespace pontax {

// The adapter's configuration: its settings, the options its engine announced, the engine
// commands waiting for an engine, the hash formula's variables and the priority class the GUI
// gave the adapter, which the engine gets too.
struct Configuration {
    AdapterSettings settings;
    EngineOptionStore engineOptions;
    PendingCommands pending;
    FormulaEvaluator hashFormula;
    std::atomic<int> recordedPriorityClass{priority_class::kNormal};
};

}  // namespace pontax
