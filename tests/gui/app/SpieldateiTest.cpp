// Saving and loading game files through the window, and the messages for files that fail.
#include <gtest/gtest.h>

#include <cerrno>

#include "gui/app/Dateifehler.h"
#include "tests/gui/app/Fenster_test.h"

namespace dravel {
namespace {

class SpieldateiTest : public Fenster_test {
protected:
    void SetUp() override {
        Starten();
        Automatisch(false);
    }
    void Speichern(const std::string& pfad) {
        fragen.pfad = QString::fromStdString(pfad);
        fenster->befehl_ausfuehren(befehl_id::Speichern);
    }
    void Laden(const std::string& pfad) {
        fragen.pfad = QString::fromStdString(pfad);
        fenster->befehl_ausfuehren(befehl_id::Laden);
    }
    std::vector<std::string> Meldungen() const {
        std::vector<std::string> texte;
        for (const auto& meldung : fragen.meldungen) texte.push_back(meldung.text);
        return texte;
    }
};

const std::vector<std::string> kMit_umwandlung = {"e2e4", "d7d5", "e4d5", "c7c6", "d5c6",
                                                  "g8f6", "c6b7", "f6e4", "b7a8D"};

TEST_F(SpieldateiTest, AGameWithAPromotionIsSavedWithCrLfAndLoadedBack) {
    for (const auto& zug : kMit_umwandlung) Tippen(zug);
    ASSERT_EQ(Zuege(), kMit_umwandlung);
    const Brett vorher = fenster->Spiel().Aktuelles_brett();
    Speichern(dir.File("partie.chd"));
    EXPECT_EQ(dir.Read("partie.chd"),
              "e2e4\r\nd7d5\r\ne4d5\r\nc7c6\r\nd5c6\r\ng8f6\r\nc6b7\r\nf6e4\r\nb7a8D\r\n");
    fenster->befehl_ausfuehren(befehl_id::Neues_spiel);
    EXPECT_TRUE(Zuege().empty());
    Laden(dir.File("partie.chd"));
    EXPECT_EQ(Zuege(), kMit_umwandlung);
    EXPECT_EQ(fenster->Spiel().Aktuelles_brett().Feld, vorher.Feld);
    EXPECT_EQ(fenster->Spiel().Aktuelles_brett().Feld[56], figur::Dame);
    EXPECT_TRUE(fragen.meldungen.empty());
    // The game goes on from the loaded position.
    Tippen("d8a5");
    EXPECT_EQ(Zuege().back(), "d8a5");
}

TEST_F(SpieldateiTest, FilesWithLfOrCrLfOrEnglishLettersLoadAlike) {
    dir.Write("lf.chd", "e2e4\ne7e5\ng1f3\n");
    dir.Write("crlf.chd", "e2e4\r\ne7e5\r\ng1f3");
    for (const char* name : {"lf.chd", "crlf.chd"}) {
        Laden(dir.File(name));
        EXPECT_EQ(Zuege(), (std::vector<std::string>{"e2e4", "e7e5", "g1f3"})) << name;
    }
    dir.Write("englisch.chd", "e2e4\nd7d5\ne4d5\nc7c6\nd5c6\ng8f6\nc6b7\nf6e4\nb7a8Q\n");
    Laden(dir.File("englisch.chd"));
    EXPECT_EQ(Zuege(), kMit_umwandlung);
    EXPECT_TRUE(fragen.meldungen.empty());
}

TEST_F(SpieldateiTest, CancellingTheSaveDialogWritesNothing) {
    Tippen("e2e4");
    fragen.pfad.reset();
    fenster->befehl_ausfuehren(befehl_id::Speichern);
    fenster->befehl_ausfuehren(befehl_id::Laden);
    EXPECT_EQ(fragen.dateidialoge, 2);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()) ||
                std::filesystem::directory_iterator(dir.Path())->path().filename() == "script");
    EXPECT_EQ(Zuege(), std::vector<std::string>{"e2e4"});
    EXPECT_TRUE(fragen.meldungen.empty());
}

struct Ladezeile {
    const char* name;
    std::string inhalt;
    std::vector<std::string> zuege;  // what is played after the load
    std::string meldung;
    std::string ergebnis = {};  // the game's end, told after the load
};

