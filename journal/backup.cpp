// Copies of the journal: saving one while the program runs, and merging one
// back. A copy to merge may come from anywhere, so it is read as SQLite
// advises for untrusted files: in memory, read-only, with the defensive
// settings, never running its triggers or views, checked whole first, and
// every value it holds checked before the journal takes any of it.
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>

#include <cstdint>
#include <cstring>
#include <map>
#include <tuple>

#include "base/text_file.h"
#include "base/user_file.h"
#include "journal/internal.h"
#include "journal/journal.h"

namespace journal {

using internal::FileError;

namespace {

// A journal of a million casts takes some 200 MB; a file past this is none.
constexpr std::uintmax_t kMaxBackupBytes = std::uintmax_t{1} << 30;

// The limits and switches SQLite's advice names for files from elsewhere,
// set before the file is attached.
void Harden(sqlite3* handle) {
    int ignored;
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, &ignored);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &ignored);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &ignored);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &ignored);
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, 1000000);
    sqlite3_limit(handle, SQLITE_LIMIT_SQL_LENGTH, 100000);
    sqlite3_limit(handle, SQLITE_LIMIT_COLUMN, 100);
    sqlite3_limit(handle, SQLITE_LIMIT_EXPR_DEPTH, 50);
    sqlite3_limit(handle, SQLITE_LIMIT_COMPOUND_SELECT, 3);
    sqlite3_limit(handle, SQLITE_LIMIT_VDBE_OP, 100000);
    sqlite3_limit(handle, SQLITE_LIMIT_FUNCTION_ARG, 8);
    sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(handle, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 50);
    sqlite3_limit(handle, SQLITE_LIMIT_VARIABLE_NUMBER, 10);
    sqlite3_limit(handle, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
}

// One row of a backup's casts table, its columns in the order selected.
// Returns why it can't be a cast, or empty.
std::string ReadCastRow(SQLite::Statement& row, Cast& cast) {
    auto text = [&](int column, bool nullable, std::string& out) {
        const SQLite::Column value = row.getColumn(column);
        if (value.isText())
            out = value.getString();
        return value.isText() || (nullable && value.isNull());
    };
    auto integer = [&](int column, bool nullable, int low, int high, int& out) {
        const SQLite::Column value = row.getColumn(column);
        if (value.isInteger() && value.getInt64() >= low && value.getInt64() <= high)
            out = value.getInt();
        return (value.isInteger() && value.getInt64() >= low && value.getInt64() <= high) ||
               (nullable && value.isNull());
    };
    int mode = 0, hexagram = 0, second = 0;
    std::string lines, coins;
    if (!text(0, false, cast.castAt))
        return "время гадания не текст";
    if (!integer(1, false, 1, 6, mode))
        return "способ гадания не от 1 до 6";
    cast.method = *internal::MethodOfCode(mode);
    if (!text(2, false, lines))
        return "черты не текст";
    if (!text(3, true, coins) || (row.getColumn(3).isText() && coins.empty()))
        return "монеты не текст";
    if (!integer(4, false, 1, 64, hexagram))
        return "номер гексаграммы не от 1 до 64";
    if (!integer(5, true, 1, 64, second))
        return "номер второй гексаграммы не от 1 до 64";
    if (!text(6, true, cast.question) || !text(7, true, cast.note))
        return "вопрос или заметка не текст";
    std::string totals;
    if (!text(8, true, totals) || (row.getColumn(8).isText() && totals.empty()))
        return "суммы стеблей не текст";
    if (!text(9, true, cast.outcome))
        return "«Как всё сложилось» не текст";
    if (!text(10, true, cast.returnOn) || (!cast.returnOn.empty() && !IsDate(cast.returnOn)))
        return "дата возвращения не в виде 2027-03-01";
    if (std::string problem = internal::TextProblem(cast.outcome, "«Как всё сложилось»");
        !problem.empty())
        return problem;

    const std::optional<divination::LineValues> values = internal::ValuesOfText(lines);
    if (!values)
        return "черты не шесть цифр от 6 до 9";
    cast.values = *values;
    if (hexagram != divination::HexagramOf(cast.values))
        return "номер гексаграммы не соответствует чертам";
    if (second != divination::RelatingHexagram(cast.values))
        return "вторая гексаграмма не соответствует чертам";
    if (!coins.empty()) {
        cast.coins = internal::NumbersOfText(coins);
        if (!cast.coins)
            return "монеты не восемнадцать чисел от 0 до 999 через пробел";
    }
    if (!totals.empty()) {
        cast.totals = internal::NumbersOfText(totals);
        if (!cast.totals)
            return "суммы стеблей не восемнадцать чисел через пробел";
    }
    return CastProblem(cast);
}

