#pragma once

#include <string_view>

namespace dravel {

// The causes of file errors the messages distinguish, with their fixed numbers.
enum class Dateifehler {
    Keiner = 0,
    Nicht_gefunden = 2,
    Pfad_ungueltig = 3,
    Zu_viele_dateien = 4,
    Zugriff_verweigert = 5,
    Ungueltige_datei = 6,
    Aktuelles_verzeichnis = 7,
    Verzeichnis_voll = 8,
    Falsche_position = 9,
    Hardware = 10,
    Teilungsverletzung = 11,
    Sperrverletzung = 12,
    Platte_voll = 13,
    Dateiende = 14,
};

// The cause of a system error number; a missing file while writing means a bad path, since
// writing creates the file.
Dateifehler fehler_aus_errno(int nummer, bool beim_schreiben);
// The text shown for a cause; empty for causes without one.
std::string_view fehler_text(Dateifehler ursache);

}  // namespace dravel
