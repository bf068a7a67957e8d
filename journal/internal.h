// What the journal's source files share: the open connection, the reasons
// given to the user, and the one way a cast enters the file.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <array>
#include <compare>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "journal/journal.h"

namespace journal {

struct Journal::State {
    SQLite::Database db;
    NameOf nameOf;
    std::string pathText;
    std::string damagedNotice;
    // Milliseconds since 1970 UTC; the wall clock unless a test sets another.
    std::function<std::int64_t()> clock;
    // This journal file's own id in the merge: see EnsureMachine.
    std::string machine;
};

namespace internal {

// Stamps the file as a journal, so that another program's database is told
// apart from it ("TAYN").
inline constexpr int kApplicationId = 0x5441594E;
// PRAGMA user_version of the journals this program writes.
inline constexpr int kSchemaVersion = 3;

// The columns of a cast in the order ReadCast takes them.
inline constexpr const char* kCastColumns =
    "id, cast_at, mode, lines, coins, hexagram, relating, question, note, moment, totals, "
    "outcome, return_on";
Cast ReadCast(SQLite::Statement& row);

// Brings the schema to kSchemaVersion in one transaction.
void Migrate(SQLite::Database& db);

// What the search by structure and the statistics read of a cast, from the
// core's interpretation of its values; 0 (NULL) where there is none.
struct Derived {
    int hexagram = 0, second = 0, nuclear = 0, opposite = 0, inverted = 0;
    int changing = 0;  // line k changes: bit 1 << (k − 1)
    int below = 0, above = 0, secondBelow = 0, secondAbove = 0;
};
Derived DerivedColumns(const divination::LineValues& values);
// Binds them as ?20 … ?27 of kDerivedAssignments or kDerivedColumns.
inline constexpr const char* kDerivedAssignments =
    "nuclear = ?20, opposite = ?21, inverted = ?22, changing = ?23, below = ?24, above = ?25, "
    "second_below = ?26, second_above = ?27";
void BindDerived(SQLite::Statement& statement, const Derived& derived);

// «ё» as «е», «Ё» as «Е»: what the search index holds and the words typed.
std::string FoldForSearch(std::string text);
// The hexagram names an entry is found by, folded.
std::string SearchNames(const Journal::State& state, int hexagram, int relating);
// The words typed as an FTS5 expression; empty when there are none.
std::string MatchExpression(const std::string& text);

std::string Setting(SQLite::Database& db, const char* key);
void SetSetting(SQLite::Database& db, const char* key, const std::string& value);

// Why a text can't be kept, or empty: too long, or not UTF-8.
std::string TextProblem(const std::string& text, const char* what);

// The system's reason for errno, in Russian.
inline std::string ErrnoReason(int errorNumber) {
    return base::SystemReason(errorNumber, base::Language::Russian);
}

// The reason for an SQLite result code (extended or not), in Russian; the
// system's reason where the file system failed and SQLite kept it.
std::string SqliteReason(int code, sqlite3* handle);
inline std::string SqliteReason(const SQLite::Exception& error, const SQLite::Database& db) {
    const int extended = error.getExtendedErrorCode();
    return SqliteReason(extended > 0 ? extended : error.getErrorCode(), db.getHandle());
}

// The file's form of a cast: the values as six digits ("979787"), the coins
// and the stalk totals as 18 numbers with single blanks between, the method as 1…4. Back, nothing
// unless the text has exactly that form.
std::string LinesText(const divination::LineValues& values);
std::optional<divination::LineValues> ValuesOfText(const std::string& digits);
std::string NumbersText(const divination::CoinNumbers& coins);
std::optional<divination::CoinNumbers> NumbersOfText(const std::string& text);
int MethodCode(divination::Method method);  // 0 for none
std::optional<divination::Method> MethodOfCode(std::int64_t code);

// Binds the coin numbers, or NULL for a cast that has none.
inline void BindCoins(SQLite::Statement& statement, int index,
                      const std::optional<divination::CoinNumbers>& coins) {
    if (coins)
        statement.bind(index, NumbersText(*coins));
    else
        statement.bind(index);
}

// "<what> "<path>". <reason>"

Error FileError(const std::string& what, const std::string& pathText, const std::string& reason);

// What `work` reads, an SQLite failure turned into «Не удалось прочитать
// журнал "<path>". <reason>».
template <typename Work>
auto Reading(Journal::State& state, Work work) {
    try {
        return work();
    } catch (const SQLite::Exception& error) {
        throw FileError("Не удалось прочитать журнал", state.pathText,
                        SqliteReason(error, state.db));
    }
}

// When a field was last changed and by which journal: the later wins in a
// merge. `by` is 32 hex digits, or empty for what was there before schema 3.
struct Stamp {
    std::int64_t at = 0;  // milliseconds since 1970 UTC, by the hybrid rule
    std::string by;
    auto operator<=>(const Stamp&) const = default;
};
// The editable fields' stamps, in the order question, note, outcome, return_on.
using Stamps = std::array<Stamp, 4>;

// A new stamp of this journal: max(now, the last one + 1), so that its own
// later change never loses to its own earlier one when the clock steps back.
// Inside the caller's transaction: it keeps the last stamp in the settings.
Stamp NextStamp(Journal::State& state);
// The last stamp is at least `seen`, so that a change after a merge wins
// over everything the merge brought.
void AdvanceClock(Journal::State& state, std::int64_t seen);

// 32 random hex digits: an entry's uuid, a journal's machine id.
std::string RandomHexId();
bool IsHexId(const std::string& text);

// Gives the journal its machine id, kept in its settings; a new one when
// the file is first opened on another host, so that a copied journal does
// not share its id with the one it was copied from.
void EnsureMachine(Journal::State& state);

// Why a file from elsewhere is refused, without the file's name: "повреждён",
// "не является журналом гаданий"…; each caller words the message itself.
struct Refused {
    std::string reason;
};

// A file from elsewhere, its bytes opened read-only in memory with SQLite's
// defences on and checked: a journal of this or an earlier version.
// `bytes` must outlive it. Throws Refused.
struct UntrustedFile {
    std::unique_ptr<SQLite::Database> db;
    int version = 0;
};
enum class Check {
    Whole,  // every page, and every index against its table
    // Only that the file is as long as its header says; for a reader of
    // whole tables, whose reading fails on any damaged page it meets.
    ByReading,
};
UntrustedFile OpenUntrusted(std::string& bytes, Check check = Check::Whole);

// The columns ReadRow takes, in order, of a file of `version`.
std::string RowColumns(int version);
// One row of such a file's casts table; why it can't be a cast, or empty.
std::string ReadRow(SQLite::Statement& row, Cast& cast);

// Adds casts, with their search text, inside the caller's transaction.
class CastWriter {
public:
    explicit CastWriter(Journal::State& state);
    // The new entry's id. The cast is taken as valid; a restored one may
    // bring how it turned out and its date to return. An empty uuid gets a
    // new one, no stamps (this journal, now) for every field.
    std::int64_t Insert(const NewCast& cast, std::int64_t moment, const std::string& outcome = {},
                        const std::string& returnOn = {}, const std::string& uuid = {},
                        const Stamps* stamps = nullptr);

private:
    Journal::State& state_;
    SQLite::Statement insertCast_;
    SQLite::Statement insertText_;
};

}  // namespace internal
}  // namespace journal
