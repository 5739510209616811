#include "gui/rules/Stellung.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dravel {

namespace {

constexpr size_t kAusrichtung = alignof(Stellung);

struct Schritt {
    int linie;
    int reihe;
};

constexpr Schritt kSpringer[] = {{-1, 2}, {1, 2}, {-1, -2}, {1, -2}, {-2, 1}, {2, 1}, {-2, -1}, {2, -1}};
constexpr Schritt kKoenig[] = {{1, 1}, {1, 0}, {1, -1}, {0, 1}, {0, -1}, {-1, 1}, {-1, 0}, {-1, -1}};
constexpr Schritt kLaeufer[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
constexpr Schritt kTurm[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
constexpr Figur kUmwandlungen[] = {figur::Dame, figur::Turm, figur::Laeufer, figur::Springer};

constexpr int A1 = 0, B1 = 1, C1 = 2, D1 = 3, E1 = 4, F1 = 5, G1 = 6, H1 = 7;
constexpr int A8 = 56, C8 = 58, D8 = 59, E8 = 60, F8 = 61, G8 = 62, H8 = 63;

// The rights a move from or to `feld` takes away: a king or rook leaving home, or a rook taken
// at home.
uint8_t Verlorene_rechte(int feld) {
    switch (feld) {
        case A1:
            return status::Weiss_lang;
        case E1:
            return status::Weiss_kurz | status::Weiss_lang;
        case H1:
            return status::Weiss_kurz;
        case A8:
            return status::Schwarz_lang;
        case E8:
            return status::Schwarz_kurz | status::Schwarz_lang;
        case H8:
            return status::Schwarz_kurz;
        default:
            return 0;
    }
}

uint8_t Rechte_nach(uint8_t rechte, int von, int nach) {
    return rechte & status::Alle_rochaden & ~Verlorene_rechte(von) & ~Verlorene_rechte(nach);
}

// Appends moves to a node's list while they fit before the end of the block.
class Zugliste {
public:
    Zugliste(Stellung* stellung, const std::byte* ende, const Brett& brett)
        : stellung_(stellung), ende_(ende), brett_(brett), schwarz_(!stellung->Weiss_am_zug()) {
        stellung_->Anz_moegl_zuege = 0;
    }

    Zug* Erzeugen() {
        for (int feld = 0; feld < 64; ++feld) {
            Figur f = brett_.Feld[feld];
            if (f == figur::Leer || Ist_schwarz(f) != schwarz_) continue;
            switch (Typ(f)) {
                case figur::Springer:
                    Schritte(feld, kSpringer);
                    break;
                case figur::Koenig:
                    Schritte(feld, kKoenig);
                    Rochaden(feld);
                    break;
                case figur::Laeufer:
                    Strahlen(feld, kLaeufer);
                    break;
                case figur::Turm:
                    Strahlen(feld, kTurm);
                    break;
                case figur::Dame:
                    Strahlen(feld, kLaeufer);
                    Strahlen(feld, kTurm);
                    break;
                case figur::Bauer:
                    Bauer(feld);
                    break;
            }
        }
        return ueberlauf_ ? nullptr : stellung_->Zuege() + stellung_->Anz_moegl_zuege;
    }

private:
    bool Gegner(Figur f) const { return f != figur::Leer && Ist_schwarz(f) != schwarz_; }
    bool Ziel_frei_oder_gegner(int feld) const {
        return brett_.Feld[feld] == figur::Leer || Gegner(brett_.Feld[feld]);
    }
    static int Ziel(int feld, Schritt s) {
        int linie = Linie(feld) + s.linie, reihe = Reihe(feld) + s.reihe;
        return (linie < 0 || linie > 7 || reihe < 0 || reihe > 7) ? -1 : reihe * 8 + linie;
    }

    void Anhaengen(int von, int nach, Figur f, uint8_t st) {
        Zug* zug = stellung_->Zuege() + stellung_->Anz_moegl_zuege;
        if (ueberlauf_ || reinterpret_cast<const std::byte*>(zug + 1) > ende_) {
            ueberlauf_ = true;
            return;
        }
        *zug = Zug{static_cast<Feld>(von), static_cast<Feld>(nach), f, st, nullptr};
        ++stellung_->Anz_moegl_zuege;
    }

    void Normal(int von, int nach) {
        Anhaengen(von, nach, brett_.Feld[von], Rechte_nach(stellung_->Letzter_status, von, nach));
    }

    template <size_t N>
    void Schritte(int feld, const Schritt (&schritte)[N]) {
        for (Schritt s : schritte)
            if (int ziel = Ziel(feld, s); ziel >= 0 && Ziel_frei_oder_gegner(ziel)) Normal(feld, ziel);
    }

    template <size_t N>
    void Strahlen(int feld, const Schritt (&richtungen)[N]) {
        for (Schritt s : richtungen) {
            for (int ziel = Ziel(feld, s); ziel >= 0; ziel = Ziel(ziel, s)) {
                if (brett_.Feld[ziel] == figur::Leer) {
                    Normal(feld, ziel);
                    continue;
                }
                if (Gegner(brett_.Feld[ziel])) Normal(feld, ziel);
                break;
            }
        }
    }

    // Castling needs the king and the rook at home, the right, and the squares between empty.
    void Rochaden(int feld) {
        uint8_t rechte = stellung_->Letzter_status;
        Figur turm = figur::Turm | (schwarz_ ? figur::Schwarz : 0);
        const auto& f = brett_.Feld;
        int heim = schwarz_ ? E8 : E1;
        if (feld != heim) return;
        uint8_t kurz = schwarz_ ? status::Schwarz_kurz : status::Weiss_kurz;
        uint8_t lang = schwarz_ ? status::Schwarz_lang : status::Weiss_lang;
        int basis = schwarz_ ? A8 : A1;
        if ((rechte & kurz) && f[basis + F1] == figur::Leer && f[basis + G1] == figur::Leer &&
            f[basis + H1] == turm)
            Normal(feld, basis + G1);
        if ((rechte & lang) && f[basis + D1] == figur::Leer && f[basis + B1] == figur::Leer &&
            f[basis + C1] == figur::Leer && f[basis + A1] == turm)
            Normal(feld, basis + C1);
    }

    void Bauernzug(int von, int nach) {
        int vorletzte = schwarz_ ? 1 : 6;
        if (Reihe(von) != vorletzte) {
            Normal(von, nach);
            return;
        }
        Figur farbe = schwarz_ ? figur::Schwarz : 0;
        for (Figur neu : kUmwandlungen)
            Anhaengen(von, nach, neu | farbe,
                      Rechte_nach(stellung_->Letzter_status, von, nach) | status::Umwandlung);
    }

    void Bauer(int feld) {
        int vor = schwarz_ ? -1 : 1;
        // En passant: the last move was the opposing pawn's two-square step beside this pawn.
        int ep_reihe = schwarz_ ? 3 : 4;
        int von_reihe = schwarz_ ? 1 : 6;
        int letzt_von = stellung_->Letzter_zug_von, letzt_nach = stellung_->Letzter_zug_nach;
        if (Reihe(feld) == ep_reihe && Reihe(letzt_von) == von_reihe && Reihe(letzt_nach) == ep_reihe &&
            Linie(letzt_von) == Linie(letzt_nach) && Typ(brett_.Feld[letzt_nach]) == figur::Bauer &&
            Gegner(brett_.Feld[letzt_nach])) {
            for (int seite : {-1, 1})
                if (Linie(feld) + seite == Linie(letzt_nach)) Normal(feld, Ziel(feld, {seite, vor}));
        }
        int eins = Ziel(feld, {0, vor});
        if (eins >= 0 && brett_.Feld[eins] == figur::Leer) {
            Bauernzug(feld, eins);
            int start = schwarz_ ? 6 : 1;
            int zwei = Ziel(feld, {0, 2 * vor});
            if (Reihe(feld) == start && brett_.Feld[zwei] == figur::Leer) Normal(feld, zwei);
        }
        for (int seite : {-1, 1})
            if (int ziel = Ziel(feld, {seite, vor}); ziel >= 0 && Gegner(brett_.Feld[ziel]))
                Bauernzug(feld, ziel);
    }

    Stellung* stellung_;
    const std::byte* ende_;
    const Brett& brett_;
    bool schwarz_;
    bool ueberlauf_ = false;
};

// Moves a piece and gives back what stood on the target square.
Figur Ziehen(Brett& brett, int von, int nach) {
    Figur alt = brett.Feld[nach];
    brett.Feld[nach] = brett.Feld[von];
    brett.Feld[von] = figur::Leer;
    return alt;
}

// The rook's move of a castling king that arrives on `nach`.
bool Rochadeturm(int nach, int& turm_von, int& turm_nach) {
    switch (nach) {
        case C1:
            turm_von = A1;
            turm_nach = D1;
            return true;
        case G1:
            turm_von = H1;
            turm_nach = F1;
            return true;
        case C8:
            turm_von = A8;
            turm_nach = D8;
            return true;
        case G8:
            turm_von = H8;
            turm_nach = F8;
            return true;
        default:
            return false;
    }
}

bool Schlaegt_koenig(const Stellung* stellung, const Brett& brett) {
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i)
        if (Typ(brett.Feld[stellung->Zuege()[i].Nach]) == figur::Koenig) return true;
    return false;
}

bool Ist_koenigszug(const Zug& zug, Feld von, Feld nach) {
    return zug.Von == von && zug.Nach == nach && Typ(zug.Figur) == figur::Koenig;
}

}  // namespace

Knotenspeicher::Knotenspeicher() { Block(0); }

std::byte* Knotenspeicher::Block(size_t index) {
    while (bloecke_.size() <= index) bloecke_.push_back(std::make_unique<std::byte[]>(Blockgroesse));
    return bloecke_[index].get();
}

std::byte* Knotenspeicher::Platz(std::byte*& ende, bool neuer_block) {
    if (neuer_block || Blockgroesse - frei_.frei < Mindestplatz) frei_ = Marke{frei_.block + 1, 0};
    std::byte* block = Block(frei_.block);
    ende = block + Blockgroesse;
    return block + frei_.frei;
}

void Knotenspeicher::Belegen(std::byte* ende) {
    size_t belegt = static_cast<size_t>(ende - bloecke_[frei_.block].get());
    frei_.frei = (belegt + kAusrichtung - 1) / kAusrichtung * kAusrichtung;
}

Zug* zuege_erzeugen(Stellung* stellung, const std::byte* ende, const Brett& brett) {
    return Zugliste(stellung, ende, brett).Erzeugen();
}

Stellung* stellung_anlegen(Stellung* eltern, Knotenspeicher& speicher, const Brett& brett, Feld von,
                           Feld nach, Figur geschlagen, uint8_t status, int16_t zugnummer) {
    for (bool neuer_block : {false, true}) {
        std::byte* ende = nullptr;
        std::byte* platz = speicher.Platz(ende, neuer_block);
        auto* stellung = new (platz) Stellung{eltern, zugnummer, von, nach, geschlagen, status, 0};
        if (Zug* listenende = zuege_erzeugen(stellung, ende, brett)) {
            speicher.Belegen(reinterpret_cast<std::byte*>(listenende));
            return stellung;
        }
    }
    return nullptr;
}

Figur zug_machen(Brett& brett, const Stellung* stellung, int i) {
    const Zug& zug = stellung->Zuege()[i];
    int turm_von, turm_nach;
    if (Typ(zug.Figur) == figur::Koenig && std::abs(Linie(zug.Von) - Linie(zug.Nach)) == 2 &&
        Rochadeturm(zug.Nach, turm_von, turm_nach))
        Ziehen(brett, turm_von, turm_nach);
    Figur geschlagen;
    if (Typ(brett.Feld[zug.Von]) == figur::Bauer) {
        geschlagen = Ziehen(brett, zug.Von, zug.Nach);
        if (Linie(zug.Von) != Linie(zug.Nach) && geschlagen == figur::Leer)
            brett.Feld[Reihe(zug.Von) * 8 + Linie(zug.Nach)] = figur::Leer;
    } else {
        geschlagen = Ziehen(brett, zug.Von, zug.Nach);
    }
    if (brett.Feld[zug.Nach] != zug.Figur) brett.Feld[zug.Nach] = zug.Figur;
    return geschlagen;
}

void zug_zuruecknehmen(Feld von, Feld nach, Figur geschlagen, uint8_t st, Brett& brett) {
    Figur figur_auf_nach = brett.Feld[nach];
    bool schwarz = Ist_schwarz(figur_auf_nach);
    int turm_von, turm_nach;
    if (st & status::Umwandlung) {
        brett.Feld[von] = figur::Bauer | (Reihe(nach) >= 4 ? 0 : figur::Schwarz);
        brett.Feld[nach] = geschlagen;
    } else if (Typ(figur_auf_nach) == figur::Koenig && std::abs(Linie(von) - Linie(nach)) == 2 &&
               Rochadeturm(nach, turm_von, turm_nach)) {
        Ziehen(brett, turm_nach, turm_von);
        brett.Feld[von] = figur_auf_nach;
        brett.Feld[nach] = geschlagen;
    } else if (Typ(figur_auf_nach) == figur::Bauer && Linie(von) != Linie(nach) &&
               geschlagen == figur::Leer) {
        brett.Feld[von] = figur_auf_nach;
        brett.Feld[nach] = figur::Leer;
        brett.Feld[Reihe(von) * 8 + Linie(nach)] = figur::Bauer | (schwarz ? 0 : figur::Schwarz);
    } else {
        brett.Feld[von] = figur_auf_nach;
        brett.Feld[nach] = geschlagen;
    }
}

Stellung* zug_ausfuehren(Stellung* stellung, Knotenspeicher& speicher, Brett& brett, int i) {
    if (!stellung) return stellung_anlegen(nullptr, speicher, brett, 0, 0, 0, status::Alle_rochaden, 1);
    Zug& zug = stellung->Zuege()[i];
    Figur geschlagen = zug_machen(brett, stellung, i);
    if (zug.Folgestellung) return zug.Folgestellung;
    Stellung* folge = stellung_anlegen(stellung, speicher, brett, zug.Von, zug.Nach, geschlagen, zug.Status,
                                       Naechster_zug(stellung->Welcher_zug));
    if (!folge) {
        zug_zuruecknehmen(zug.Von, zug.Nach, geschlagen, zug.Status, brett);
        std::exit(1);
    }
    zug.Folgestellung = folge;
    return folge;
}

Stellung* stellung_zurueck(Stellung* stellung, Brett& brett) {
    if (!stellung->Letzt_zug_zeiger) return stellung;
    zug_zuruecknehmen(stellung->Letzter_zug_von, stellung->Letzter_zug_nach, stellung->Geschlagene_figur,
                      stellung->Letzter_status, brett);
    return stellung->Letzt_zug_zeiger;
}

bool im_schach(const Stellung* stellung, const Brett& brett, Knotenspeicher& speicher) {
    Knotenspeicher::Marke marke = speicher.Frei();
    Stellung* gegner = stellung_anlegen(nullptr, speicher, brett, 0, 0, 0, status::Alle_rochaden,
                                        static_cast<int16_t>(-stellung->Welcher_zug));
    bool schach = gegner && Schlaegt_koenig(gegner, brett);
    speicher.Freigeben(marke);
    return schach;
}

void zuege_pruefen(Stellung* stellung, Knotenspeicher& speicher, Brett& brett) {
    Knotenspeicher::Marke anfang = speicher.Frei();
    bool kurz_erlaubt = true, lang_erlaubt = true;
    if (im_schach(stellung, brett, speicher)) kurz_erlaubt = lang_erlaubt = false;
    std::array<bool, 256> markiert{};
    Zug* zuege = stellung->Zuege();
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) {
        Brett kopie = brett;
        Knotenspeicher::Marke vorher = speicher.Frei();
        Stellung* folge = zug_ausfuehren(stellung, speicher, brett, i);
        if (Schlaegt_koenig(folge, brett)) {
            markiert[static_cast<size_t>(i)] = true;
            if (Ist_koenigszug(zuege[i], E1, F1) || Ist_koenigszug(zuege[i], E8, F8)) kurz_erlaubt = false;
            if (Ist_koenigszug(zuege[i], E1, D1) || Ist_koenigszug(zuege[i], E8, D8)) lang_erlaubt = false;
        }
        brett = kopie;
        speicher.Freigeben(vorher);
        zuege[i].Folgestellung = nullptr;
    }
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) {
        const Zug& zug = zuege[i];
        if ((!kurz_erlaubt && (Ist_koenigszug(zug, E1, G1) || Ist_koenigszug(zug, E8, G8))) ||
            (!lang_erlaubt && (Ist_koenigszug(zug, E1, C1) || Ist_koenigszug(zug, E8, C8))))
            markiert[static_cast<size_t>(i)] = true;
    }
    for (int i = 0; i < stellung->Anz_moegl_zuege;) {
        if (!markiert[static_cast<size_t>(i)]) {
            ++i;
            continue;
        }
        int letzter = --stellung->Anz_moegl_zuege;
        zuege[i] = zuege[letzter];
        markiert[static_cast<size_t>(i)] = markiert[static_cast<size_t>(letzter)];
    }
    speicher.Freigeben(anfang);
}

