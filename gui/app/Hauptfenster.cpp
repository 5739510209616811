#include "gui/app/Hauptfenster.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <filesystem>
#include <fstream>

#include "gui/app/Brettansicht.h"
#include "gui/app/Einstellungen.h"
#include "gui/app/Info_dialog.h"
#include "gui/app/Rueckfragen.h"
#include "gui/app/Zug_dialog.h"
#include "gui/app/Zugliste_dialog.h"

namespace dravel {

namespace {

constexpr const char* kAnleitung =
    " short instructions: \n ========= \n"
    " 1. The official rules of chess apply.                   \n"
    "    Castling is possible unless the king or the rook     \n"
    "    has moved or the king is in check; pawns can be      \n"
    "    captured en passant; a pawn promoted by the mouse    \n"
    "    becomes a queen.                                     \n"
    " 2. To move, click a piece and then its target square,   \n"
    "    or choose one of the possible moves with F3.         \n"
    " 3. To play Black, let the computer make the first move  \n"
    "    with F8 and turn the board with F7.                  \n";

// The share of the screen's height that the window's normal size takes.
constexpr double kFensteranteil = 0.85;

struct Menuepunkt {
    const char* text;
    int id;  // 0 for a separator
};

}  // namespace

Hauptfenster::Hauptfenster(Rueckfragen& rueckfragen, std::string engine_programm)
    : rueckfragen_(rueckfragen),
      engine_(std::move(engine_programm)),
      schach_(engine_),
      partie_(std::make_unique<Partie>(schach_)),
      einstellungen_(new Einstellungen(this)) {
    setWindowTitle("Kelvane GUI - chess program");
    ansicht_ = new Brettansicht(
        {[this] { return bild(); }, [this] { gemalt(); }, [this](Anzeigefeld feld) { feld_geklickt(feld); }},
        this);
    setCentralWidget(ansicht_);
    menue_anlegen();
    const struct {
        Qt::Key taste;
        int id;
    } tasten[] = {{Qt::Key_F1, befehl_id::Info},
                  {Qt::Key_F2, befehl_id::Zug_eingeben},
                  {Qt::Key_F3, befehl_id::Moegliche_zuege},
                  {Qt::Key_F7, befehl_id::Brett_drehen},
                  {Qt::Key_F8, befehl_id::Computer}};
    for (const auto& taste : tasten) {
        auto* kurz = new QShortcut(QKeySequence(taste.taste), this);
        connect(kurz, &QShortcut::activated, this, [this, id = taste.id] { befehl_ausfuehren(id); });
    }
    leerlauf_.setSingleShot(true);
    leerlauf_.setInterval(0);
    connect(&leerlauf_, &QTimer::timeout, this, [this] { leerlauf(); });
    // The window stays alive while the engine thinks.
    engine_.Rueckruf_setzen([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    normalgroesse_setzen();
}

// The size the window has when it is not maximised: most of the screen, the board square.
void Hauptfenster::normalgroesse_setzen() {
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    if (!bildschirm) return;
    const QRect verfuegbar = bildschirm->availableGeometry();
    const int menue = menuBar()->sizeHint().height();
    const int seite = std::min(static_cast<int>(verfuegbar.height() * kFensteranteil) - menue,
                               static_cast<int>(verfuegbar.width() * kFensteranteil));
    const QSize groesse(seite, seite + menue);
    resize(groesse);
    move(verfuegbar.center() - QPoint(groesse.width() / 2, groesse.height() / 2));
}

Hauptfenster::~Hauptfenster() { engine_.Rueckruf_setzen(nullptr); }

void Hauptfenster::menue_anlegen() {
    const struct {
        const char* titel;
        std::vector<Menuepunkt> punkte;
    } menues[] = {
        {"&File",
         {{nullptr, 0},
          {"&New game", befehl_id::Neues_spiel},
          {"&Save game", befehl_id::Speichern},
          {"&Load game", befehl_id::Laden},
          {nullptr, 0},
          {"&Exit chess program ", befehl_id::Beenden}}},
        {"&Moves",
         {{"&Computer \tF8", befehl_id::Computer},
          {"Draw m&ove \tF2", befehl_id::Zug_eingeben},
          {"&Possible moves \tF3", befehl_id::Moegliche_zuege}}},
        {"Se&tup",
         {{"&Main setup", befehl_id::Einstellungen}, {"&Turn board \tF7", befehl_id::Brett_drehen}}},
        {"&Help",
         {{"&About chess...\tF1", befehl_id::Info},
          {"&About engine Kelvane", befehl_id::Ueber_engine},
          {"&Instructions", befehl_id::Anleitung}}},
    };
    for (const auto& menue : menues) {
        QMenu* liste = menuBar()->addMenu(menue.titel);
        for (const Menuepunkt& punkt : menue.punkte) {
            if (!punkt.text) {
                liste->addSeparator();
                continue;
            }
            QAction* aktion = liste->addAction(punkt.text);
            aktion->setData(punkt.id);
            aktion->setObjectName(QString::number(punkt.id));
            connect(aktion, &QAction::triggered, this, [this, id = punkt.id] { befehl_ausfuehren(id); });
        }
    }
}

void Hauptfenster::befehl_ausfuehren(int id) {
    // A second exchange with the game core inside the wait for the engine would corrupt the game.
    const bool braucht_spiel = id == befehl_id::Neues_spiel || id == befehl_id::Laden ||
                               id == befehl_id::Computer || id == befehl_id::Zug_eingeben ||
                               id == befehl_id::Moegliche_zuege || id == befehl_id::Ueber_engine;
    if (braucht_spiel && engine_wartet_) {
        // A new game or a load ends the wait, and runs when the wait has returned.
        if (id == befehl_id::Neues_spiel || id == befehl_id::Laden) {
            nach_dem_warten_ = id;
            engine_.Warten_abbrechen();
        }
        return;
    }
    switch (id) {
        case befehl_id::Neues_spiel:
            neues_spiel();
            break;
        case befehl_id::Speichern:
            spiel_speichern();
            break;
        case befehl_id::Laden:
            spiel_laden();
            break;
        case befehl_id::Beenden:
            close();
            break;
        case befehl_id::Computer:
            computerzug();
            break;
        case befehl_id::Zug_eingeben:
            zug_eingeben();
            break;
        case befehl_id::Moegliche_zuege:
            moegliche_zuege();
            break;
        case befehl_id::Einstellungen:
            einstellungen_->anzeigen();
            rueckfragen_.dialog_ausfuehren(*einstellungen_);
            break;
        case befehl_id::Brett_drehen:
            brett_drehen();
            break;
        case befehl_id::Info: {
            Info_dialog dialog(this);
            rueckfragen_.dialog_ausfuehren(dialog);
            break;
        }
        case befehl_id::Anleitung:
            rueckfragen_.meldung(this, kAnleitung, "instruction");
            break;
        case befehl_id::Ueber_engine: {
            std::string antwort = engine_befehl("V");
            if (!schliessen_angefordert_)
                rueckfragen_.meldung(this, QString::fromStdString(antwort), "About engine");
            break;
        }
        default:
            break;
    }
}

void Hauptfenster::feld_geklickt(Anzeigefeld feld) {
    if (engine_wartet_) return;
    if (auswahl_.aktiv && feld == Anzeigefeld{auswahl_.spalte, auswahl_.zeile}) return;
    if (!auswahl_.aktiv) {
        auswahl_ = {true, feld.spalte, feld.zeile};
        neu_zeichnen();
        return;
    }
    const std::string text = klickzug_text({auswahl_.spalte, auswahl_.zeile}, feld, brett_gedreht_).substr(1);
    auswahl_ = Auswahl{};
    menschlicher_zug(text);
    neu_zeichnen();
}

void Hauptfenster::neu_zeichnen() {
    neu_zeichnen_ = true;
    anstossen();
}

// The idle handler runs from a zero timer, armed whenever there is something for it to do.
void Hauptfenster::anstossen() {
    if (!leerlauf_.isActive()) leerlauf_.start();
}

void Hauptfenster::leerlauf() {
    if (neu_zeichnen_) {
        neu_zeichnen_ = false;
        // A window that cannot be seen is not painted; its board counts as shown.
        if (ansicht_->isVisible() && !isMinimized())
            ansicht_->update();
        else
            gemalt();
    }
    if (computer_am_zug_ && !engine_wartet_) {
        computer_am_zug_ = false;
        computerzug();
    }
}

void Hauptfenster::gemalt() {
    if (!antwort_ausstehend_) return;
    antwort_ausstehend_ = false;
    computer_am_zug_ = true;
    anstossen();
}

QImage Hauptfenster::bild() const {
    std::optional<Markierungen> markierungen;
    if (einstellungen_->Markierungen_zeigen()) {
        markierungen = Markierungen{};
        const Stellung* stellung = schach_.Aktuelle_stellung();
        if (stellung && stellung->Letzt_zug_zeiger)
            markierungen = Markierungen{stellung->Letzter_zug_von, stellung->Letzter_zug_nach, -1};
        markierungen->schach = schach_.Schachfeld();
    }
    return brett_malen(schach_.Aktuelles_brett(), brett_gedreht_, auswahl_, bilder_, markierungen);
}

// Tells the player once that the game is over: mate or stalemate on the board, or the engine's
// own result.
void Hauptfenster::spielende_melden() {
    if (ende_gemeldet_ || schach_.Ergebnis_text().empty()) return;
    ende_gemeldet_ = true;
    rueckfragen_.meldung(this, QString::fromStdString(schach_.Ergebnis_text()), QString());
}

void Hauptfenster::menschlicher_zug(const std::string& zug) {
    if (schach_.befehl("B" + zug).empty()) {
        neu_zeichnen();
        partie_->zug_aufzeichnen();
        if (!schach_.Ergebnis_text().empty())
            spielende_melden();
        else if (einstellungen_->Automatisch_antworten())
            antwort_ausstehend_ = true;
        return;
    }
    const std::string text =
        " The move :" + zug.substr(0, 4) + " is impossible \n \n Do you like to choose another one ?";
    if (rueckfragen_.frage(this, QString::fromStdString(text), " impossible move") ==
        Rueckfragen::Antwort::Ja)
        moegliche_zuege();
}

// Sends a command that may wait for the engine, with the wait cursor shown.
std::string Hauptfenster::engine_befehl(const std::string& kommando) {
    engine_wartet_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string antwort = schach_.befehl(kommando);
    QApplication::restoreOverrideCursor();
    engine_wartet_ = false;
    if (schliessen_angefordert_) close();
    return antwort;
}

// Runs the new game or load that ended the wait for the engine.
void Hauptfenster::nachholen() {
    const int id = nach_dem_warten_;
    nach_dem_warten_ = 0;
    if (id != 0 && !schliessen_angefordert_) befehl_ausfuehren(id);
}

void Hauptfenster::computerzug() {
    if (beim_computerzug_) beim_computerzug_();
    std::string antwort = engine_befehl(einstellungen_->Computerzug_befehl());
    if (schliessen_angefordert_) return;
    neu_zeichnen();
    if (schach_.Computerzug_abgebrochen()) {
        nachholen();
        return;
    }
    // The record follows the board: a move the engine refused has been taken back.
    if (antwort.empty())
        partie_->zug_aufzeichnen();
    else
        partie_->abgleichen();
    if (!antwort.empty()) {
        if (!schach_.Ergebnis_text().empty()) ende_gemeldet_ = true;
        rueckfragen_.meldung(this, QString::fromStdString(antwort), QString());
    }
    spielende_melden();
    nachholen();
}

void Hauptfenster::neues_spiel() {
    partie_.reset();
    partie_ = std::make_unique<Partie>(schach_);
    ende_gemeldet_ = false;
    antwort_ausstehend_ = computer_am_zug_ = false;
    auswahl_ = Auswahl{};
    neu_zeichnen();
}

void Hauptfenster::spiel_speichern() {
    std::optional<QString> pfad = rueckfragen_.speicherpfad(this);
    if (!pfad) return;
    std::string fehler = partie_->speichern(QFile::encodeName(*pfad).toStdString());
    if (!fehler.empty()) rueckfragen_.meldung(this, QString::fromStdString(fehler), QString());
}

void Hauptfenster::spiel_laden() {
    std::optional<QString> pfad = rueckfragen_.oeffnungspfad(this);
    if (!pfad) return;
    const std::filesystem::path datei_pfad(QFile::encodeName(*pfad).toStdString());
    std::error_code fehler;
    std::ifstream datei;
    if (!std::filesystem::is_directory(datei_pfad, fehler)) datei.open(datei_pfad, std::ios::binary);
    if (!datei.is_open()) {
        rueckfragen_.meldung(this, kLesefehler, QString());
        return;
    }
    neues_spiel();
    std::string meldung = partie_->laden(datei);
    if (datei.bad()) meldung = kLesefehler;
    if (!meldung.empty()) rueckfragen_.meldung(this, QString::fromStdString(meldung), QString());
    spielende_melden();
}

void Hauptfenster::zug_eingeben() {
    Zug_dialog dialog(this);
    if (!rueckfragen_.dialog_ausfuehren(dialog)) return;
    std::string zug = dialog.Zug();
    if (!zug.empty()) menschlicher_zug(zug);
}

void Hauptfenster::moegliche_zuege() {
    Zugliste_dialog dialog(schach_, this);
    if (!rueckfragen_.dialog_ausfuehren(dialog)) return;
    std::string zug = dialog.Gewaehlter_zug();
    if (!zug.empty()) menschlicher_zug(zug);
}

void Hauptfenster::brett_drehen() {
    neu_zeichnen();
    brett_gedreht_ = !brett_gedreht_;
    auswahl_ = Auswahl{};
}

void Hauptfenster::closeEvent(QCloseEvent* ereignis) {
    if (engine_wartet_) {
        // The wait ends now; the window closes once the waiting command has returned.
        schliessen_angefordert_ = true;
        engine_.Warten_abbrechen();
        ereignis->ignore();
        return;
    }
    schach_.befehl("X");
    engine_.engine_beenden();
    ereignis->accept();
}

}  // namespace dravel
