// «Толкование»: what the cast lines say beyond the hexagram's reading — the
// figure with its changing lines, their texts, the second hexagram they lead
// to and the nuclear one. Non-modal; the main window keeps it up to date.
#pragma once

#include <QDialog>

#include <functional>

#include "divination/changes.h"
#include "forms/error_report.h"

class QLabel;
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
    };

    InterpretationWindow(Seams seams, QWidget* parent);

    // A cast, whole or in progress (0 for lines not cast); `origin` goes
    // before the title of one not cast in the main window («Свой бросок.»).
    void showCast(const divination::LineValues& values, const QString& origin = {});
    // A reading opened from the table: that hexagram with all its line texts.
    void showHexagram(int hexagram);
    // The texts follow the reading area's font.
    void setTextFont(const QFont& font);
    void showAndRaise();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Loads the line texts and fills the window; a file that can't be read
    // is reported once, and the rest is shown.
    void render();

    Seams seams_;
    divination::LineValues values_{};
    int tableHexagram_ = 0;
    QString origin_;
    int failedHexagram_ = 0;  // its line texts could not be read: said once
    bool placed_ = false;

    HexagramFigure* figure_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* nuclear_ = nullptr;
    QWidget* second_ = nullptr;
    HexagramFigure* secondFigure_ = nullptr;
    QLabel* secondTitle_ = nullptr;
    QPushButton* secondReading_ = nullptr;
    QTextBrowser* texts_ = nullptr;
};

}  // namespace forms
