// «Толкование»: what the cast lines say beyond the hexagram's reading — the
// figure with its changing lines, their texts, the second hexagram they lead
// to and the nuclear one. Non-modal; the main window keeps it up to date.
#pragma once

#include <QDialog>
#include <QSet>

#include <functional>

#include "divination/interpretation.h"
#include "forms/kit/error_report.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTextBrowser;

namespace forms {

class HexagramFigure;

class InterpretationWindow : public QDialog {
public:
    struct Seams {
        ErrorReporter reportError;
        // Shows a reading in the main reading area, as a table button does.
        std::function<void(int hexagram)> showReading;
        // The user chose how changing lines are read; the subject comes
        // back through showSubject read that way.
        std::function<void(divination::School school)> chooseSchool;
    };

    InterpretationWindow(Seams seams, QWidget* parent);

    // A subject, a cast whole or in progress among them; `origin` goes
    // before the title of one not cast in the main window («Свой бросок.»).
    void showSubject(const divination::Interpretation& interpretation, const QString& origin = {});
    // The texts follow the reading area's font.
    void setTextFont(const QFont& font);
    void showAndRaise();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Loads the texts and fills the window; a file that can't be read is
    // reported once, and the rest is shown.
    void render();
    QString TextsHtml();
    void showRelated();
    void openRelated();
    // What `read` gives, or nothing when it fails: the failure said once.
    template <typename Read>
    auto load(const Read& read) -> decltype(read());

    Seams seams_;
    divination::Interpretation shown_ = divination::Interpret({});
    QString origin_;
    QSet<QString> saidFailures_;  // each failure said once while the window stays open
    bool placed_ = false;

    HexagramFigure* figure_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* nuclear_ = nullptr;
    QWidget* second_ = nullptr;
    HexagramFigure* secondFigure_ = nullptr;
    QLabel* secondTitle_ = nullptr;
    QPushButton* secondReading_ = nullptr;
    QTextBrowser* texts_ = nullptr;
    QComboBox* school_ = nullptr;
    QLabel* rule_ = nullptr;
    QListWidget* related_ = nullptr;
    QPushButton* relatedReading_ = nullptr;
};

}  // namespace forms