TEST_F(SpieldateiTest, AFaultyFileKeepsTheMovesBeforeTheFaultyLine) {
    const Ladezeile zeilen[] = {
        {"Empty", "", {}, ""},
        {"EmptyLineStops", "e2e4\n\ne7e5\n", {"e2e4"}, "Fehler in der Datei\n\nline 2: \"\""},
        {"NotAMove", "e2e4\r\ne7e5\r\ne1e3\r\n", {"e2e4", "e7e5"}, "Fehler in der Datei\n\nline 3: \"e1e3\""},
        {"Binary",
         std::string("\x00\x01\xff\x7f\r\x1b", 6) + "\n",
         {},
         "Fehler in der Datei\n\nline 1: \"??????\""},
        {"LongLine",
         std::string(100000, 'x') + "\ne2e4\n",
         {},
         "Fehler in der Datei\n\nline 1: \"" + std::string(40, 'x') + "...\""},
        {"MoveAfterTheMate",
         "f2f3\ne7e5\ng2g4\nd8h4\na2a3\n",
         {"f2f3", "e7e5", "g2g4", "d8h4"},
         "Fehler in der Datei\n\nline 5: \"a2a3\"",
         "0-1 {Black mates}"},
    };
    for (const auto& zeile : zeilen) {
        fragen.meldungen.clear();
        Tippen("d2d4");
        dir.Write("f.chd", zeile.inhalt);
        Laden(dir.File("f.chd"));
        EXPECT_EQ(Zuege(), zeile.zuege) << zeile.name;
        std::vector<std::string> erwartet;
        for (const std::string& text : {zeile.meldung, zeile.ergebnis})
            if (!text.empty()) erwartet.push_back(text);
        EXPECT_EQ(Meldungen(), erwartet) << zeile.name;
    }
}

TEST_F(SpieldateiTest, AFileThatCannotBeReadLeavesTheGameAsItWas) {
    Tippen("e2e4");
    for (const std::string& pfad : {dir.File("fehlt.chd"), dir.Path(), dir.File("kein/ordner.chd")}) {
        fragen.meldungen.clear();
        Laden(pfad);
        EXPECT_EQ(Meldungen(), std::vector<std::string>{"Datei - Lese - Fehler"}) << pfad;
        EXPECT_EQ(Zuege(), std::vector<std::string>{"e2e4"}) << pfad;
    }
}

TEST_F(SpieldateiTest, SaveErrorsNameTheirCause) {
    Tippen("e2e4");
    const std::pair<std::string, std::string> faelle[] = {
        {dir.File("kein/ordner.chd"), "Datei-Fehler :All or part of the path is invalid."},
        {dir.Path(), "Datei-Fehler :The file could not be accessed."},
        {"/dev/full", "Datei-Fehler :The disk is full."},
    };
    for (const auto& [pfad, text] : faelle) {
        fragen.meldungen.clear();
        Speichern(pfad);
        EXPECT_EQ(Meldungen(), std::vector<std::string>{text}) << pfad;
    }
}

TEST(DateifehlerTest, SystemErrorsMapOntoTheCausesTexts) {
    const struct {
        int nummer;
        bool schreiben;
        const char* text;
    } zeilen[] = {
        {ENOENT, false, "The file could not be located."},
        {ENOENT, true, "All or part of the path is invalid."},
        {ENOTDIR, true, "All or part of the path is invalid."},
        {EMFILE, true, "The permitted number of open files was exceeded."},
        {EACCES, true, "The file could not be accessed."},
        {EROFS, true, "The file could not be accessed."},
        {EBADF, true, "There was an attempt to use an invalid file handle."},
        {ESPIPE, true, "There was an error trying to set the file pointer."},
        {EIO, true, "There was a hardware error."},
        {ENOSPC, true, "The disk is full."},
        {EINTR, true, ""},
        {0, true, ""},
    };
    for (const auto& zeile : zeilen)
        EXPECT_EQ(fehler_text(fehler_aus_errno(zeile.nummer, zeile.schreiben)), zeile.text) << zeile.nummer;
    EXPECT_EQ(fehler_text(Dateifehler::Dateiende), "End of File");
    EXPECT_EQ(fehler_text(Dateifehler::Teilungsverletzung),
              "SHARE.EXE was not loaded, or a shared region was locked.");
}

}  // namespace
}  // namespace dravel