int zug_suchen(const Stellung* stellung, std::string_view text, std::string& engine_text,
               std::string& meldung) {
    if (text.empty() || !stellung) return -1;
    if (std::isdigit(static_cast<unsigned char>(text[0]))) {
        long k = std::strtol(std::string(text).c_str(), nullptr, 10) - 1;
        if (k < 0 || k >= stellung->Anz_moegl_zuege) return -1;
        // A move chosen by its number goes to the engine as its list text.
        engine_text = listen_text(stellung, static_cast<int>(k));
        return static_cast<int>(k);
    }
    if (text.size() < 4) return -1;
    auto f = [](char c) { return (c - 1) % 8; };
    int von = f(text[0]) + 8 * f(text[1]);
    int nach = f(text[2]) + 8 * f(text[3]);
    Figur gewuenscht =
        text.size() > 4 ? Typ(Figur_aus_deutschem_buchstaben(Englisch_nach_deutsch(text[4]))) : 0;
    int ergebnis = -1;
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) {
        const Zug& zug = stellung->Zuege()[i];
        if (zug.Von != von || zug.Nach != nach) continue;
        engine_text = std::string(text.substr(0, 4));
        if (!(zug.Status & status::Umwandlung)) {
            ergebnis = i;
            continue;
        }
        if (text.size() > 4) engine_text += Deutsch_nach_englisch(text[4]);
        if (gewuenscht == 0) {
            if (meldung.empty()) meldung = "\n" + std::string(kFehler_umwandlung) + "\n";
        } else if (gewuenscht == Typ(zug.Figur)) {
            ergebnis = i;
        }
    }
    return ergebnis;
}

