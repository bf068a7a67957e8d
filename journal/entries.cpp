// Changing what the journal holds after a cast is kept: the question, the
// note, how it turned out, the date to return, the links, deleting; and
// the «Вести журнал» switch.

#include "journal/internal.h"
#include "journal/journal.h"

namespace journal {

using internal::FileError;
using internal::Reading;
using internal::SqliteReason;

namespace {

enum class Field { Question, Note, Outcome };

// The search index holds the note and how it turned out in one column.
void IndexNoteAndOutcome(Journal::State& state, std::int64_t id) {
    SQLite::Statement read(state.db, "SELECT note, outcome FROM casts WHERE id = ?1");
    read.bind(1, id);
    if (!read.executeStep())
        return;
    SQLite::Statement index(state.db, "UPDATE casts_text SET note = ?1 WHERE rowid = ?2");
    index.bind(1, internal::FoldForSearch(read.getColumn(0).getString() + "\n" +
                                          read.getColumn(1).getString()));
    index.bind(2, id);
    index.exec();
}

bool SetText(Journal::State& state, std::int64_t id, const std::string& text, Field field) {
    static constexpr const char* kNames[] = {"Вопрос", "Заметка", "Как всё сложилось"};
    // Each change is stamped, for the merge with other machines' journals.
    static constexpr const char* kUpdates[] = {
        "UPDATE casts SET question = ?1, question_at = ?3, question_by = ?4 WHERE id = ?2",
        "UPDATE casts SET note = ?1, note_at = ?3, note_by = ?4 WHERE id = ?2",
        "UPDATE casts SET outcome = ?1, outcome_at = ?3, outcome_by = ?4 WHERE id = ?2"};
    const int which = static_cast<int>(field);
    const std::string problem = internal::TextProblem(text, kNames[which]);
    if (!problem.empty())
        throw FileError("Изменение не записано в журнал", state.pathText, problem);
    try {
        SQLite::Transaction transaction(state.db, SQLite::TransactionBehavior::IMMEDIATE);
        SQLite::Statement update(state.db, kUpdates[which]);
        const internal::Stamp stamp = internal::NextStamp(state);
        update.bind(1, text);
        update.bind(2, id);
        update.bind(3, stamp.at);
        update.bind(4, stamp.by);
        if (update.exec() == 0)
            return false;
        if (field == Field::Question) {
            SQLite::Statement index(state.db,
                                    "UPDATE casts_text SET question = ?1 WHERE rowid = ?2");
            index.bind(1, internal::FoldForSearch(text));
            index.bind(2, id);
            index.exec();
        } else {
            IndexNoteAndOutcome(state, id);
        }
        transaction.commit();
        return true;
    } catch (const SQLite::Exception& error) {
        throw FileError("Изменение не записано в журнал", state.pathText,
                        SqliteReason(error, state.db));
    }
}

template <typename Work>
auto Writing(Journal::State& state, const char* what, Work work) {
    try {
        SQLite::Transaction transaction(state.db, SQLite::TransactionBehavior::IMMEDIATE);
        auto result = work();
        transaction.commit();
        return result;
    } catch (const SQLite::Exception& error) {
        throw FileError(what, state.pathText, SqliteReason(error, state.db));
    }
}

// Leaves a tombstone (?1, ?2) for the entries the WHERE given selects; the
// stamp is later than any the journal has seen, so it replaces an older one.
std::string Bury(const char* where) {
    return std::string(
               "INSERT INTO tombstones(uuid, at, by) SELECT uuid, ?1, ?2 FROM casts WHERE ") +
           where + " ON CONFLICT(uuid) DO UPDATE SET at = excluded.at, by = excluded.by";
}

// Keeps when the link between two entries was made or removed, by their
// uuids, so that the change travels to the other machines.
void StampLink(Journal::State& state, std::int64_t later, std::int64_t earlier, bool removed) {
    const internal::Stamp stamp = internal::NextStamp(state);
    SQLite::Statement write(
        state.db,
        "INSERT INTO link_stamps(later, earlier, at, by, removed) "
        "SELECT a.uuid, b.uuid, ?3, ?4, ?5 FROM casts a, casts b WHERE a.id = ?1 AND b.id = ?2 "
        "ON CONFLICT(later, earlier) DO UPDATE SET at = excluded.at, by = excluded.by, "
        "removed = excluded.removed");
    write.bind(1, later);
    write.bind(2, earlier);
    write.bind(3, stamp.at);
    write.bind(4, stamp.by);
    write.bind(5, removed ? 1 : 0);
    write.exec();
}

std::vector<std::int64_t> Ids(SQLite::Statement& statement) {
    std::vector<std::int64_t> ids;
    while (statement.executeStep())
        ids.push_back(statement.getColumn(0).getInt64());
    return ids;
}

}  // namespace

bool IsDate(const std::string& date) {
    return date.size() == 10 && ParseTimestamp(date + "T00:00:00+00:00").has_value();
}

bool Journal::SetQuestion(std::int64_t id, const std::string& text) {
    return SetText(*state_, id, text, Field::Question);
}

bool Journal::SetNote(std::int64_t id, const std::string& text) {
    return SetText(*state_, id, text, Field::Note);
}

bool Journal::SetOutcome(std::int64_t id, const std::string& text) {
    return SetText(*state_, id, text, Field::Outcome);
}

bool Journal::SetReturnOn(std::int64_t id, const std::string& date) {
    if (!date.empty() && !IsDate(date))
        throw FileError("Изменение не записано в журнал", state_->pathText,
                        "Дата «" + date + "» не в виде 2027-03-01");
    return Writing(*state_, "Изменение не записано в журнал", [&] {
        SQLite::Statement update(state_->db,
                                 "UPDATE casts SET return_on = ?1, return_at = ?3, return_by = ?4 "
                                 "WHERE id = ?2");
        if (date.empty())
            update.bind(1);
        else
            update.bind(1, date);
        update.bind(2, id);
        const internal::Stamp stamp = internal::NextStamp(*state_);
        update.bind(3, stamp.at);
        update.bind(4, stamp.by);
        return update.exec() != 0;
    });
}

void Journal::Link(std::int64_t later, std::int64_t earlier) {
    if (later == earlier)
        throw FileError("Связь не записана в журнал", state_->pathText,
                        "Запись не может продолжать саму себя");
    Writing(*state_, "Связь не записана в журнал", [&] {
        SQLite::Statement link(state_->db,
                               "INSERT OR IGNORE INTO links(later, earlier) "
                               "SELECT ?1, ?2 WHERE EXISTS (SELECT 1 FROM casts WHERE id = ?1) "
                               "AND EXISTS (SELECT 1 FROM casts WHERE id = ?2)");
        link.bind(1, later);
        link.bind(2, earlier);
        link.exec();
        StampLink(*state_, later, earlier, false);
        return 0;
    });
}

void Journal::Unlink(std::int64_t later, std::int64_t earlier) {
    Writing(*state_, "Изменение не записано в журнал", [&] {
        SQLite::Statement unlink(state_->db, "DELETE FROM links WHERE later = ?1 AND earlier = ?2");
        unlink.bind(1, later);
        unlink.bind(2, earlier);
        unlink.exec();
        StampLink(*state_, later, earlier, true);
        return 0;
    });
}

std::vector<std::int64_t> Journal::FollowedUp(std::int64_t id) {
    return Reading(*state_, [&] {
        SQLite::Statement read(state_->db,
                               "SELECT c.id FROM links l JOIN casts c ON c.id = l.earlier "
                               "WHERE l.later = ?1 ORDER BY c.moment, c.id");
        read.bind(1, id);
        return Ids(read);
    });
}

std::vector<std::int64_t> Journal::FollowUps(std::int64_t id) {
    return Reading(*state_, [&] {
        SQLite::Statement read(state_->db,
                               "SELECT c.id FROM links l JOIN casts c ON c.id = l.later "
                               "WHERE l.earlier = ?1 ORDER BY c.moment, c.id");
        read.bind(1, id);
        return Ids(read);
    });
}

std::int64_t Journal::CountDue(const std::string& today) {
    return Reading(*state_, [&] {
        SQLite::Statement count(state_->db,
                                "SELECT count(*) FROM casts WHERE return_on IS NOT NULL AND "
                                "return_on <= ?1");
        count.bind(1, today);
        count.executeStep();
        return count.getColumn(0).getInt64();
    });
}

void Journal::Delete(const std::vector<std::int64_t>& ids) {
    Writing(*state_, "Записи не удалены из журнала", [&] {
        // A tombstone travels to the other machines like an edit.
        const internal::Stamp stamp = internal::NextStamp(*state_);
        SQLite::Statement bury(state_->db, Bury("id = ?3"));
        bury.bind(1, stamp.at);
        bury.bind(2, stamp.by);
        SQLite::Statement deleteCast(state_->db, "DELETE FROM casts WHERE id = ?1");
        SQLite::Statement deleteText(state_->db, "DELETE FROM casts_text WHERE rowid = ?1");
        for (const std::int64_t id : ids) {
            bury.bind(3, id);
            bury.exec();
            bury.reset();
            for (SQLite::Statement* statement : {&deleteCast, &deleteText}) {
                statement->bind(1, id);
                statement->exec();
                statement->reset();
            }
        }
        return 0;
    });
}

void Journal::Clear() {
    Writing(*state_, "Записи не удалены из журнала", [&] {
        const internal::Stamp stamp = internal::NextStamp(*state_);
        SQLite::Statement bury(state_->db, Bury("true"));
        bury.bind(1, stamp.at);
        bury.bind(2, stamp.by);
        bury.exec();
        return state_->db.exec("DELETE FROM links; DELETE FROM casts; DELETE FROM casts_text;");
    });
}

bool Journal::Recording() {
    return Reading(*state_, [&] { return internal::Setting(state_->db, "recording") != "0"; });
}

void Journal::SetRecording(bool on) {
    Writing(*state_, "Изменение не записано в журнал", [&] {
        internal::SetSetting(state_->db, "recording", on ? "1" : "0");
        return 0;
    });
}

}  // namespace journal
