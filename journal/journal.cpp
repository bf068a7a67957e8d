// The journal file: opening it (creating, migrating, or moving a damaged one
// aside), recording casts, editing them, and the lists the window shows.
#include "journal/journal.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <utility>

#include "journal/internal.h"

namespace journal {

using internal::FileError;
using internal::Migrate;
using internal::SearchNames;
using internal::SetSetting;
using internal::Setting;
using internal::SqliteReason;

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Raised while opening when SQLite finds the file damaged or no database.
struct Damaged {};

// Raised while opening when another running copy holds the file in a way
// the busy timeout does not wait out: while it makes the file, or turns it
// to WAL. Opening is then tried again.
struct Busy {};

bool IsDamage(int code) {
    code &= 0xFF;
    return code == SQLITE_CORRUPT || code == SQLITE_NOTADB;
}

bool IsBusy(int code) {
    code &= 0xFF;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

// The search index holds the hexagram names: when the names given differ
// from those it was built with, it is built again.
void RefreshSearchNames(Journal::State& state) {
    std::string names;
    for (int n = 1; n <= 64; ++n)
        names += state.nameOf(n) + "\n";
    if (Setting(state.db, "names") == names)
        return;
    SQLite::Transaction transaction(state.db, SQLite::TransactionBehavior::IMMEDIATE);
    SQLite::Statement read(state.db, "SELECT id, hexagram, relating FROM casts");
    SQLite::Statement write(state.db, "UPDATE casts_text SET names = ?1 WHERE rowid = ?2");
    while (read.executeStep()) {
        write.bind(1, SearchNames(state, read.getColumn(1).getInt(), read.getColumn(2).getInt()));
        write.bind(2, read.getColumn(0).getInt64());
        write.exec();
        write.reset();
    }
    SetSetting(state.db, "names", names);
    transaction.commit();
}

// Checks the file before anything is written to it, then sets the
// connection up and brings the schema to this program's version.
std::unique_ptr<Journal::State> OpenState(const std::string& pathText, const NameOf& nameOf) {
    std::unique_ptr<Journal::State> state;
    try {
        // A journal is used by one thread, and its connections take no lock
        // for each value read: a merge reads every row.
        state.reset(new Journal::State{
            SQLite::Database(pathText,
                             SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_NOMUTEX,
                             kBusyTimeoutMs),
            nameOf,
            pathText,
            {},
            {},
            {}});
    } catch (const SQLite::Exception& error) {
        if (IsDamage(error.getErrorCode()))
            throw Damaged{};
        if (IsBusy(error.getErrorCode()))
            throw Busy{};
        throw FileError("Не удалось открыть журнал", pathText,
                        SqliteReason(error.getErrorCode(), nullptr));
    }
    SQLite::Database& db = state->db;
    // Until the file has passed the checks, closing must not fold its log
    // into it: a file refused or moved aside stays as it was found.
    sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    try {
        // One statement, so one moment: another copy may be making the file.
        SQLite::Statement header(db,
                                 "SELECT (SELECT application_id FROM pragma_application_id), "
                                 "(SELECT user_version FROM pragma_user_version), "
                                 "(SELECT count(*) FROM sqlite_schema)");
        header.executeStep();
        const int applicationId = header.getColumn(0).getInt();
        const int version = header.getColumn(1).getInt();
        const bool empty = header.getColumn(2).getInt() == 0;
        header.reset();
        if (applicationId == internal::kApplicationId && version > internal::kSchemaVersion)
            throw Error("Файл \"" + pathText + "\" создан более новой версией программы");
        if (applicationId != internal::kApplicationId && !(applicationId == 0 && empty))
            throw Error("Файл \"" + pathText + "\" не является журналом гаданий");
        if (db.execAndGet("PRAGMA quick_check").getString() != "ok")
            throw Damaged{};
        sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
        if (db.execAndGet("PRAGMA journal_mode = WAL").getString() != "wal")
            throw Error("Не удалось открыть журнал \"" + pathText +
                        "\". Файловая система не позволяет вести журнал");
        db.exec("PRAGMA synchronous = FULL");
        db.exec("PRAGMA foreign_keys = ON");
        Migrate(db);
        RefreshSearchNames(*state);
        internal::EnsureMachine(*state);
    } catch (const SQLite::Exception& error) {
        if (IsDamage(error.getErrorCode()))
            throw Damaged{};
        if (IsBusy(error.getErrorCode()))
            throw Busy{};
        throw FileError("Не удалось открыть журнал", pathText, SqliteReason(error, db));
    }
    return state;
}

// "<name>.damaged-20261208-211405", with "-2", "-3"… when that is taken.
std::string MoveAside(const std::string& pathText) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = pathText + ".damaged-" + stamp;
    std::string aside = base;
    struct stat info;
    for (int n = 2; lstat(aside.c_str(), &info) == 0 || lstat((aside + "-wal").c_str(), &info) == 0;
         ++n)
        aside = base + "-" + std::to_string(n);
    for (const char* suffix : {"-wal", "-shm"}) {
        const std::string from = pathText + suffix;
        if (lstat(from.c_str(), &info) == 0 && std::rename(from.c_str(), (aside + suffix).c_str()))
            throw FileError("Не удалось открыть журнал", pathText, internal::ErrnoReason(errno));
    }
    if (std::rename(pathText.c_str(), aside.c_str()))
        throw FileError("Не удалось открыть журнал", pathText, internal::ErrnoReason(errno));
    return aside;
}

}  // namespace

