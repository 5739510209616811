#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace dravel {

// The line kelvane ends each reply with, once its engine has shown (by ping and pong) that it
// has nothing more to say: lines that belong to one request are never read as the next one's.
inline constexpr std::string_view kAntwort_ende = "done";

// The link to the engine program: started with two pipes, sent command lines, read line by line.
// Reads wait with a time limit and call the waiting callback meanwhile, so a window stays alive
// while the engine thinks; the callback also runs between the engine's lines.
class Engine_verbindung {
public:
    static constexpr size_t Info_grenze = 4096;
    static constexpr size_t Zeilen_grenze = 500;

    enum class Warteergebnis {
        Antwort,      // the reply is complete
        Abgebrochen,  // the wait was given up (Warten_abbrechen); the engine has been ended
        Verloren,     // the engine's output ended
    };

    // The engine program: "kelvane" searched in this program's directory, the current directory
    // and PATH; or the program given.
    explicit Engine_verbindung(std::string programm = "kelvane") : programm_(std::move(programm)) {}
    ~Engine_verbindung() { engine_beenden(); }
    Engine_verbindung(const Engine_verbindung&) = delete;
    Engine_verbindung& operator=(const Engine_verbindung&) = delete;

    void Rueckruf_setzen(std::function<void()> rueckruf) { rueckruf_ = std::move(rueckruf); }
    // 0 when the engine runs; 1 output pipe, 2 input pipe, 4 program not found or not started.
    int engine_starten();
    void befehl_senden(std::string_view text);
    // One line without its line feed; false when the engine's output has ended.
    bool zeile_lesen(std::string& zeile);
    // Collects "info" lines into the information text; gives back the first other line.
    bool info_lesen(std::string& zeile);
    // Reads one reply up to its end line: the first "move" or "Engine" line is left in `zeile`
    // (empty if none came), the first result line goes to ergebnis_text, all else is skipped.
    Warteergebnis antwort_abwarten(std::string& zeile, std::string& ergebnis_text);
    // Called from the waiting callback: the running wait ends and the engine with it, since
    // what it still owes could only be read as the answer to a later request.
    void Warten_abbrechen() { abbrechen_ = true; }
    bool Abbruch_angefordert() const { return abbrechen_; }
    // Sends "quit", gives the engine 100 ms, then ends it.
    void engine_beenden();
    // Closes the pipes of an engine whose output has ended, and reaps it.
    void engine_verloren();

    bool Laeuft() const { return pid_ > 0; }
    // Adds to the information text (the greeting adds its first plain line), within its bound.
    void Info_text_anhaengen(std::string_view text) {
        info_text_ += text;
        if (info_text_.size() > Info_grenze) info_text_.resize(Info_grenze);
    }
    const std::string& Info_text() const { return info_text_; }
    const std::string& Programmname() const { return programm_; }

private:
    void Schliessen();

    std::string programm_;
    std::function<void()> rueckruf_;
    std::string info_text_;
    std::string puffer_;
    bool abbrechen_ = false;
    pid_t pid_ = -1;
    int an_engine_ = -1;
    int von_engine_ = -1;
};

// The engine program's path: this program's directory, the current directory, then PATH.
std::string Programm_suchen(const std::string& name);

}  // namespace dravel