// The casts a backup's bytes hold, each checked, with their uuids where the
// backup has them; throws Error naming `pathText` for anything that is not
// a sound journal.
std::vector<std::pair<Cast, std::string>> ReadBackup(std::string& bytes,
                                                     const std::string& pathText) {
    const std::string file = "Файл \"" + pathText + "\" ";
    std::vector<std::pair<Cast, std::string>> casts;
    try {
        const internal::UntrustedFile source = internal::OpenUntrusted(bytes);
        std::unique_ptr<SQLite::Statement> rows;
        try {
            rows = std::make_unique<SQLite::Statement>(
                *source.db, "SELECT " + internal::RowColumns(source.version) +
                                (source.version >= 3 ? ", uuid" : ", NULL") +
                                " FROM casts ORDER BY id");
        } catch (const SQLite::Exception&) {
            throw internal::Refused{"не является журналом гаданий"};  // not the journal's table
        }
        while (rows->executeStep()) {
            Cast cast;
            const std::string problem = internal::ReadRow(*rows, cast);
            if (!problem.empty())
                throw Error(file + "повреждён. Запись " + std::to_string(casts.size() + 1) + ": " +
                            problem);
            const SQLite::Column uuid = rows->getColumn(11);
            casts.emplace_back(std::move(cast), uuid.isText() ? uuid.getString() : "");
        }
    } catch (const internal::Refused& refused) {
        throw Error(file + refused.reason);
    } catch (const SQLite::Exception&) {
        throw Error(file + "повреждён");
    }
    return casts;
}

}  // namespace