namespace internal {

std::string FoldForSearch(std::string text) {
    // «ё» is D1 91, «е» D0 B5; «Ё» is D0 81, «Е» D0 95.
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\xD1' && text[i + 1] == '\x91') {
            text[i] = '\xD0', text[i + 1] = '\xB5';
        } else if (text[i] == '\xD0' && text[i + 1] == '\x81') {
            text[i + 1] = '\x95';
        }
    }
    return text;
}

std::string SearchNames(const Journal::State& state, int hexagram, int relating) {
    std::string names = state.nameOf(hexagram);
    if (relating != 0) {
        names += '\n';
        names += state.nameOf(relating);
    }
    return FoldForSearch(std::move(names));
}

// Each word typed becomes a quoted prefix term, so nothing the user types
// is read as the search language: `мир "дом` → `"мир"* """дом"*`.
std::string MatchExpression(const std::string& text) {
    std::string expression, word;
    const std::string folded = FoldForSearch(text);
    for (std::size_t i = 0; i <= folded.size(); ++i) {
        const char c = i < folded.size() ? folded[i] : ' ';
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0') {
            if (!word.empty())
                expression += (expression.empty() ? "\"" : " \"") + word + "\"*";
            word.clear();
        } else {
            word += c == '"' ? std::string("\"\"") : std::string(1, c);
        }
    }
    return expression;
}

Cast ReadCast(SQLite::Statement& row) {
    Cast cast;
    cast.id = row.getColumn(0).getInt64();
    cast.castAt = row.getColumn(1).getString();
    // What the journal itself wrote was checked then; a row another copy of
    // an older program wrote reads the same way.
    cast.method = MethodOfCode(row.getColumn(2).getInt()).value_or(divination::Method::OwnThrow);
    cast.values = ValuesOfText(row.getColumn(3).getString()).value_or(divination::LineValues{});
    if (!row.getColumn(4).isNull())
        cast.coins = NumbersOfText(row.getColumn(4).getString());
    cast.question = row.getColumn(7).getString();
    cast.note = row.getColumn(8).getString();
    cast.moment = row.getColumn(9).getInt64();
    if (!row.getColumn(10).isNull())
        cast.totals = NumbersOfText(row.getColumn(10).getString());
    cast.outcome = row.getColumn(11).getString();
    cast.returnOn = row.getColumn(12).getString();
    return cast;
}

