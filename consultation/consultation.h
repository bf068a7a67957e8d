// One consultation: the subject on the screen (the cast in progress, a
// reading from the table, one's own throw, a journal entry), its question
// and the journal entry it belongs to, the journal session, and the reports
// a user action leaves to be said after its own.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "divination/cast.h"
#include "divination/interpretation.h"
#include "divination/yarrow.h"
#include "journal/journal.h"

namespace consultation {

// What print and export put out for one subject.
struct Entry {
    divination::Interpretation interpretation;
    std::string castAt;  // empty for a reading from the table or an own throw not kept
    std::string question;
    std::string note;
};

// A journal entry as the documents show it, read by a school.
Entry EntryOf(const journal::Cast& cast,
              divination::School school = divination::School::AllChanging);

class Consultation {
public:
    struct Hooks {
        // Opens the journal; the default opens Journal.db in the working folder.
        std::function<journal::Journal()> openJournal;
        // The journal failed for good: whoever holds it lets go of it now.
        std::function<void()> journalLost;
        // An entry was kept or changed: lists showing the journal read it again.
        std::function<void()> journalChanged;
        // The journal has just been opened, once a run.
        std::function<void()> journalOpened;
    };

    explicit Consultation(Hooks hooks = {});

    // ---- The subject on the screen.
    const divination::Subject& subject() const { return subject_; }
    divination::Interpretation interpretation() const {
        return divination::Interpret(subject_, school_);
    }
    // How changing lines are read, for every view of the subject.
    divination::School school() const { return school_; }
    void SetSchool(divination::School school) { school_ = school; }
    // The journal entry on the screen, opened from the journal window.
    const std::optional<journal::Cast>& shownEntry() const { return shownEntry_; }

    // After a press in the main window, whatever became of it: `wasComplete`
    // tells whether the cast was whole before. A cast just completed is kept
    // in the journal with the question.
    void CastChanged(const divination::CastState& cast, divination::Method method,
                     bool wasComplete);
    void OpenTable(int hexagram);
    // One's own throw becomes the subject and is kept; by stalk totals when
    // the user gave them for every line.
    void OpenOwnThrow(const divination::LineValues& values, bool castInProgress,
                      const std::optional<divination::StalkTotals>& totals = std::nullopt);
    void OpenEntry(const journal::Cast& cast);
    // A cast by yarrow stalks becomes the subject and is kept with its totals.
    void OpenYarrow(const divination::StalkTotals& totals);

    // What print and export put out now. Throws base::Error when the screen
    // holds nothing whole.
    Entry Current() const;

    // ---- The question: before or during a cast it waits for it; after a
    // cast it is that cast's, and a change goes into the journal.
    const std::string& question() const { return question_; }
    bool questionKept() const { return questionUsed_; }
    // Throws base::Error for a question too long to keep.
    void SetQuestion(const std::string& text);

    // ---- The journal, opened at its first use; nullptr once it has failed
    // (the failure waits in the reports) until the next start.
    journal::Journal* journal();
    bool journalFailed() const { return journalFailed_; }

    // ---- The reports of one user action, said after the action's own.
    void Report(const std::string& text) { reports_.push_back(text); }
    std::vector<std::string> TakeReports();

private:
    std::int64_t Record(const divination::LineValues& values, divination::Method method,
                        std::optional<divination::CoinNumbers> coins, const std::string& question,
                        std::optional<divination::StalkTotals> totals = std::nullopt);
    void Fail(const std::string& text);
    void Changed();
    void ForgetQuestion();

    Hooks hooks_;
    divination::Subject subject_;
    divination::School school_ = divination::School::AllChanging;
    std::optional<journal::Cast> shownEntry_;
    std::string question_;
    bool questionUsed_ = false;    // kept with a completed cast or an own throw
    std::int64_t lastCastId_ = 0;  // that cast in the journal, 0 if not kept
    std::optional<journal::Journal> journal_;
    bool journalFailed_ = false;
    std::vector<std::string> reports_;
};

}  // namespace consultation