std::string zug_text(const Stellung* stellung, int i) {
    const Zug& zug = stellung->Zuege()[i];
    std::string text = Feld_text(zug.Von) + Feld_text(zug.Nach);
    if (zug.Status & status::Umwandlung) text += Deutscher_buchstabe(Typ(zug.Figur));
    return text;
}

std::string listen_text(const Stellung* stellung, int i) {
    const Zug& zug = stellung->Zuege()[i];
    std::string text = Feld_text(zug.Von) + Feld_text(zug.Nach);
    if (zug.Status & status::Umwandlung) text += Englischer_buchstabe(Typ(zug.Figur));
    return text;
}

const Zug* gespielter_zug(const Stellung* stellung) {
    const Stellung* eltern = stellung ? stellung->Letzt_zug_zeiger : nullptr;
    if (!eltern) return nullptr;
    for (int i = 0; i < eltern->Anz_moegl_zuege; ++i)
        if (eltern->Zuege()[i].Folgestellung == stellung) return &eltern->Zuege()[i];
    return nullptr;
}

std::vector<std::string> partie_zuege(const Stellung* stellung) {
    std::vector<std::string> zuege;
    for (; stellung && stellung->Letzt_zug_zeiger; stellung = stellung->Letzt_zug_zeiger) {
        const Stellung* eltern = stellung->Letzt_zug_zeiger;
        const Zug* zug = gespielter_zug(stellung);
        zuege.push_back(zug ? listen_text(eltern, static_cast<int>(zug - eltern->Zuege())) : std::string());
    }
    return {zuege.rbegin(), zuege.rend()};
}

