#include "gui/rules/Schach.h"

namespace dravel {

namespace {

constexpr const char* kStufenbefehl = "level 0 2 12";
constexpr const char* kEngine_programm = "kelvane";
constexpr const char* kEngine_weg = "The engine has stopped; it will be started again for the next move.";

std::string Gerahmt(std::string_view text) { return "\n" + std::string(text) + "\n"; }

}  // namespace

void Schach::Neue_partie() {
    brett_ = Brett::Grundstellung();
    speicher_.Leeren();
    aktuelle_stellung_ = nullptr;
}

void Schach::Meldung(std::string_view text) {
    if (antwort_.empty()) antwort_ = text;
}

std::string Schach::befehl(std::string_view kommando) {
    antwort_.clear();
    if (kommando.empty()) return antwort_;
    char art = kommando[0];
    if ((art == 'V' || art == 'c') && !Engine_automatisch_starten()) return antwort_;
    std::string_view rest = kommando.substr(1);
    switch (art) {
    case '0':
        aktuelle_stellung_ = nullptr;
        ergebnis_text_.clear();
        if (engine_zustand_ == 0) engine_.befehl_senden("new");
        break;
    case '8':
        letzter_zug_text_ = "root";
        if (!aktuelle_stellung_) {
            aktuelle_stellung_ = zug_ausfuehren(nullptr, speicher_, brett_, 0);
            if (aktuelle_stellung_) zuege_pruefen(aktuelle_stellung_, speicher_, brett_);
        }
        break;
    case 'F': engine_autostart_ = rest.empty() || rest[0] != '0'; break;
    case 'B':
    case 'b': Menschlicher_zug(rest); break;
    case 'l':
        if (rest == "f") Liste(true);
        if (rest == "n") Liste(false);
        if (rest == "l") Meldung(letzter_zug_text_);
        break;
    case 'c': Computerzug(rest.empty() ? '\0' : rest[0]); break;
    case 'V': Meldung(engine_.Info_text()); break;
    case 'X':
        if (engine_zustand_ == 0) engine_.befehl_senden("quit");
        break;
    default: break;
    }
    return antwort_;
}

// Starts the engine before "V" and "c" when it is not running, reading its greeting.
bool Schach::Engine_automatisch_starten() {
    if (engine_zustand_ == 0 || !engine_autostart_) return true;
    engine_zustand_ = engine_.engine_starten();
    if (engine_zustand_ != 0) {
        Meldung("Error " + std::to_string(engine_zustand_) + ": opening " + kEngine_programm);
        return false;
    }
    // The greeting: information lines, then two plain lines, the first of which is kept.
    std::string zeile;
    bool gelesen = engine_.info_lesen(zeile);
    if (gelesen) engine_.Info_text_anhaengen("\n" + zeile);
    if (!gelesen || !engine_.info_lesen(zeile)) {
        Engine_verloren();
        return false;
    }
    return true;
}

void Schach::Engine_verloren() {
    engine_.engine_verloren();
    engine_zustand_ = Nicht_gestartet;
    // A restarted engine knows nothing of the game: the next move request sends the position.
    eigene_zuege_ = 0;
    Meldung(std::string(kKelvane_praefix) + kEngine_weg);
}

void Schach::Menschlicher_zug(std::string_view text) {
    if (!ergebnis_text_.empty()) {
        Meldung(ergebnis_text_);
        return;
    }
    std::string meldung;
    int index = zug_suchen(aktuelle_stellung_, text, engine_zug_, meldung);
    if (!meldung.empty()) Meldung(meldung);
    if (index < 0) {
        Meldung(Gerahmt(kFehler_ungueltiger_zug));
        eigene_zuege_ = 0;
        return;
    }
    letzter_zug_text_ = zug_text(aktuelle_stellung_, index);
    aktuelle_stellung_ = zug_ausfuehren(aktuelle_stellung_, speicher_, brett_, index);
    zuege_pruefen(aktuelle_stellung_, speicher_, brett_);
    ++eigene_zuege_;
}

void Schach::Liste(bool erster) {
    if (erster) {
        listen_index_ = 0;
        if (!ergebnis_text_.empty()) {
            Meldung(ergebnis_text_);
            return;
        }
    } else {
        ++listen_index_;
    }
    if (aktuelle_stellung_ && listen_index_ < aktuelle_stellung_->Anz_moegl_zuege)
        Meldung(listen_text(aktuelle_stellung_, listen_index_));
}

void Schach::Computerzug(char stufe) {
    if (engine_zustand_ != 0 || !aktuelle_stellung_) return;
    if (stufe == '1' || stufe == '2' || stufe == '3') {
        engine_.befehl_senden(stufe == '3' ? "hard" : "easy");
        engine_.befehl_senden(kStufenbefehl);
    }
    if (eigene_zuege_ == 1) {
        engine_.befehl_senden(engine_zug_);
    } else {
        engine_zug_ = "setboard " + fen_text(brett_, aktuelle_stellung_);
        engine_.befehl_senden(engine_zug_);
        engine_.befehl_senden("go");
    }
    std::string zeile;
    if (!engine_.antwort_abwarten(zeile, ergebnis_text_)) {
        Engine_verloren();
        return;
    }
    std::string zug;
    size_t anfang = zeile.find_first_of(" \t");
    if (anfang != std::string::npos) {
        anfang = zeile.find_first_not_of(" \t\r", anfang);
        if (anfang != std::string::npos) zug = zeile.substr(anfang, zeile.find_first_of(" \t\r", anfang) - anfang);
    }
    std::string ungenutzt, meldung;
    int index = ergebnis_text_.empty() ? zug_suchen(aktuelle_stellung_, zug, ungenutzt, meldung) : -1;
    if (index >= 0 && zeile.rfind("move", 0) == 0) {
        letzter_zug_text_ = zug_text(aktuelle_stellung_, index);
        aktuelle_stellung_ = zug_ausfuehren(aktuelle_stellung_, speicher_, brett_, index);
        zuege_pruefen(aktuelle_stellung_, speicher_, brett_);
        eigene_zuege_ = 0;
        return;
    }
    if (zeile.rfind("Engine", 0) == 0) aktuelle_stellung_ = stellung_zurueck(aktuelle_stellung_, brett_);
    Meldung(std::string(kKelvane_praefix) + zeile);
    eigene_zuege_ = 0;
}

}  // namespace dravel
