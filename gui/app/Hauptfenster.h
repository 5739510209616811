#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "gui/app/Brettbild.h"
#include "gui/app/Figurenbilder.h"
#include "gui/app/Mauseingabe.h"
#include "gui/app/Partie.h"
#include "gui/engine/Engine_verbindung.h"
#include "gui/rules/Schach.h"

namespace dravel {

class Brettansicht;
class Einstellungen;
class Rueckfragen;

// The command IDs of the menu and the accelerators.
namespace befehl_id {
inline constexpr int Info = 100;
inline constexpr int Einstellungen = 109;
inline constexpr int Beenden = 110;
inline constexpr int Neues_spiel = 111;
inline constexpr int Computer = 120;
inline constexpr int Zug_eingeben = 121;
inline constexpr int Moegliche_zuege = 122;
inline constexpr int Speichern = 1008;
inline constexpr int Laden = 1009;
inline constexpr int Brett_drehen = 1010;
inline constexpr int Anleitung = 32779;
inline constexpr int Ueber_engine = 32780;
}  // namespace befehl_id

// The frame window: the board, the menu and its commands, and the idle cycle that asks the
// engine for its move only after the human move is on the screen. It owns the engine link, the
// game core and the game record.
class Hauptfenster : public QMainWindow {
public:
    explicit Hauptfenster(Rueckfragen& rueckfragen, std::string engine_programm = "kelvane");
    ~Hauptfenster() override;

    // Runs a command of the menu or the accelerators.
    void befehl_ausfuehren(int id);
    // A click on a display square: the first chooses it, the second completes the move.
    void feld_geklickt(Anzeigefeld feld);

    Schach& Spiel() { return schach_; }
    const Partie& Aktuelle_partie() const { return *partie_; }
    Einstellungen& Setup() { return *einstellungen_; }
    Brettansicht& Ansicht() { return *ansicht_; }
    const Auswahl& Gewaehltes_feld() const { return auswahl_; }
    bool Brett_gedreht() const { return brett_gedreht_; }
    // True while a command waits for the engine; the commands that use the game core are ignored.
    bool Engine_wartet() const { return engine_wartet_; }
    // Called as a computer move begins, before the engine is asked.
    void Beim_computerzug(std::function<void()> rueckruf) { beim_computerzug_ = std::move(rueckruf); }

protected:
    void closeEvent(QCloseEvent* ereignis) override;

private:
    void menue_anlegen();
    void neu_zeichnen();
    void anstossen();
    void leerlauf();
    void gemalt();
    QImage bild() const;

    void normalgroesse_setzen();
    void spielende_melden();
    void menschlicher_zug(const std::string& zug);
    void computerzug();
    std::string engine_befehl(const std::string& kommando);
    void nachholen();
    void neues_spiel();
    void spiel_speichern();
    void spiel_laden();
    void zug_eingeben();
    void moegliche_zuege();
    void brett_drehen();

    Rueckfragen& rueckfragen_;
    Engine_verbindung engine_;
    Schach schach_;
    std::unique_ptr<Partie> partie_;
    Einstellungen* einstellungen_;
    Figurenbilder bilder_;
    Brettansicht* ansicht_;
    Auswahl auswahl_;
    bool brett_gedreht_ = false;
    bool neu_zeichnen_ = false;
    bool computer_am_zug_ = false;
    bool antwort_ausstehend_ = false;
    bool engine_wartet_ = false;
    bool schliessen_angefordert_ = false;
    // A command that ended the wait for the engine, run once the wait has returned.
    int nach_dem_warten_ = 0;
    // The result of this game has been shown to the player.
    bool ende_gemeldet_ = false;
    QTimer leerlauf_;
    std::function<void()> beim_computerzug_;
};

}  // namespace dravel
