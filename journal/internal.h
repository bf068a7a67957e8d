// What the journal's source files share: the open connection, the reasons
// given to the user, and the one way a cast enters the file.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

#include <optional>
#include <string>

#include "journal/journal.h"

namespace journal {

struct Journal::State {
    SQLite::Database db;
    NameOf nameOf;
    std::string pathText;
    std::string damagedNotice;
};

namespace internal {

// Stamps the file as a journal, so that another program's database is told
// apart from it ("TAYN").
inline constexpr int kApplicationId = 0x5441594E;
// PRAGMA user_version of the journals this program writes.
inline constexpr int kSchemaVersion = 1;

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
// as 18 numbers with single blanks between, the method as 1…4. Back, nothing
// unless the text has exactly that form.
std::string LinesText(const divination::LineValues& values);
std::optional<divination::LineValues> ValuesOfText(const std::string& digits);
std::string CoinsText(const divination::CoinNumbers& coins);
std::optional<divination::CoinNumbers> CoinsOfText(const std::string& text);
int MethodCode(divination::Method method);  // 0 for none
std::optional<divination::Method> MethodOfCode(std::int64_t code);

// Binds the coin numbers, or NULL for a cast that has none.
inline void BindCoins(SQLite::Statement& statement, int index,
                      const std::optional<divination::CoinNumbers>& coins) {
    if (coins)
        statement.bind(index, CoinsText(*coins));
    else
        statement.bind(index);
}

// "<what> "<path>". <reason>"

Error FileError(const std::string& what, const std::string& pathText, const std::string& reason);

// Adds casts, with their search text, inside the caller's transaction.
class CastWriter {
public:
    explicit CastWriter(Journal::State& state);
    // The new entry's id. The cast is taken as valid.
    std::int64_t Insert(const NewCast& cast, std::int64_t moment);

private:
    Journal::State& state_;
    SQLite::Statement insertCast_;
    SQLite::Statement insertText_;
};

}  // namespace internal
}  // namespace journal
