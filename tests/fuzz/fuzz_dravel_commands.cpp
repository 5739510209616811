// Command sequences into dravel's game core, one command a line, as the window gives them. The
// engine cannot be started, so requests for a computer move take the path that reports it.
#include "gui/engine/Engine_verbindung.h"
#include "gui/rules/Schach.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dravel::Engine_verbindung engine("/nonexistent/kelvane");
    dravel::Schach schach(engine);
    schach.Neue_partie();
    for (const char* kommando : {"0", "8", "F1"}) schach.befehl(kommando);
    for (const auto& kommando : fuzzing::SplitLines(data, size)) schach.befehl(kommando);
    schach.befehl("X");
    return 0;
}
