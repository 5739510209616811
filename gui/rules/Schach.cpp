#include "gui/rules/Schach.h"

namespace dravel {

namespace {

constexpr const char* kStufenbefehl = "level 0 2 12";
constexpr const char* kEngine_programm = "kelvane";
constexpr const char* kEngine_weg = "The engine has stopped; it will be started again for the next move.";
constexpr const char* kKeine_antwort = "The engine gave no move.";

std::string Gerahmt(std::string_view text) { return "\n" + std::string(text) + "\n"; }

const Stellung* Wurzel(const Stellung* stellung) {
    while (stellung && stellung->Letzt_zug_zeiger) stellung = stellung->Letzt_zug_zeiger;
    return stellung;
}

}  // namespace

void Schach::Neue_partie() {
    brett_ = Brett::Grundstellung();
    speicher_.Leeren();
    aktuelle_stellung_ = nullptr;
    engine_stellung_ = nullptr;
    schachfeld_ = -1;
}

void Schach::Meldung(std::string_view text) {
    if (antwort_.empty()) antwort_ = text;
}

int Schach::Halbzuege() const {
    int halbzuege = 0;
    for (const Stellung* s = aktuelle_stellung_; s && s->Letzt_zug_zeiger; s = s->Letzt_zug_zeiger)
        ++halbzuege;
    return halbzuege;
}

std::string Schach::befehl(std::string_view kommando) {
    antwort_.clear();
    abgebrochen_ = false;
    if (kommando.empty()) return antwort_;
    char art = kommando[0];
    // A finished game asks the engine nothing, and starts none.
    if (art == 'c' && !ergebnis_text_.empty()) {
        Meldung(ergebnis_text_);
        return antwort_;
    }
    if ((art == 'V' || art == 'c') && !Engine_automatisch_starten()) return antwort_;
    std::string_view rest = kommando.substr(1);
    switch (art) {
        case '0':
            aktuelle_stellung_ = nullptr;
            engine_stellung_ = nullptr;
            ergebnis_text_.clear();
            schachfeld_ = -1;
            engine_neues_spiel_ = engine_zustand_ == 0;
            if (engine_neues_spiel_) engine_.befehl_senden("new");
            break;
        case '8':
            letzter_zug_text_ = "root";
            if (!aktuelle_stellung_) {
                aktuelle_stellung_ = zug_ausfuehren(nullptr, speicher_, brett_, 0);
                if (aktuelle_stellung_) zuege_pruefen(aktuelle_stellung_, speicher_, brett_);
                // The engine was told "new": it stands at this root.
                if (engine_neues_spiel_) engine_stellung_ = aktuelle_stellung_;
            }
            engine_neues_spiel_ = false;
            break;
        case 'F':
            engine_autostart_ = rest.empty() || rest[0] != '0';
            break;
        case 'B':
        case 'b':
            Menschlicher_zug(rest);
            break;
        case 'l':
            if (rest == "f") Liste(true);
            if (rest == "n") Liste(false);
            if (rest == "l") Meldung(letzter_zug_text_);
            break;
        case 'c':
            Computerzug(rest.empty() ? '\0' : rest[0]);
            break;
        case 'V':
            Meldung(engine_.Info_text());
            break;
        case 'X':
            if (engine_zustand_ == 0) engine_.befehl_senden("quit");
            break;
        default:
            break;
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
        if (engine_.Abbruch_angefordert()) {
            engine_.engine_verloren();
            engine_zustand_ = Nicht_gestartet;
            abgebrochen_ = true;
            return false;
        }
        Engine_verloren();
        return false;
    }
    // A fresh engine stands at the start of a game.
    engine_stellung_ = Wurzel(aktuelle_stellung_);
    return true;
}

void Schach::Engine_verloren() {
    engine_.engine_verloren();
    engine_zustand_ = Nicht_gestartet;
    engine_stellung_ = nullptr;
    Meldung(std::string(kKelvane_praefix) + kEngine_weg);
}

void Schach::Menschlicher_zug(std::string_view text) {
    if (!ergebnis_text_.empty()) {
        Meldung(ergebnis_text_);
        return;
    }
    std::string engine_text, meldung;
    int index = zug_suchen(aktuelle_stellung_, text, engine_text, meldung);
    if (!meldung.empty()) Meldung(meldung);
    if (index < 0) {
        Meldung(Gerahmt(kFehler_ungueltiger_zug));
        return;
    }
    Zug_anwenden(index);
}

// Plays entry `index` of the current list, keeps the next list legal, and sees whether the game
// has ended with it.
void Schach::Zug_anwenden(int index) {
    letzter_zug_text_ = zug_text(aktuelle_stellung_, index);
    aktuelle_stellung_ = zug_ausfuehren(aktuelle_stellung_, speicher_, brett_, index);
    zuege_pruefen(aktuelle_stellung_, speicher_, brett_);
    Schachfeld_bestimmen();
    if (aktuelle_stellung_->Anz_moegl_zuege == 0 && ergebnis_text_.empty()) {
        if (schachfeld_ < 0)
            ergebnis_text_ = kPatt;
        else
            ergebnis_text_ = aktuelle_stellung_->Weiss_am_zug() ? kSchwarz_setzt_matt : kWeiss_setzt_matt;
    }
}

void Schach::Schachfeld_bestimmen() {
    schachfeld_ = -1;
    if (!im_schach(aktuelle_stellung_, brett_, speicher_)) return;
    const Figur koenig = figur::Koenig | (aktuelle_stellung_->Weiss_am_zug() ? 0 : figur::Schwarz);
    for (int feld = 0; feld < 64; ++feld)
        if (brett_.Feld[feld] == koenig) schachfeld_ = feld;
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

void Schach::Stufe_senden(char stufe) {
    if (stufe != '1' && stufe != '2' && stufe != '3') return;
    engine_.befehl_senden(stufe == '3' ? "hard" : "easy");
    engine_.befehl_senden(kStufenbefehl);
}

// Brings the engine to the current position and starts its search: the single last move when
// the engine stands just before it; otherwise the game's moves from the start in force mode (for
// engines without "setboard"), then the position as FEN and "go". The level follows "new",
// which resets it.
void Schach::Stellung_senden(char stufe) {
    const Stellung* eltern = aktuelle_stellung_->Letzt_zug_zeiger;
    if (eltern && engine_stellung_ == eltern) {
        Stufe_senden(stufe);
        const Zug* zug = gespielter_zug(aktuelle_stellung_);
        engine_.befehl_senden(listen_text(eltern, static_cast<int>(zug - eltern->Zuege())));
        return;
    }
    engine_.befehl_senden("new");
    engine_.befehl_senden("force");
    for (const std::string& zug : partie_zuege(aktuelle_stellung_)) engine_.befehl_senden(zug);
    Stufe_senden(stufe);
    engine_.befehl_senden("setboard " + fen_text(brett_, aktuelle_stellung_));
    engine_.befehl_senden("go");
}

void Schach::Computerzug(char stufe) {
    if (engine_zustand_ != 0 || !aktuelle_stellung_) return;
    Stellung_senden(stufe);
    // Until its reply is read, the engine's position is unknown.
    engine_stellung_ = nullptr;
    std::string zeile, engine_ergebnis;
    switch (engine_.antwort_abwarten(zeile, engine_ergebnis)) {
        case Engine_verbindung::Warteergebnis::Abgebrochen:
            engine_zustand_ = Nicht_gestartet;
            abgebrochen_ = true;
            return;
        case Engine_verbindung::Warteergebnis::Verloren:
            Engine_verloren();
            return;
        case Engine_verbindung::Warteergebnis::Antwort:
            break;
    }
    if (zeile.rfind("move", 0) == 0) {
        Engine_zug_anwenden(zeile);
    } else if (zeile.rfind("Engine", 0) == 0) {
        aktuelle_stellung_ = stellung_zurueck(aktuelle_stellung_, brett_);
        Schachfeld_bestimmen();
        Meldung(std::string(kKelvane_praefix) + zeile);
    }
    if (!engine_ergebnis.empty() && ergebnis_text_.empty()) ergebnis_text_ = engine_ergebnis;
    // A result without a move is the engine's answer.
    if (zeile.empty())
        Meldung(std::string(kKelvane_praefix) +
                (engine_ergebnis.empty() ? std::string(kKeine_antwort) : engine_ergebnis));
}

// The engine's "move" line: applied when it names a legal move of the current position, else
// shown to the user, the position unchanged.
void Schach::Engine_zug_anwenden(const std::string& zeile) {
    std::string zug;
    size_t anfang = zeile.find_first_of(" \t");
    if (anfang != std::string::npos) {
        anfang = zeile.find_first_not_of(" \t\r", anfang);
        if (anfang != std::string::npos)
            zug = zeile.substr(anfang, zeile.find_first_of(" \t\r", anfang) - anfang);
    }
    std::string ungenutzt, meldung;
    int index = zug_suchen(aktuelle_stellung_, zug, ungenutzt, meldung);
    if (index < 0) {
        Meldung(std::string(kKelvane_praefix) + zeile);
        return;
    }
    Zug_anwenden(index);
    engine_stellung_ = aktuelle_stellung_;
}

}  // namespace dravel
