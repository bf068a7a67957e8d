// What the journal's source files share: the open connection, the reasons
// given to the user, and the one way a cast enters the file.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>

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

// "<what> "<path>". <reason>"
// Binds the coin numbers, or NULL for a cast that has none.
inline void BindCoins(SQLite::Statement& statement, int index, const std::string& coins) {
    if (coins.empty())
        statement.bind(index);
    else
        statement.bind(index, coins);
}

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
