// Game files into dravel's loader. Whatever part of a file it takes must save and load again as
// the same moves.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "gui/app/Partie.h"
#include "gui/engine/Engine_verbindung.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string saved = "/tmp/dravel-fuzz-" + std::to_string(::getpid()) + ".chd";
    dravel::Engine_verbindung engine("/nonexistent/kelvane");
    dravel::Schach schach(engine);
    dravel::Partie partie(schach);
    std::istringstream datei(std::string(reinterpret_cast<const char*>(data), size));
    partie.laden(datei);
    if (!partie.speichern(saved).empty()) std::abort();
    dravel::Schach zweites_schach(engine);
    dravel::Partie wieder(zweites_schach);
    std::ifstream gespeichert(saved, std::ios::binary);
    std::string fehler = wieder.laden(gespeichert);
    if (!fehler.empty() || wieder.Zugliste() != partie.Zugliste()) {
        std::fprintf(stderr, "%d moves loaded, %d after saving them: %s\n", partie.Anzahl_zuege(),
                     wieder.Anzahl_zuege(), fehler.c_str());
        std::abort();
    }
    return 0;
}
