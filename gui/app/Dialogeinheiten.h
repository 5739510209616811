#pragma once

#include <QRect>

class QDialog;
class QFont;
class QPushButton;
class QWidget;

namespace dravel {

inline constexpr int Id_ok = 1;
inline constexpr int Id_abbrechen = 2;

// Converts dialog units into pixels with a font's metrics, as the dialog layouts were drawn: a
// horizontal unit is a quarter of the average letter width, a vertical unit an eighth of the
// font's height.
class Dialogeinheiten {
public:
    explicit Dialogeinheiten(const QFont& schrift);
    QRect rechteck(int x, int y, int breite, int hoehe) const;
    QSize groesse(int breite, int hoehe) const;

private:
    int zeichenbreite_;
    int zeichenhoehe_;
};

// The dialogs' colours: light grey background, black text.
void dialogfarben_setzen(QWidget& widget);
// Caption, fixed client size in dialog units and colours of one of the program's dialogs.
void dialog_einrichten(QDialog& dialog, const char* titel, const Dialogeinheiten& einheiten, int breite,
                       int hoehe);
// Places a control; one with an ID gets it as its object name, so it can be found.
void steuerelement_setzen(QWidget& steuer, const Dialogeinheiten& einheiten, QRect rechteck, int id = -1);
// A push button of a dialog; ID 1 (OK) accepts the dialog, ID 2 (Cancel) rejects it.
QPushButton* schaltflaeche(QDialog& dialog, const Dialogeinheiten& einheiten, int id, const char* text,
                           QRect rechteck);

}  // namespace dravel
