// Move texts into dravel's move parser. Each line is read in the current position; a move it
// finds must be one of the position's moves, and is played.
#include <cstdio>
#include <cstdlib>

#include "gui/engine/Engine_verbindung.h"
#include "gui/rules/Schach.h"
#include "tests/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dravel::Engine_verbindung engine("/nonexistent/kelvane");
    dravel::Schach schach(engine);
    schach.Neue_partie();
    for (const char* kommando : {"0", "8", "F1"}) schach.befehl(kommando);
    for (const auto& text : fuzzing::SplitLines(data, size)) {
        const dravel::Stellung* stellung = schach.Aktuelle_stellung();
        std::string engine_text, meldung;
        int index = dravel::zug_suchen(stellung, text, engine_text, meldung);
        if (index < -1 || (stellung && index >= stellung->Anz_moegl_zuege)) {
            std::fprintf(stderr, "\"%s\" found move %d of %d\n", text.c_str(), index,
                         stellung ? stellung->Anz_moegl_zuege : 0);
            std::abort();
        }
        if (index >= 0) schach.befehl("B" + text);
    }
    return 0;
}
