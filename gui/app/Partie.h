#pragma once

#include <istream>
#include <string>
#include <vector>

#include "gui/rules/Schach.h"

namespace dravel {

inline constexpr const char* kLesefehler = "Datei - Lese - Fehler";
inline constexpr const char* kFehler_in_der_datei = "Fehler in der Datei";

// The game record: the record text of every half-move played, for saving. Building one starts a
// new game in the game core.
class Partie {
public:
    // Characters of a game file line read at once; a longer line is read in pieces.
    static constexpr size_t Zeilengrenze = 495;

    explicit Partie(Schach& schach);

    // Appends the game core's last move.
    void zug_aufzeichnen();
    // Drops recorded moves the game core has taken back.
    void abgleichen();
    int Anzahl_zuege() const { return static_cast<int>(zugliste_.size()); }
    const std::vector<std::string>& Zugliste() const { return zugliste_; }

    // Writes the moves one per line, each ended by CR LF. Empty on success, else the message.
    std::string speichern(const std::string& pfad) const;
    // Plays and records the moves of a game file, line by line, until the end or the first line
    // that is not a legal move. Empty on success, else the message naming that line.
    std::string laden(std::istream& datei);

private:
    Schach& schach_;
    std::vector<std::string> zugliste_;
};

}  // namespace dravel
