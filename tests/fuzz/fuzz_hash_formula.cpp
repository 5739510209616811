// Hash formulas into the evaluator, as the configuration file or a GUI's setoption gives them.
#include <string_view>

#include "HashFormula.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    pontax::FormulaEvaluator evaluator;
    evaluator.Evaluate(text);
    // Variables live on between evaluations, as they do in the adapter.
    evaluator.Evaluate(text);
    return 0;
}