namespace {

// A pawn move or a capture resets the count of the fifty-move rule.
int Halbzuege_ohne_schlag_oder_bauer(const Stellung* stellung) {
    int halbzuege = 0;
    for (; stellung && stellung->Letzt_zug_zeiger; stellung = stellung->Letzt_zug_zeiger, ++halbzuege) {
        const Zug* zug = gespielter_zug(stellung);
        if (!zug || Typ(zug->Figur) == figur::Bauer || (zug->Status & status::Umwandlung) ||
            stellung->Geschlagene_figur != figur::Leer)
            break;
    }
    return halbzuege;
}

// Rights whose king and rook still stand at home: the rules keep a right until the king or rook
// moves, so a right whose rook has gone is not one to announce.
std::string Rochadefeld(const Brett& brett, uint8_t rechte) {
    const struct {
        uint8_t recht;
        int koenig, turm;
        Figur farbe;
        char buchstabe;
    } rochaden[] = {{status::Weiss_kurz, E1, H1, 0, 'K'},
                    {status::Weiss_lang, E1, A1, 0, 'Q'},
                    {status::Schwarz_kurz, E8, H8, figur::Schwarz, 'k'},
                    {status::Schwarz_lang, E8, A8, figur::Schwarz, 'q'}};
    std::string feld;
    for (const auto& r : rochaden)
        if ((rechte & r.recht) && brett.Feld[r.koenig] == (figur::Koenig | r.farbe) &&
            brett.Feld[r.turm] == (figur::Turm | r.farbe))
            feld += r.buchstabe;
    return feld.empty() ? "-" : feld;
}

// The square behind a pawn that has just made its double step, when the side to move can take
// it en passant (the node's list holds only legal moves).
std::string En_passant_feld(const Brett& brett, const Stellung* stellung) {
    const Zug* zug = gespielter_zug(stellung);
    if (!zug || Typ(zug->Figur) != figur::Bauer || std::abs(Reihe(zug->Von) - Reihe(zug->Nach)) != 2)
        return "-";
    const int hinter = (zug->Von + zug->Nach) / 2;
    for (int i = 0; i < stellung->Anz_moegl_zuege; ++i) {
        const Zug& antwort = stellung->Zuege()[i];
        if (antwort.Nach == hinter && Typ(brett.Feld[antwort.Von]) == figur::Bauer) return Feld_text(hinter);
    }
    return "-";
}

}  // namespace

std::string fen_text(const Brett& brett, const Stellung* stellung) {
    std::string fen;
    for (int reihe = 7; reihe >= 0; --reihe) {
        int leer = 0;
        for (int linie = 0; linie < 8; ++linie) {
            Figur f = brett.Feld[reihe * 8 + linie];
            if (f == figur::Leer) {
                ++leer;
                continue;
            }
            if (leer) fen += static_cast<char>('0' + leer);
            leer = 0;
            fen += Englischer_buchstabe(f);
        }
        if (leer) fen += static_cast<char>('0' + leer);
        if (reihe > 0) fen += '/';
    }
    fen += stellung->Weiss_am_zug() ? " w " : " b ";
    fen += Rochadefeld(brett, stellung->Letzter_status) + " " + En_passant_feld(brett, stellung) + " " +
           std::to_string(Halbzuege_ohne_schlag_oder_bauer(stellung)) + " " +
           std::to_string(std::abs(stellung->Welcher_zug));
    return fen;
}

}  // namespace dravel
