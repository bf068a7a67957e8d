// TForm2 "О ГАДАЛКЕ" (the introduction from .\Text\Text65.dat) and TForm3
// "О ПРОГРАММЕ". Both are shown without being modal, centred the first time
// and where the user left them afterwards.
#pragma once

#include <QDialog>

#include "forms/kit/error_report.h"

class QPlainTextEdit;
class QTextEdit;

namespace forms {

class InformationWindow : public QDialog {
    Q_OBJECT

public:
    void showAndRaise();

protected:
    explicit InformationWindow(const char* name, const QString& caption, QSize client);
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

}  // namespace forms

class TForm2 : public forms::InformationWindow {
    Q_OBJECT

public:
    // Creation loads the introduction; a failure goes to the reporter and
    // the text stays empty.
    explicit TForm2(const forms::ErrorReporter& reportError);

    // Replaces the text with the file's, when it differs. Throws when the
    // file can't be read.
    void loadIntroduction();
    QString text() const;

private:
    QPlainTextEdit* Memo1 = nullptr;
};

class TForm3 : public forms::InformationWindow {
    Q_OBJECT

public:
    TForm3();
    QString text() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QTextEdit* Memo1 = nullptr;
};
