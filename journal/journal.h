// The journal of casts: Journal.db, an SQLite file that keeps every cast with
// the user's question and note, lists and searches them for the journal
// window, and is copied to and merged back from a backup file.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/error.h"
#include "divination/interpretation.h"

namespace journal {

// Its text is what the user reads: Russian, naming the file's absolute path
// and the reason, without a closing full stop.
class Error : public base::Error {
public:
    using base::Error::Error;
};

inline constexpr const char* kJournalFile = "Journal.db";

// A question or a note longer than this is refused, in a backup too.
inline constexpr std::size_t kMaxTextBytes = 100000;

// A cast as it is kept: how it was made and what it gave. How the file
// holds it is the journal's own business.
struct NewCast {
    std::string castAt;  // LocalTimestamp(): "2026-12-08T21:14:05+03:00"
    divination::Method method = divination::Method::HeadsAndTails;
    divination::LineValues values{};               // six values 6…9, line 1 first
    std::optional<divination::CoinNumbers> coins;  // the program's coins, when it tossed them
    std::string question;                          // UTF-8, may be empty
    std::string note;
};

struct Cast : NewCast {
    std::int64_t id = 0;
    std::int64_t moment = 0;  // castAt in seconds since 1970 UTC
};

// The UTF-8 name of hexagram 1…64, for the search.
using NameOf = std::function<std::string(int)>;

// What the journal window shows. `text`: the words typed, each the start of
// a word in the question, the note or a hexagram's name (the cast's or its
// second one's), all of them needed, case and «ё»/«е» not told apart.
// `hexagram`: 0 for all, else only casts of that hexagram.
struct Query {
    std::string text;
    int hexagram = 0;
};

// A place in the list, newest first: a page starts at the entry just older
// than the position. The default stands before the newest entry.
struct Position {
    std::int64_t moment = std::numeric_limits<std::int64_t>::max();
    std::int64_t id = std::numeric_limits<std::int64_t>::max();
};
inline Position After(const Cast& cast) {
    return {cast.moment, cast.id};
}

// "2026-12-08T21:14:05+03:00": the local time of `moment` with its offset.
std::string LocalTimestamp(std::time_t moment);

// The seconds since 1970 UTC of such a text; nullopt unless it has exactly
// that form with a real date and time.
std::optional<std::int64_t> ParseTimestamp(const std::string& castAt);

// "8 декабря 2026, 21:14", the local time as the cast saw it; the text as
// it is when it is no timestamp.
std::string RussianDateTime(const std::string& castAt);

// Why this cast may not be kept ("монеты не соответствуют чертам"), or
// empty when it may: its values and coins must agree by the rules of the
// cast, and its texts be UTF-8 of a sane length.
std::string CastProblem(const NewCast& cast);

class Journal {
public:
    // Opens the journal at `path`, creating a missing one. A file that is no
    // database or is damaged is moved aside as "<name>.damaged-<YYYYMMDD-
    // HHMMSS>" (with its -wal and -shm) and a new journal begun; see
    // DamagedNotice(). Throws Error for a file that can't be opened or
    // created, that is no regular file, that is another program's database,
    // or that a newer version of the program wrote: such a file is left as
    // it is.
    static Journal Open(const std::filesystem::path& path, NameOf nameOf);

    // An empty journal in memory, nothing on disk.
    static Journal OpenInMemory(NameOf nameOf);

    Journal(Journal&&) noexcept;
    Journal& operator=(Journal&&) noexcept;
    ~Journal();

    // The absolute path, as the messages name it.
    const std::string& PathText() const;

    // «Журнал "<path>" повреждён. Он сохранён как "<aside>", начат новый
    // журнал» when Open moved a damaged journal aside; else empty.
    const std::string& DamagedNotice() const;

    // Keeps the cast in one transaction and returns its id once it is
    // synced to disk. Throws Error («Гадание не записано в журнал …») when
    // it can't be kept; the journal then holds what it held. Records
    // whatever Recording() says: the caller asks it first.
    std::int64_t Record(const NewCast& cast);

    // Each returns false when no entry has this id (another running copy
    // may have deleted it).
    bool SetQuestion(std::int64_t id, const std::string& text);
    bool SetNote(std::int64_t id, const std::string& text);

    void Delete(const std::vector<std::int64_t>& ids);
    void Clear();

    // The «Вести журнал» switch, kept in the journal; on in a new one.
    bool Recording();
    void SetRecording(bool on);

    std::int64_t Count(const Query& query);
    // Up to `limit` entries older than `after`, newest first by the real
    // moment (castAt's offsets taken into account), then by id.
    std::vector<Cast> Page(const Query& query, Position after, int limit);
    std::optional<Cast> Find(std::int64_t id);

    // A consistent copy of the journal at `path`, also while another copy
    // of the program writes to it: written beside the target and renamed
    // over it, so a failure leaves the target as it was and no part-copy.
    void BackupTo(const std::filesystem::path& path);

    // Adds the casts of a backup that the journal lacks (same time, mode,
    // lines, coins and question), in one transaction; returns how many.
    // The file is untrusted: anything but a sound journal of this or an
    // earlier version with every value valid throws Error and leaves the
    // journal as it was.
    std::int64_t RestoreFrom(const std::filesystem::path& path);

    // The same for a backup's bytes already read; `pathText` is named in the
    // messages.
    std::int64_t RestoreFromBytes(std::string bytes, const std::string& pathText);

    // The open connection; only the library's own files see inside.
    struct State;

private:
    explicit Journal(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace journal