std::string Setting(SQLite::Database& db, const char* key) {
    SQLite::Statement read(db, "SELECT value FROM settings WHERE key = ?1");
    read.bind(1, key);
    return read.executeStep() ? read.getColumn(0).getString() : std::string();
}

void SetSetting(SQLite::Database& db, const char* key, const std::string& value) {
    SQLite::Statement write(db,
                            "INSERT INTO settings(key, value) VALUES (?1, ?2) "
                            "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
    write.bind(1, key);
    write.bind(2, value);
    write.exec();
}

std::string SqliteReason(int code, sqlite3* handle) {
    // The system's error is only the cause where a file operation failed.
    const int systemError = handle ? sqlite3_system_errno(handle) : 0;
    switch (code & 0xFF) {
        case SQLITE_FULL:
            return "Нет места на диске";
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            if (systemError != 0)
                return ErrnoReason(systemError);
            if (code == SQLITE_IOERR_WRITE || code == SQLITE_IOERR_FSYNC ||
                code == SQLITE_IOERR_TRUNCATE)
                return "Ошибка записи на диск";
            if (code == SQLITE_IOERR_READ || code == SQLITE_IOERR_SHORT_READ)
                return "Ошибка чтения с диска";
            return (code & 0xFF) == SQLITE_IOERR ? "Ошибка ввода-вывода" : "Файл не открывается";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "Журнал занят другой копией программы";
        case SQLITE_READONLY:
            return "Нет разрешения на запись";
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return "Нет доступа";
        case SQLITE_CORRUPT:
            return "Файл повреждён";
        case SQLITE_NOTADB:
            return "Файл не является базой данных";
        case SQLITE_NOMEM:
            return "Не хватает памяти";
        case SQLITE_TOOBIG:
            return "Слишком длинная запись";
        default:
            return sqlite3_errstr(code);
    }
}

Error FileError(const std::string& what, const std::string& pathText, const std::string& reason) {
    return Error(what + " \"" + pathText + "\". " + reason);
}

CastWriter::CastWriter(Journal::State& state)
    : state_(state),
      insertCast_(state.db,
                  "INSERT INTO casts(cast_at, mode, lines, coins, hexagram, relating, question, "
                  "note, moment, totals, outcome, return_on, nuclear, opposite, inverted, "
                  "changing, below, above, second_below, second_above, uuid, question_at, "
                  "question_by, note_at, note_by, outcome_at, outcome_by, return_at, return_by) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?20, ?21, ?22, ?23, "
                  "?24, ?25, ?26, ?27, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?28, ?29)"),
      insertText_(state.db,
                  "INSERT INTO casts_text(rowid, question, note, names) VALUES (?1, ?2, ?3, ?4)") {}

std::int64_t CastWriter::Insert(const NewCast& cast, std::int64_t moment,
                                const std::string& outcome, const std::string& returnOn,
                                const std::string& uuid, const Stamps* stamps) {
    insertCast_.reset();
    Stamps made;
    if (!stamps) {
        made.fill(NextStamp(state_));
        stamps = &made;
    }
    insertCast_.bind(13, uuid.empty() ? RandomHexId() : uuid);
    for (int field = 0; field < 4; ++field) {
        const int at = field < 3 ? 14 + 2 * field : 28;
        insertCast_.bind(at, (*stamps)[field].at);
        insertCast_.bind(at + 1, (*stamps)[field].by);
    }
    insertCast_.bind(1, cast.castAt);
    const Derived derived = DerivedColumns(cast.values);
    const int hexagram = derived.hexagram, second = derived.second;
    insertCast_.bind(2, MethodCode(cast.method));
    insertCast_.bind(3, LinesText(cast.values));
    BindCoins(insertCast_, 4, cast.coins);
    insertCast_.bind(5, hexagram);
    if (second == 0)
        insertCast_.bind(6);
    else
        insertCast_.bind(6, second);
    insertCast_.bind(7, cast.question);
    insertCast_.bind(8, cast.note);
    insertCast_.bind(9, moment);
    if (cast.totals)
        insertCast_.bind(10, NumbersText(*cast.totals));
    else
        insertCast_.bind(10);
    insertCast_.bind(11, outcome);
    if (returnOn.empty())
        insertCast_.bind(12);
    else
        insertCast_.bind(12, returnOn);
    BindDerived(insertCast_, derived);
    insertCast_.exec();
    const std::int64_t id = state_.db.getLastInsertRowid();
    insertText_.reset();
    insertText_.bind(1, id);
    insertText_.bind(2, FoldForSearch(cast.question));
    insertText_.bind(3, FoldForSearch(outcome.empty() ? cast.note : cast.note + "\n" + outcome));
    insertText_.bind(4, SearchNames(state_, hexagram, second));
    insertText_.exec();
    return id;
}

}  // namespace internal

