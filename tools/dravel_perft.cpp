// dravel-perft DEPTH [coordinate moves...]: leaf positions DEPTH plies below the start position
// after the given moves, counted with dravel's own move generation and legality filter.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gui/rules/Stellung.h"

namespace {

using namespace dravel;

unsigned long long Perft(Stellung* stellung, Knotenspeicher& speicher, Brett& brett, int tiefe) {
    if (tiefe <= 0) return 1;
    if (tiefe == 1) return static_cast<unsigned long long>(stellung->Anz_moegl_zuege);
    unsigned long long blaetter = 0;
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) {
        Knotenspeicher::Marke marke = speicher.Frei();
        Stellung* folge = zug_ausfuehren(stellung, speicher, brett, i);
        zuege_pruefen(folge, speicher, brett);
        blaetter += Perft(folge, speicher, brett, tiefe - 1);
        stellung_zurueck(folge, brett);
        stellung->Zuege()[i].Folgestellung = nullptr;
        speicher.Freigeben(marke);
    }
    return blaetter;
}

}  // namespace

int main(int argc, char** argv) {
    char* ende = nullptr;
    long tiefe = argc >= 2 ? std::strtol(argv[1], &ende, 10) : -1;
    if (argc < 2 || *ende != '\0' || tiefe < 0 || tiefe > 12) {
        std::fprintf(stderr, "usage: dravel-perft DEPTH [coordinate moves...]\n");
        return 2;
    }
    Brett brett = Brett::Grundstellung();
    Knotenspeicher speicher;
    Stellung* stellung = zug_ausfuehren(nullptr, speicher, brett, 0);
    zuege_pruefen(stellung, speicher, brett);
    for (int i = 2; i < argc; ++i) {
        std::string engine_text, meldung;
        int index = zug_suchen(stellung, argv[i], engine_text, meldung);
        if (index < 0) {
            std::fprintf(stderr, "dravel-perft: %s is not a legal move here\n", argv[i]);
            return 2;
        }
        stellung = zug_ausfuehren(stellung, speicher, brett, index);
        zuege_pruefen(stellung, speicher, brett);
    }
    std::printf("%llu\n", Perft(stellung, speicher, brett, static_cast<int>(tiefe)));
    return 0;
}
