#include "gui/app/Dateifehler.h"

#include <cerrno>

namespace dravel {

Dateifehler fehler_aus_errno(int nummer, bool beim_schreiben) {
    switch (nummer) {
        case ENOENT:
            return beim_schreiben ? Dateifehler::Pfad_ungueltig : Dateifehler::Nicht_gefunden;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return Dateifehler::Pfad_ungueltig;
        case EMFILE:
        case ENFILE:
            return Dateifehler::Zu_viele_dateien;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return Dateifehler::Zugriff_verweigert;
        case EBADF:
            return Dateifehler::Ungueltige_datei;
        case ESPIPE:
            return Dateifehler::Falsche_position;
        case EIO:
            return Dateifehler::Hardware;
        case ETXTBSY:
            return Dateifehler::Teilungsverletzung;
        case EDEADLK:
            return Dateifehler::Sperrverletzung;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return Dateifehler::Platte_voll;
        default:
            return Dateifehler::Keiner;
    }
}

std::string_view fehler_text(Dateifehler ursache) {
    switch (ursache) {
        case Dateifehler::Nicht_gefunden:
            return "The file could not be located.";
        case Dateifehler::Pfad_ungueltig:
            return "All or part of the path is invalid.";
        case Dateifehler::Zu_viele_dateien:
            return "The permitted number of open files was exceeded.";
        case Dateifehler::Zugriff_verweigert:
            return "The file could not be accessed.";
        case Dateifehler::Ungueltige_datei:
            return "There was an attempt to use an invalid file handle.";
        case Dateifehler::Aktuelles_verzeichnis:
            return "The current working directory cannot be removed.";
        case Dateifehler::Verzeichnis_voll:
            return "There are no more directory entries.";
        case Dateifehler::Falsche_position:
            return "There was an error trying to set the file pointer.";
        case Dateifehler::Hardware:
            return "There was a hardware error.";
        case Dateifehler::Teilungsverletzung:
            return "SHARE.EXE was not loaded, or a shared region was locked.";
        case Dateifehler::Sperrverletzung:
            return "There was an attempt to lock a region that was already locked.";
        case Dateifehler::Platte_voll:
            return "The disk is full.";
        case Dateifehler::Dateiende:
            return "End of File";
        case Dateifehler::Keiner:
            break;
    }
    return {};
}

}  // namespace dravel
