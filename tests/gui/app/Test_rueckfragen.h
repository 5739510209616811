#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gui/app/Rueckfragen.h"

namespace dravel {

// Answers the window's questions as a test tells it to, and remembers what was asked.
class Test_rueckfragen : public Rueckfragen {
public:
    struct Meldung {
        std::string text;
        std::string titel;
    };

    std::vector<Meldung> meldungen;
    std::vector<Meldung> fragen;
    std::deque<Antwort> antworten;  // then No
    std::optional<QString> pfad;    // the file dialogs' answer
    int dateidialoge = 0;
    // Works a dialog's controls in place of the user; by default it cancels.
    std::function<void(QDialog&)> dialog;
    std::vector<std::string> dialogtitel;

    void meldung(QWidget*, const QString& text, const QString& titel) override {
        meldungen.push_back({text.toStdString(), titel.toStdString()});
    }
    Antwort frage(QWidget*, const QString& text, const QString& titel) override {
        fragen.push_back({text.toStdString(), titel.toStdString()});
        if (antworten.empty()) return Antwort::Nein;
        Antwort antwort = antworten.front();
        antworten.pop_front();
        return antwort;
    }
    std::optional<QString> speicherpfad(QWidget*) override {
        ++dateidialoge;
        return pfad;
    }
    std::optional<QString> oeffnungspfad(QWidget*) override {
        ++dateidialoge;
        return pfad;
    }
    bool dialog_ausfuehren(QDialog& offen) override {
        dialogtitel.push_back(offen.windowTitle().toStdString());
        offen.setResult(QDialog::Rejected);
        if (dialog) dialog(offen);
        return offen.result() == QDialog::Accepted;
    }
};

}  // namespace dravel
