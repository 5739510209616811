#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace dravel {

inline constexpr const char* kProgrammname = "Dravel";

// Everything the window asks the user outside its own board: message boxes, the question with
// Yes/No/Cancel, the file dialogs and the modal run of its dialogs. Tests answer them in place
// of a user.
class Rueckfragen {
public:
    enum class Antwort { Ja, Nein, Abbrechen };

    virtual ~Rueckfragen() = default;
    // A message with an OK button; an empty caption shows the program's name.
    virtual void meldung(QWidget* eltern, const QString& text, const QString& titel) = 0;
    virtual Antwort frage(QWidget* eltern, const QString& text, const QString& titel) = 0;
    // The path chosen in the save or open dialog; nothing when the user cancels.
    virtual std::optional<QString> speicherpfad(QWidget* eltern) = 0;
    virtual std::optional<QString> oeffnungspfad(QWidget* eltern) = 0;
    // Runs one of the program's dialogs modally: true when the user confirmed it.
    virtual bool dialog_ausfuehren(QDialog& dialog) = 0;
};

// The answers of a real user, through Qt's message boxes and file dialogs.
class Qt_rueckfragen : public Rueckfragen {
public:
    void meldung(QWidget* eltern, const QString& text, const QString& titel) override;
    Antwort frage(QWidget* eltern, const QString& text, const QString& titel) override;
    std::optional<QString> speicherpfad(QWidget* eltern) override;
    std::optional<QString> oeffnungspfad(QWidget* eltern) override;
    bool dialog_ausfuehren(QDialog& dialog) override;
};

}  // namespace dravel
