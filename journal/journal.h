// The journal of casts: Journal.db, an SQLite file that keeps every cast with
// the user's question and note, lists and searches them for the journal
// window, and is copied to and merged back from a backup file.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "divination/interpretation.h"
#include "divination/yarrow.h"
#include "journal/sync.h"

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
    std::optional<divination::StalkTotals> totals;  // stalks: the held totals, three a line
};

struct Cast : NewCast {
    std::int64_t id = 0;
    std::int64_t moment = 0;  // castAt in seconds since 1970 UTC
    std::string outcome;      // «Как всё сложилось», UTF-8
    std::string returnOn;     // «Вернуться к гаданию»: "2027-03-01", or empty
};

// The UTF-8 name of hexagram 1…64, for the search.
using NameOf = std::function<std::string(int)>;

// Where a hexagram stands in an entry.
enum class Place { Cast, Second, Nuclear, Opposite, Inverted, Any };

// What the journal window shows; every condition given must hold.
// `text`: the words typed, each the start of a word in the question, the
// note or a hexagram's name (the cast's or its second one's), all of them
// needed, case and «ё»/«е» not told apart. `hexagram`: 0 for all, else only
// entries with that hexagram in `place`. `changingLine` 1…6: only entries
// where that line changes (of the hexagram above, when one is given in the
// cast's place). `trigram` 1…8, as the table numbers them: below (lines 1–3)
// or above (4–6), in the cast or in its second hexagram. Dates are the
// local dates of the casts, "2026-12-08", both ends included; `dueBy` keeps
// the entries whose date to return to them has come by that day.
struct Query {
    std::string text;
    int hexagram = 0;
    Place place = Place::Cast;
    int changingLine = 0;
    int trigram = 0;
    bool trigramAbove = false;
    bool trigramInSecond = false;
    std::optional<divination::Method> method;
    std::string fromDate, toDate;
    std::string dueBy;
};

// What «Статистика» shows of the entries a query finds.
struct Statistics {
    std::int64_t entries = 0;
    std::array<std::int64_t, 64> hexagrams{};  // the cast's, by number − 1
    std::array<std::int64_t, 64> seconds{};
    // How often each value 6…9 came, line by line, for each method.
    std::map<divination::Method, std::array<std::int64_t, 4>> values;
    std::array<std::int64_t, 6> changedLines{};                // line 1…6 changed
    std::array<std::int64_t, 8> below{}, above{};              // the cast's trigrams, 1…8
    std::vector<std::pair<std::string, std::int64_t>> months;  // "2026-12", oldest first
    // Every entry in the order of its moment, for the timeline.
    struct Point {
        std::int64_t id;
        std::int64_t moment;
        divination::LineValues values;
    };
    std::vector<Point> timeline;
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

// The number the file's `mode` column holds for a method, 1…6.
int MethodNumber(divination::Method method);

// Whether the text is a real date in the form "2027-03-01".
bool IsDate(const std::string& date);

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
    bool SetOutcome(std::int64_t id, const std::string& text);
    // A date "2027-03-01", or empty for none.
    bool SetReturnOn(std::int64_t id, const std::string& date);

    // «Связать с…»: `later` follows up `earlier`. Both ways, for an entry:
    // the entries it follows up and those that follow it up, oldest first.
    void Link(std::int64_t later, std::int64_t earlier);
    void Unlink(std::int64_t later, std::int64_t earlier);
    std::vector<std::int64_t> FollowedUp(std::int64_t id);
    std::vector<std::int64_t> FollowUps(std::int64_t id);

    // How many entries wait to be looked at again on `today` ("2026-12-09").
    std::int64_t CountDue(const std::string& today);
    // One of the entries the query finds, drawn by `pick` from 0…count − 1.
    std::optional<Cast> Random(const Query& query,
                               const std::function<std::int64_t(std::int64_t count)>& pick);

    Statistics Stats(const Query& query);

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

    // Keeping journals of several machines in step through a folder that a
    // file-sync program shares (README: «Журналы на нескольких машинах»).
    // Each journal writes only its own file there and merges the others'.
    //
    // "<host>-<machine id>.taynovid-journal": this journal's file in the
    // folder. Two copies of the program on one journal share it.
    std::string OwnFileName();
    // Writes the own file as BackupTo does (beside, synced, renamed over);
    // two copies of the program on one journal take turns. Never touches
    // another file. The caller calls it after changes, at most once every
    // few seconds, and at exit. Throws Error naming the file.
    void WriteOwnCopy(const std::filesystem::path& folder);
    // Merges every other "*.taynovid-journal" in the folder, in one
    // transaction, each read as RestoreFrom reads a backup: a file that
    // can't be read or is not a sound journal of this program is skipped
    // with a message, and the others are merged. For each entry, each field
    // takes its latest change (ties by the machine id); a deletion wins over
    // every change older than it. Throws Error only for a folder that can't
    // be listed or a journal that can't be written; it is then as it was.
    // The caller calls it when the journal opens, when the folder changes
    // and on «Синхронизировать сейчас».
    MergeReport MergeFolder(const std::filesystem::path& folder);
    // One other machine's file, its bytes already read: what it brought.
    // Throws Error («Файл "<pathText>" пропущен: …») and leaves the journal
    // as it was for a file that is not a sound journal of schema 3 or later.
    std::int64_t MergeBytes(std::string bytes, const std::string& pathText);
    // Each other machine's file any merge has seen, by name.
    std::vector<PeerFile> PeerFiles();
    // The clock that stamps the changes, milliseconds since 1970 UTC; the
    // wall clock unless a test sets its own.
    void SetClock(std::function<std::int64_t()> millisecondsNow);

    // The open connection; only the library's own files see inside.
    struct State;

private:
    explicit Journal(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace journal
