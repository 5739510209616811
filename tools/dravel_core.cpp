// dravel-core: the game core of dravel on standard input and output. Each input line is one
// command as the window would give it; each answer is printed on one line with its control
// characters written as escapes, so answers holding line feeds stay one line.
#include <cstdio>
#include <iostream>
#include <string>

#include "gui/engine/Engine_verbindung.h"
#include "gui/rules/Schach.h"

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%02X", c);
                    out += hex;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out;
}

}  // namespace

int main() {
    dravel::Engine_verbindung engine;
    dravel::Schach schach(engine);
    // As the window does for a new game: a fresh record, then "0", "8" and "F1".
    schach.Neue_partie();
    for (const char* kommando : {"0", "8", "F1"}) schach.befehl(kommando);
    std::string zeile;
    while (std::getline(std::cin, zeile)) {
        std::cout << Escaped(schach.befehl(zeile)) << std::endl;
    }
    schach.befehl("X");
    return 0;
}
