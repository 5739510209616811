#pragma once

#include <QDialog>

namespace dravel {

// "AboutBox": the program's name, version and author.
class Info_dialog : public QDialog {
public:
    explicit Info_dialog(QWidget* eltern);
};

}  // namespace dravel
