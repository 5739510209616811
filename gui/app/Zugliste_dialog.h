#pragma once

#include <QDialog>
#include <string>

class QListWidget;

namespace dravel {

class Schach;

// "MogZuge": the sorted list of the possible moves, and the picture of the board's coordinates.
class Zugliste_dialog : public QDialog {
public:
    static constexpr int Id_liste = 1008;
    // The entry is kept in a field of this many characters; a longer one is no move.
    static constexpr int Feldlaenge = 20;

    Zugliste_dialog(Schach& schach, QWidget* eltern);
    // The chosen entry; empty when none is chosen, when the game is over or for a longer entry.
    std::string Gewaehlter_zug() const;
    bool Spiel_zu_ende() const { return spiel_zu_ende_; }

private:
    QListWidget* liste_;
    bool spiel_zu_ende_ = false;
};

}  // namespace dravel
