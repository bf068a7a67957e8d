// What follows a press: the changing lines marked in the glyph list, the
// «Толкование» window kept up to date, and one's own throw.
#include <QListWidget>
#include <QPlainTextEdit>

#include "divination/changes.h"
#include "forms/hexagram_figure.h"
#include "forms/interpretation_window.h"
#include "forms/main_window.h"

void TForm1::castPress(const std::function<void()>& press) {
    const bool wasComplete = cast_.lines.complete();
    try {
        press();
    } catch (...) {
        afterCast(wasComplete);
        throw;  // its report comes first, then what afterCast queued
    }
    afterCast(wasComplete);
    reportQueued();
}

void TForm1::afterCast(bool wasComplete) {
    tableSubject_ = 0;
    castSubject_.reset();
    journalSubject_.reset();
    markChangingGlyphs();
    // The first line of a new cast after one that kept the question: the
    // question was that cast's, this one starts without.
    if (questionUsed_ && cast_.lines.castCount() == 1 && !cast_.lines.complete()) {
        question_.clear();
        questionUsed_ = false;
        lastCastId_ = 0;
    }
    if (!wasComplete && cast_.lines.complete()) {
        std::string coins;
        if (settings_.CastMode == settings::kAutomaticMode) {
            for (const auto& line : cast_.coins) {
                for (int number : line)
                    coins += (coins.empty() ? "" : " ") + std::to_string(number);
            }
        }
        lastCastId_ =
            recordCast(cast_.values, static_cast<int>(settings_.CastMode), coins, question_);
        questionUsed_ = true;
    } else if (!cast_.lines.castCount() && questionUsed_) {
        // Cleared after a completed cast: the next question is a new one.
        question_.clear();
        questionUsed_ = false;
        lastCastId_ = 0;
    }
    refreshInterpretation();
}

// The glyph text stays as it is; a changing line shows in its own colour and
// says so to a screen reader.
void TForm1::markChangingGlyphs() {
    for (int row = 0; row < ListBox2->count() && row < 6; ++row) {
        QListWidgetItem* glyph = ListBox2->item(row);
        const int value = cast_.values[row];
        if (!value)
            continue;
        glyph->setData(Qt::AccessibleTextRole, forms::LineDescription(row + 1, value));
        if (divination::IsChanging(value))
            glyph->setForeground(forms::kChangingLineColor);
    }
}

void TForm1::refreshInterpretation() {
    if (!interpretation_ || !interpretation_->isVisible())
        return;
    interpretation_->setTextFont(Memo1->font());
    if (castSubject_)
        interpretation_->showCast(*castSubject_, subjectOrigin_);
    else if (tableSubject_)
        interpretation_->showHexagram(tableSubject_);
    else
        interpretation_->showCast(cast_.values);
}

void TForm1::N49Click() {
    if (!interpretation_) {
        // Its errors wait for the press that brought them to be reported.
        interpretation_ =
            new forms::InterpretationWindow({[this](const QString& text) { reportLater(text); },
                                             [this](int hexagram) { ShowReading(hexagram); }},
                                            this);
    }
    interpretation_->showAndRaise();
    refreshInterpretation();
    reportQueued();
}

void TForm1::N50Click() {
    const std::optional<divination::LineValues> values = seams_.askOwnThrow();
    if (!values)
        return;
    castSubject_ = values;
    journalSubject_.reset();
    subjectOrigin_ = QStringLiteral("Свой бросок. ");
    N49Click();
    // A question written for a cast in progress stays with it; one written
    // with no cast in progress goes with this throw.
    const bool castInProgress = cast_.lines.castCount() && !cast_.lines.complete();
    const int mode = static_cast<int>(journal::Mode::OwnThrow);
    if (castInProgress || questionUsed_) {
        recordCast(*values, mode, {}, {});
    } else {
        lastCastId_ = recordCast(*values, mode, {}, question_);
        questionUsed_ = true;
    }
    reportQueued();
}
