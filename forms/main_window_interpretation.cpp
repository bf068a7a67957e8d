// What follows a press: the changing lines marked in the glyph list, the
// «Толкование» window kept up to date, and one's own throw.
#include <QListWidget>
#include <QPlainTextEdit>

#include "forms/hexagram_figure.h"
#include "forms/interpretation_window.h"
#include "forms/main_window.h"

void TForm1::castPress(const std::function<void()>& press) {
    try {
        press();
    } catch (...) {
        afterCast();
        throw;
    }
    afterCast();
}

void TForm1::afterCast() {
    tableSubject_ = 0;
    ownThrowSubject_.reset();
    markChangingGlyphs();
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
    if (ownThrowSubject_)
        interpretation_->showCast(*ownThrowSubject_, true);
    else if (tableSubject_)
        interpretation_->showHexagram(tableSubject_);
    else
        interpretation_->showCast(cast_.values);
}

void TForm1::N49Click() {
    if (!interpretation_) {
        interpretation_ = new forms::InterpretationWindow(
            {seams_.reportError, [this](int hexagram) { ShowReading(hexagram); }}, this);
    }
    interpretation_->showAndRaise();
    refreshInterpretation();
}

void TForm1::N50Click() {
    const std::optional<divination::LineValues> values = seams_.askOwnThrow();
    if (!values)
        return;
    ownThrowSubject_ = values;
    N49Click();
}