Journal::Journal(std::unique_ptr<State> state) : state_(std::move(state)) {}
Journal::Journal(Journal&&) noexcept = default;
Journal& Journal::operator=(Journal&&) noexcept = default;
Journal::~Journal() = default;

Journal Journal::Open(const std::filesystem::path& path, NameOf nameOf) {
    std::error_code ignored;
    const std::string pathText =
        std::filesystem::absolute(path, ignored).lexically_normal().string();
    // Made or opened here first, not by SQLite: the system's reason is then
    // at hand, and a FIFO or a device is refused before anything waits on it.
    const int fd =
        ::open(pathText.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        throw FileError("Не удалось открыть журнал", pathText, internal::ErrnoReason(errno));
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    if (!regular)
        throw FileError("Не удалось открыть журнал", pathText, "Это не обычный файл");

    // Two copies started at once both make the file; the one that finds the
    // other in the middle of it waits its turn, as long as a write would.
    const auto openWaiting = [&] {
        for (int waited = 0;; waited += 20) {
            try {
                return OpenState(pathText, nameOf);
            } catch (const Busy&) {
                if (waited >= kBusyTimeoutMs)
                    throw FileError("Не удалось открыть журнал", pathText,
                                    "Журнал занят другой копией программы");
                ::usleep(20 * 1000);
            }
        }
    };
    try {
        return Journal(openWaiting());
    } catch (const Damaged&) {
    }
    const std::string aside = MoveAside(pathText);
    try {
        Journal journal(openWaiting());
        journal.state_->damagedNotice = "Журнал \"" + pathText +
                                        "\" повреждён. Он сохранён как \"" + aside +
                                        "\", начат новый журнал";
        return journal;
    } catch (const Damaged&) {
        // A file just begun can't be damaged; something else holds the name.
        throw FileError("Не удалось открыть журнал", pathText, "Файл повреждён");
    }
}

Journal Journal::OpenInMemory(NameOf nameOf) {
    auto state = std::make_unique<State>(
        State{SQLite::Database(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX),
              nameOf,
              ":memory:",
              {},
              {},
              {}});
    Migrate(state->db);
    RefreshSearchNames(*state);
    internal::EnsureMachine(*state);
    return Journal(std::move(state));
}

const std::string& Journal::PathText() const {
    return state_->pathText;
}

const std::string& Journal::DamagedNotice() const {
    return state_->damagedNotice;
}

std::int64_t Journal::Record(const NewCast& cast) {
    const std::string problem = CastProblem(cast);
    if (!problem.empty())
        throw FileError("Гадание не записано в журнал", state_->pathText,
                        "Неверное гадание: " + problem);
    try {
        SQLite::Transaction transaction(state_->db, SQLite::TransactionBehavior::IMMEDIATE);
        const std::int64_t id =
            internal::CastWriter(*state_).Insert(cast, *ParseTimestamp(cast.castAt));
        transaction.commit();
        return id;
    } catch (const SQLite::Exception& error) {
        throw FileError("Гадание не записано в журнал", state_->pathText,
                        SqliteReason(error, state_->db));
    }
}

}  // namespace journal
