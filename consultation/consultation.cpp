// The consultation: what is on the screen, its question, the journal session.
#include "consultation/consultation.h"

#include <ctime>
#include <exception>
#include <utility>

#include "divination/hexagrams.h"

namespace consultation {

Entry EntryOf(const journal::Cast& cast, divination::School school) {
    return {divination::Interpret(divination::Subject::OfEntry(cast.values), school), cast.castAt,
            cast.question, cast.note};
}

Consultation::Consultation(Hooks hooks) : hooks_(std::move(hooks)) {
    if (!hooks_.openJournal) {
        hooks_.openJournal = [] {
            return journal::Journal::Open(journal::kJournalFile, [](int hexagram) {
                return std::string(divination::kHexagramNames.at(hexagram - 1).name);
            });
        };
    }
}

void Consultation::CastChanged(const divination::CastState& cast, divination::Method method,
                               bool wasComplete) {
    subject_ = divination::Subject::OfCast(cast.values);
    shownEntry_.reset();
    const int castCount = cast.lines.castCount();
    // The first line of a new cast after one that kept the question: the
    // question was that cast's, this one starts without. So it is after a
    // clearing.
    if (questionUsed_ && (castCount == 0 || (castCount == 1 && !cast.lines.complete())))
        ForgetQuestion();
    if (!wasComplete && cast.lines.complete()) {
        std::optional<divination::CoinNumbers> coins;
        if (divination::HasCoins(method))
            coins = divination::FlatCoins(cast.coins);
        lastCastId_ = Record(cast.values, method, coins, question_);
        questionUsed_ = true;
    }
}

void Consultation::OpenTable(int hexagram) {
    subject_ = divination::Subject::OfTable(hexagram);
    shownEntry_.reset();
}

void Consultation::OpenOwnThrow(const divination::LineValues& values, bool castInProgress,
                                const std::optional<divination::StalkTotals>& totals) {
    subject_ = divination::Subject::OfOwnThrow(values);
    shownEntry_.reset();
    const divination::Method method =
        totals ? divination::Method::OwnThrowTotals : divination::Method::OwnThrow;
    // A question written for a cast in progress stays with it; one written
    // with no cast in progress goes with this throw.
    if (castInProgress || questionUsed_) {
        Record(values, method, std::nullopt, {}, totals);
    } else {
        lastCastId_ = Record(values, method, std::nullopt, question_, totals);
        questionUsed_ = true;
    }
}

void Consultation::OpenYarrow(const divination::StalkTotals& totals) {
    const std::optional<divination::LineValues> values = divination::ValuesFromTotals(totals);
    if (!values)
        return;
    subject_ = divination::Subject::OfYarrow(*values);
    shownEntry_.reset();
    // Cast on its own, with the question written for no other cast.
    if (questionUsed_) {
        Record(*values, divination::Method::Yarrow, std::nullopt, {}, totals);
    } else {
        lastCastId_ = Record(*values, divination::Method::Yarrow, std::nullopt, question_, totals);
        questionUsed_ = true;
    }
}

void Consultation::OpenEntry(const journal::Cast& cast) {
    subject_ = divination::Subject::OfEntry(cast.values);
    shownEntry_ = cast;
}

Entry Consultation::Current() const {
    if (shownEntry_)
        return EntryOf(*shownEntry_, school_);
    const divination::Interpretation interpretation = divination::Interpret(subject_, school_);
    if (!interpretation.complete())
        throw base::Error(
            "Нечего выводить: бросьте все шесть черт или откройте толкование из таблицы");
    Entry entry{interpretation, {}, {}, {}};
    if (subject_.kind == divination::Subject::Kind::Cast ||
        subject_.kind == divination::Subject::Kind::Yarrow) {
        entry.castAt = journal::LocalTimestamp(std::time(nullptr));
        entry.question = question_;
    }
    return entry;
}

void Consultation::SetQuestion(const std::string& text) {
    // Refused here, before it is kept: too long a question is the user's to
    // shorten, not a failure of the journal.
    if (text.size() > journal::kMaxTextBytes)
        throw base::Error("Вопрос не записан: он длиннее " +
                          std::to_string(journal::kMaxTextBytes) + " байт");
    question_ = text;
    if (!questionUsed_ || !lastCastId_)
        return;
    if (journal::Journal* kept = journal()) {
        try {
            kept->SetQuestion(lastCastId_, question_);
        } catch (const std::exception& e) {
            Fail(e.what());
        }
        Changed();
    }
}

journal::Journal* Consultation::journal() {
    if (journalFailed_)
        return nullptr;
    if (journal_)
        return &*journal_;
    try {
        journal_ = hooks_.openJournal();
    } catch (const std::exception& e) {
        Fail(e.what());
        return nullptr;
    }
    // A damaged journal was put aside and a new one begun: say where the old
    // one is, in the same place a failure would be said.
    if (!journal_->DamagedNotice().empty())
        Report(journal_->DamagedNotice());
    if (hooks_.journalOpened)
        hooks_.journalOpened();
    return &*journal_;
}

std::vector<std::string> Consultation::TakeReports() {
    return std::exchange(reports_, {});
}

std::int64_t Consultation::Record(const divination::LineValues& values, divination::Method method,
                                  std::optional<divination::CoinNumbers> coins,
                                  const std::string& question,
                                  std::optional<divination::StalkTotals> totals) {
    journal::Journal* kept = journal();
    if (!kept)
        return 0;
    try {
        if (!kept->Recording())
            return 0;
        journal::NewCast cast;
        cast.castAt = journal::LocalTimestamp(std::time(nullptr));
        cast.method = method;
        cast.values = values;
        cast.coins = coins;
        cast.totals = totals;
        cast.question = question;
        const std::int64_t id = kept->Record(cast);
        Changed();
        return id;
    } catch (const std::exception& e) {
        Fail(e.what());
        return 0;
    }
}

// Said once; the program then works on without the journal until the next
// start. The journal object itself stays until the consultation goes.
void Consultation::Fail(const std::string& text) {
    journalFailed_ = true;
    Report(text);
    if (hooks_.journalLost)
        hooks_.journalLost();
}

// The entry is kept whatever the lists' reading again of it says.
void Consultation::Changed() {
    if (!hooks_.journalChanged)
        return;
    try {
        hooks_.journalChanged();
    } catch (const std::exception& e) {
        Report(e.what());
    }
}

void Consultation::ForgetQuestion() {
    question_.clear();
    questionUsed_ = false;
    lastCastId_ = 0;
}

}  // namespace consultation
