#pragma once

#include <QDialog>
#include <array>
#include <string>

class QCheckBox;
class QRadioButton;

namespace dravel {

// "IDD_AUTOA": the setup dialog and the settings it keeps for the whole run.
class Einstellungen : public QDialog {
public:
    static constexpr int Id_automatisch = 200;
    static constexpr int Id_markierungen = 201;
    static constexpr int Stufe_1 = 1013;
    static constexpr int Stufe_2 = 1014;
    static constexpr int Stufe_3 = 1015;

    explicit Einstellungen(QWidget* eltern);

    bool Automatisch_antworten() const { return automatisch_antworten_; }
    int Stufe() const { return stufe_; }
    // Whether the board marks the last move, a king in check and the chosen square.
    bool Markierungen_zeigen() const { return markierungen_zeigen_; }
    // "c" and the level digit: the game core's computer move command.
    std::string Computerzug_befehl() const;

    // Shows the current settings in the controls; called before each opening.
    void anzeigen();
    // OK stores the check boxes; the level buttons store their level at once.
    void accept() override;

private:
    void stufe_waehlen(int id);

    bool automatisch_antworten_ = true;
    int stufe_ = Stufe_3;
    bool markierungen_zeigen_ = true;
    QCheckBox* automatisch_;
    QCheckBox* markierungen_;
    std::array<QRadioButton*, 3> stufen_;
};

}  // namespace dravel
