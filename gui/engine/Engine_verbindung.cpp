#include "gui/engine/Engine_verbindung.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace dravel {

namespace {

constexpr int kWartetakt_ms = 50;
constexpr std::chrono::milliseconds kQuit_frist{100};
constexpr size_t kBefehl_grenze = 4094;

bool Ausfuehrbar(const std::filesystem::path& pfad) {
    std::error_code fehler;
    return std::filesystem::is_regular_file(pfad, fehler) && ::access(pfad.c_str(), X_OK) == 0;
}

bool Beginnt_mit(std::string_view zeile, std::string_view anfang) {
    return zeile.substr(0, anfang.size()) == anfang;
}

}  // namespace

std::string Programm_suchen(const std::string& name) {
    if (name.find('/') != std::string::npos) return Ausfuehrbar(name) ? name : std::string();
    std::error_code fehler;
    auto eigenes = std::filesystem::read_symlink("/proc/self/exe", fehler);
    if (!fehler && Ausfuehrbar(eigenes.parent_path() / name)) return (eigenes.parent_path() / name).string();
    if (Ausfuehrbar(std::filesystem::current_path(fehler) / name))
        return (std::filesystem::current_path(fehler) / name).string();
    const char* pfad = std::getenv("PATH");
    std::string_view rest = pfad ? pfad : "";
    while (!rest.empty()) {
        size_t doppelpunkt = rest.find(':');
        std::filesystem::path kandidat =
            std::filesystem::path(std::string(rest.substr(0, doppelpunkt))) / name;
        if (Ausfuehrbar(kandidat)) return kandidat.string();
        rest = doppelpunkt == std::string_view::npos ? std::string_view() : rest.substr(doppelpunkt + 1);
    }
    return {};
}

int Engine_verbindung::engine_starten() {
    // An engine that has died must not take this program with it at the next line written.
    std::signal(SIGPIPE, SIG_IGN);
    info_text_.clear();
    puffer_.clear();
    abbrechen_ = false;
    std::string pfad = Programm_suchen(programm_);
    int ausgabe[2], eingabe[2];
    if (::pipe2(ausgabe, O_CLOEXEC) != 0) return 1;
    if (::pipe2(eingabe, O_CLOEXEC) != 0) {
        ::close(ausgabe[0]);
        ::close(ausgabe[1]);
        return 2;
    }
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_adddup2(&aktionen, eingabe[0], 0);
    posix_spawn_file_actions_adddup2(&aktionen, ausgabe[1], 1);
    posix_spawn_file_actions_adddup2(&aktionen, ausgabe[1], 2);
    // The engine runs in its own directory; this program's directory stays as it is.
    std::string verzeichnis = std::filesystem::path(pfad).parent_path().string();
    if (!verzeichnis.empty()) posix_spawn_file_actions_addchdir_np(&aktionen, verzeichnis.c_str());
    std::string name = std::filesystem::path(pfad).filename().string();
    char* argv[] = {name.data(), nullptr};
    // A process group of its own: ending it ends the engine that kelvane started too.
    posix_spawnattr_t attribute;
    posix_spawnattr_init(&attribute);
    posix_spawnattr_setflags(&attribute, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attribute, 0);
    pid_t pid = -1;
    int ergebnis =
        pfad.empty() ? ENOENT : posix_spawn(&pid, pfad.c_str(), &aktionen, &attribute, argv, environ);
    posix_spawn_file_actions_destroy(&aktionen);
    posix_spawnattr_destroy(&attribute);
    ::close(eingabe[0]);
    ::close(ausgabe[1]);
    if (ergebnis != 0) {
        ::close(eingabe[1]);
        ::close(ausgabe[0]);
        return 4;
    }
    pid_ = pid;
    an_engine_ = eingabe[1];
    von_engine_ = ausgabe[0];
    return 0;
}

void Engine_verbindung::befehl_senden(std::string_view text) {
    if (an_engine_ < 0) return;
    std::string zeile(text.substr(0, std::min(text.find('\r'), kBefehl_grenze)));
    zeile += "\r\n";
    std::string_view rest = zeile;
    while (!rest.empty()) {
        ssize_t n = ::write(an_engine_, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        rest.remove_prefix(static_cast<size_t>(n));
    }
}

bool Engine_verbindung::zeile_lesen(std::string& zeile) {
    while (true) {
        size_t ende = puffer_.find('\n');
        if (ende != std::string::npos || puffer_.size() >= Zeilen_grenze - 1) {
            size_t laenge = ende == std::string::npos ? Zeilen_grenze - 1 : std::min(ende, Zeilen_grenze - 1);
            zeile = puffer_.substr(0, laenge);
            puffer_.erase(0, laenge + (ende == laenge ? 1 : 0));
            return true;
        }
        if (von_engine_ < 0 || abbrechen_) return false;
        pollfd anfrage{von_engine_, POLLIN, 0};
        int bereit = ::poll(&anfrage, 1, kWartetakt_ms);
        if (bereit == 0 || (bereit < 0 && errno == EINTR)) {
            if (rueckruf_) rueckruf_();
            if (abbrechen_) return false;
            continue;
        }
        char stueck[4096];
        ssize_t n = ::read(von_engine_, stueck, sizeof stueck);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        puffer_.append(stueck, static_cast<size_t>(n));
    }
}

bool Engine_verbindung::info_lesen(std::string& zeile) {
    while (zeile_lesen(zeile)) {
        if (!Beginnt_mit(zeile, "info")) return true;
        if (zeile.size() > 15) Info_text_anhaengen(zeile.substr(11) + "\n");
        if (rueckruf_) rueckruf_();
    }
    return false;
}

Engine_verbindung::Warteergebnis Engine_verbindung::antwort_abwarten(std::string& zeile,
                                                                     std::string& ergebnis_text) {
    ergebnis_text.clear();
    std::string antwort, gelesen;
    while (zeile_lesen(gelesen)) {
        if (rueckruf_) rueckruf_();
        if (abbrechen_) break;
        if (!gelesen.empty() && gelesen.back() == '\r') gelesen.pop_back();
        if (gelesen == kAntwort_ende) {
            zeile = antwort;
            return Warteergebnis::Antwort;
        }
        if (antwort.empty() && (Beginnt_mit(gelesen, "move") || Beginnt_mit(gelesen, "Engine")))
            antwort = gelesen;
        if (ergebnis_text.empty() && (Beginnt_mit(gelesen, "1-0 {") || Beginnt_mit(gelesen, "0-1 {") ||
                                      Beginnt_mit(gelesen, "1/2-1/2 {")))
            ergebnis_text = gelesen;
    }
    zeile = antwort;
    if (!abbrechen_) return Warteergebnis::Verloren;
    abbrechen_ = false;
    engine_verloren();
    return Warteergebnis::Abgebrochen;
}

void Engine_verbindung::engine_beenden() {
    if (!Laeuft()) return;
    befehl_senden("quit");
    std::this_thread::sleep_for(kQuit_frist);
    ::kill(-pid_, SIGKILL);
    Schliessen();
}

void Engine_verbindung::engine_verloren() {
    if (Laeuft()) ::kill(-pid_, SIGKILL);
    Schliessen();
}

void Engine_verbindung::Schliessen() {
    if (an_engine_ >= 0) ::close(an_engine_);
    if (von_engine_ >= 0) ::close(von_engine_);
    an_engine_ = von_engine_ = -1;
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
    puffer_.clear();
    abbrechen_ = false;
}

}  // namespace dravel
