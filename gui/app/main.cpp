// dravel: a chess board for one player against an engine, run through kelvane.
#include <QApplication>

#include "gui/app/Hauptfenster.h"
#include "gui/app/Rueckfragen.h"

int main(int argc, char** argv) {
    QApplication anwendung(argc, argv);
    anwendung.setApplicationName(dravel::kProgrammname);
    dravel::Qt_rueckfragen rueckfragen;
    dravel::Hauptfenster fenster(rueckfragen);
    fenster.showMaximized();
    return anwendung.exec();
}
