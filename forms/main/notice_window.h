// TForm4: the modal notice that the hexagram is already complete.
#pragma once

#include <QDialog>

class QTextEdit;

class TForm4 : public QDialog {
    Q_OBJECT

public:
    TForm4();

    QTextEdit* memo() const { return Memo1; }

private:
    QTextEdit* Memo1 = nullptr;
};