namespace internal {

std::string RowColumns(int version) {
    return std::string("cast_at, mode, lines, coins, hexagram, relating, question, note, ") +
           (version >= 2 ? "totals, outcome, return_on" : "NULL, NULL, NULL");
}

std::string ReadRow(SQLite::Statement& row, Cast& cast) {
    return ReadCastRow(row, cast);
}

namespace {

// A file this program wrote holds just the pages its header counts.
bool WholeBySize(const std::string& bytes) {
    const auto byte = [&](std::size_t at) { return std::uint64_t{std::uint8_t(bytes[at])}; };
    const std::uint64_t pageSize = byte(16) << 8 | byte(17);
    const std::uint64_t pages = byte(28) << 24 | byte(29) << 16 | byte(30) << 8 | byte(31);
    return (pageSize == 1 ? 65536 : pageSize) * pages == bytes.size();
}

}  // namespace

UntrustedFile OpenUntrusted(std::string& bytes, Check check) {
    const Refused notJournal{"не является журналом гаданий"};
    const Refused damaged{"повреждён"};
    if (bytes.size() < 512 || std::memcmp(bytes.data(), "SQLite format 3", 16) != 0)
        throw notJournal;
    // A journal in use is in WAL mode; the copy in memory is read as a file
    // with no log beside it.
    for (const std::size_t at : {18, 19}) {
        if (bytes[at] == 2)
            bytes[at] = 1;
    }
    UntrustedFile file;
    file.db = std::make_unique<SQLite::Database>(":memory:",
                                                 SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
    SQLite::Database& source = *file.db;
    Harden(source.getHandle());
    if (sqlite3_deserialize(source.getHandle(), "main",
                            reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(),
                            bytes.size(), SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
        throw damaged;
    try {
        source.exec("PRAGMA cell_size_check = ON; PRAGMA mmap_size = 0;");
        if (source.execAndGet("PRAGMA application_id").getInt() != kApplicationId)
            throw notJournal;
        file.version = source.execAndGet("PRAGMA user_version").getInt();
        if (file.version > kSchemaVersion)
            throw Refused{"создан более новой версией программы"};
        if (file.version < 1)
            throw notJournal;
        if (check == Check::Whole) {
            SQLite::Statement integrity(source, "PRAGMA integrity_check(1)");
            if (!integrity.executeStep() || integrity.getColumn(0).getString() != "ok")
                throw damaged;
        } else if (!WholeBySize(bytes)) {
            throw damaged;
        }
        SQLite::Statement table(source,
                                "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = "
                                "'casts'");
        if (!table.executeStep() || table.getColumn(0).getString().rfind("CREATE TABLE", 0) != 0)
            throw notJournal;
    } catch (const SQLite::Exception&) {
        throw damaged;
    }
    return file;
}

}  // namespace internal

void Journal::BackupTo(const std::filesystem::path& path) {
    std::error_code ignored;
    const std::string target = std::filesystem::absolute(path, ignored).lexically_normal().string();
    auto fail = [&](const std::string& reason) {
        return FileError("Не удалось сохранить копию журнала", target, reason);
    };
    // Renamed over the journal itself, or its log, the copy would leave this
    // connection writing to a file no longer there: the journal's newer
    // entries lost, and the file damaged.
    for (const char* suffix : {"", "-wal", "-shm"}) {
        if (std::filesystem::equivalent(target, state_->pathText + suffix, ignored))
            throw fail("Это файл самого журнала, копия должна лежать в другом файле");
    }
    // Copied in memory and written as one file: SQLite writing the
    // temporary itself would make its own logs beside it, which a write
    // that dies halfway leaves behind in the folder.
    const auto copyInto = [&](const std::string&, int fd) {
        std::string bytes;
        try {
            SQLite::Database copy(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
            sqlite3_backup* backup =
                sqlite3_backup_init(copy.getHandle(), "main", state_->db.getHandle(), "main");
            if (!backup)
                throw fail(
                    internal::SqliteReason(sqlite3_errcode(copy.getHandle()), copy.getHandle()));
            // All pages in one step, under one read of the journal: a
            // consistent copy while another running copy goes on writing.
            const int stepped = sqlite3_backup_step(backup, -1);
            const int finished = sqlite3_backup_finish(backup);
            if (stepped != SQLITE_DONE || finished != SQLITE_OK)
                throw fail(internal::SqliteReason(stepped != SQLITE_DONE ? stepped : finished,
                                                  copy.getHandle()));
            sqlite3_int64 size = 0;
            unsigned char* image = sqlite3_serialize(copy.getHandle(), "main", &size, 0);
            if (!image)
                throw fail(internal::SqliteReason(SQLITE_NOMEM, nullptr));
            bytes.assign(reinterpret_cast<const char*>(image), static_cast<std::size_t>(size));
            sqlite3_free(image);
        } catch (const SQLite::Exception& error) {
            throw fail(internal::SqliteReason(error.getErrorCode(), nullptr));
        }
        // One self-contained file, with no log beside it: not in WAL mode.
        for (const std::size_t at : {18, 19}) {
            if (bytes.size() > at && bytes[at] == 2)
                bytes[at] = 1;
        }
        for (std::size_t written = 0; written < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw fail(internal::ErrnoReason(n < 0 ? errno : EIO));
            written += static_cast<std::size_t>(n);
        }
    };
    // Beside the target, then renamed over it: a copy that fails or dies
    // halfway leaves an earlier copy there whole.
    base::ReplaceFile(target, copyInto,
                      [&](int errorNumber) { throw fail(internal::ErrnoReason(errorNumber)); });
}

std::int64_t Journal::RestoreFrom(const std::filesystem::path& path) {
    std::error_code ignored;
    const std::string source = std::filesystem::absolute(path, ignored).lexically_normal().string();
    base::RegularFile file = base::ReadRegularFile(source, kMaxBackupBytes);
    switch (file.failure) {
        case base::ReadFailure::None:
            break;
        case base::ReadFailure::CannotOpen:
            throw FileError("Не удалось открыть файл", source,
                            internal::ErrnoReason(file.errorNumber));
        case base::ReadFailure::NotRegular:
            throw FileError("Не удалось открыть файл", source, "Это не обычный файл");
        case base::ReadFailure::TooLarge:
            throw Error("Файл \"" + source + "\" не является журналом гаданий");
        case base::ReadFailure::CannotRead:
            throw FileError("Не удалось прочитать файл", source,
                            internal::ErrnoReason(file.errorNumber));
    }
    if (file.bytes.size() < file.sizeAtOpen)
        throw FileError("Не удалось прочитать файл", source, "Файл стал короче");
    return RestoreFromBytes(std::move(file.bytes), source);
}

std::int64_t Journal::RestoreFromBytes(std::string bytes, const std::string& pathText) {
    const std::vector<std::pair<Cast, std::string>> casts = ReadBackup(bytes, pathText);
    SQLite::Database& db = state_->db;
    try {
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        // An entry is the same when its time, mode, lines, coins and question
        // are. A backup holding one entry twice adds it twice, but never more
        // often than the backup holds it: a second restore adds nothing.
        SQLite::Statement have(db,
                               "SELECT count(*) FROM casts WHERE moment = ?1 AND cast_at = ?2 "
                               "AND mode = ?3 AND lines = ?4 AND coins IS ?5 AND question = ?6");
        internal::CastWriter writer(*state_);
        std::map<std::tuple<std::string, int, std::string, std::string, std::string>, std::int64_t>
            seen;  // in the file's own form, as the query compares them
        std::int64_t added = 0;
        // A backup's uuid is kept while the journal has no entry of it, so
        // that the entry restored on two machines merges into one; its
        // fields count as changed now, so they outlive an older deletion.
        SQLite::Statement uuidTaken(db, "SELECT 1 FROM casts WHERE uuid = ?1");
        for (const auto& [cast, uuid] : casts) {
            const std::int64_t moment = *ParseTimestamp(cast.castAt);
            const int mode = internal::MethodCode(cast.method);
            const std::string lines = internal::LinesText(cast.values);
            const std::string coins = cast.coins ? internal::NumbersText(*cast.coins) : "";
            const std::int64_t wanted = ++seen[{cast.castAt, mode, lines, coins, cast.question}];
            have.reset();
            have.bind(1, moment);
            have.bind(2, cast.castAt);
            have.bind(3, mode);
            have.bind(4, lines);
            internal::BindCoins(have, 5, cast.coins);
            have.bind(6, cast.question);
            have.executeStep();
            if (have.getColumn(0).getInt64() < wanted) {
                uuidTaken.reset();
                uuidTaken.bind(1, uuid);
                const bool keep = internal::IsHexId(uuid) && !uuidTaken.executeStep();
                writer.Insert(cast, moment, cast.outcome, cast.returnOn, keep ? uuid : "");
                ++added;
            }
        }
        transaction.commit();
        return added;
    } catch (const SQLite::Exception& error) {
        throw FileError("Записи из \"" + pathText + "\" не добавлены в журнал", state_->pathText,
                        internal::SqliteReason(error, db));
    }
}

}  // namespace journal
