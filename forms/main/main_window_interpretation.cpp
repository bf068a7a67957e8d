// What follows a press: the cast kept and its changing lines marked in the
// glyph list, the «Толкование» window kept up to date, and one's own throw.
#include <QListWidget>
#include <QPlainTextEdit>

#include "forms/interpretation/interpretation_window.h"
#include "forms/kit/hexagram_figure.h"
#include "forms/main/main_window.h"

void TForm1::act(const std::function<void()>& handler) {
    forms::RunGuarded(seams_.reportError, handler);
    deliverReports();
}

void TForm1::deliverReports() {
    for (const std::string& text : consultation_.TakeReports())
        seams_.reportError(QString::fromStdString(text));
}

void TForm1::castPress(const std::function<void()>& press) {
    const bool wasComplete = cast_.lines.complete();
    try {
        press();
    } catch (...) {
        afterCast(wasComplete);
        throw;  // its report comes first, then what afterCast left to say
    }
    afterCast(wasComplete);
}

divination::Method TForm1::castMethod() const {
    if (settings_.CastMode == settings::kAutomaticMode)
        return divination::Method::Coins;
    if (settings_.CastMode == settings::kSemiAutomaticMode)
        return divination::Method::SemiAutomatic;
    return divination::Method::HeadsAndTails;
}

void TForm1::afterCast(bool wasComplete) {
    markChangingGlyphs();
    consultation_.CastChanged(cast_, castMethod(), wasComplete);
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
    QString origin;
    if (consultation_.subject().kind == divination::Subject::Kind::OwnThrow)
        origin = QStringLiteral("Свой бросок. ");
    else if (consultation_.subject().kind == divination::Subject::Kind::Yarrow)
        origin = QStringLiteral("Стебли тысячелистника. ");
    else if (const std::optional<journal::Cast>& entry = consultation_.shownEntry())
        origin = QStringLiteral("Из журнала, %1. ")
                     .arg(QString::fromStdString(journal::RussianDateTime(entry->castAt)));
    interpretation_->showSubject(consultation_.interpretation(), origin);
}

namespace {

// How Preferences.txt names the schools.
constexpr struct {
    divination::School school;
    const char* key;
} kSchoolKeys[] = {
    {divination::School::AllChanging, "all"},
    {divination::School::ZhuXi, "zhuxi"},
    {divination::School::OneLine, "oneline"},
};

}  // namespace

settings::Preferences& TForm1::preferences() {
    if (!preferences_) {
        try {
            preferences_ = settings::Preferences::Load();
        } catch (const std::exception& e) {
            preferences_.emplace();
            consultation_.Report(e.what());
        }
        for (const auto& row : kSchoolKeys) {
            if (preferences_->get("school") == row.key)
                consultation_.SetSchool(row.school);
        }
    }
    return *preferences_;
}

void TForm1::chooseSchool(divination::School school) {
    consultation_.SetSchool(school);
    refreshInterpretation();
    for (const auto& row : kSchoolKeys) {
        if (row.school == school)
            preferences().set("school", row.key);
    }
}

void TForm1::showInterpretation() {
    preferences();
    if (!interpretation_) {
        // Its errors wait for the action that brought them to be said.
        interpretation_ = new forms::InterpretationWindow(
            {[this](const QString& text) { consultation_.Report(text.toStdString()); },
             [this](int hexagram) { ShowReading(hexagram); },
             [this](divination::School school) { chooseSchool(school); }},
            this);
    }
    interpretation_->showAndRaise();
    refreshInterpretation();
}

void TForm1::castOwnThrow() {
    const std::optional<forms::OwnThrow> thrown = seams_.askOwnThrow();
    if (!thrown)
        return;
    const bool castInProgress = cast_.lines.castCount() && !cast_.lines.complete();
    consultation_.OpenOwnThrow(thrown->values, castInProgress, thrown->totals);
    showInterpretation();
}

// The subject becomes the stalks' cast, kept in the journal; the reading
// area shows its reading as a table button shows one, last, so that a
// reading that can't be read leaves the cast kept and shown.
void TForm1::castYarrow() {
    const std::optional<divination::StalkTotals> totals = seams_.castYarrow();
    if (!totals)
        return;
    consultation_.OpenYarrow(*totals);
    showInterpretation();
    if (const int hexagram = consultation_.interpretation().hexagram)
        ShowReading(hexagram);
}
