#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace dravel {

// "ZugDialog": one edit control for a typed move.
class Zug_dialog : public QDialog {
public:
    static constexpr int Id_eingabe = 131;
    static constexpr int Hoechstlaenge = 9;

    explicit Zug_dialog(QWidget* eltern);
    // The typed text, cut to its first nine characters.
    std::string Zug() const;

private:
    QLineEdit* eingabe_;
};

}  // namespace dravel
