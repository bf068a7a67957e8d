// Keeping journals of several machines in step: the stamps every change
// carries, this journal's own file in the shared folder, and the merge of
// the other machines' files there, each skipped with one message when it
// can't be merged.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <map>
#include <random>

#include "base/text_file.h"
#include "journal/internal.h"
#include "journal/sync_merge.h"

namespace journal {

using internal::FileError;

namespace {

// As for a backup: a journal of a million casts takes some 200 MB.
constexpr std::uintmax_t kMaxPeerBytes = std::uintmax_t{1} << 30;

std::int64_t WallClock() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The host's name as a file name may hold it.
std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "host";
    std::string host = name;
    for (char& c : host) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_';
        if (!plain)
            c = '_';
    }
    return host;
}

// Two copies of the program on one journal write the one own file in
// turns: ReplaceFile removes the temporaries it finds beside the target,
// and would take the other's from under it.
class OwnFileLock {
public:
    explicit OwnFileLock(const std::string& journalPath) {
        if (journalPath == ":memory:")
            return;
        fd_ = ::open((journalPath + "-sync").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~OwnFileLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OwnFileLock(const OwnFileLock&) = delete;
    OwnFileLock& operator=(const OwnFileLock&) = delete;

private:
    int fd_ = -1;
};

// What tells a file's new state from the one last merged or reported. A
// file put in place by renaming a new one over it, as this program and the
// file-sync programs do, has a new inode even within one tick of the clock.
std::string SeenText(const struct stat& info) {
    return std::to_string(info.st_size) + " " + std::to_string(info.st_ino) + " " +
           std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + " " +
           std::to_string(info.st_ctim.tv_sec) + "." + std::to_string(info.st_ctim.tv_nsec);
}

std::string Skipped(const std::string& pathText, const std::string& reason) {
    return "Файл \"" + pathText + "\" пропущен: " + reason;
}

// The file's bytes, or why they can't be read, in the words of a skip.
std::optional<std::string> ReadPeer(const std::string& pathText, std::string& problem) {
    base::RegularFile file = base::ReadRegularFile(pathText, kMaxPeerBytes);
    switch (file.failure) {
        case base::ReadFailure::None:
            if (file.bytes.size() < file.sizeAtOpen)
                problem = "он стал короче, пока его читали";
            break;
        case base::ReadFailure::CannotOpen:
            problem = "он не открывается. " + internal::ErrnoReason(file.errorNumber);
            break;
        case base::ReadFailure::NotRegular:
            problem = "это не обычный файл";
            break;
        case base::ReadFailure::TooLarge:
            problem = "он не является журналом гаданий";
            break;
        case base::ReadFailure::CannotRead:
            problem = "он не читается. " + internal::ErrnoReason(file.errorNumber);
            break;
    }
    if (!problem.empty())
        return std::nullopt;
    return std::move(file.bytes);
}

struct Known {
    std::string seen;
    std::int64_t mergedAt = 0, brought = 0;
    std::string problem;
};

std::map<std::string, Known> KnownFiles(SQLite::Database& db) {
    std::map<std::string, Known> known;
    SQLite::Statement read(db, "SELECT name, seen, merged_at, brought, problem FROM peer_files");
    while (read.executeStep())
        known[read.getColumn(0).getString()] = {
            read.getColumn(1).getString(), read.getColumn(2).getInt64(),
            read.getColumn(3).getInt64(), read.getColumn(4).getString()};
    return known;
}

}  // namespace

namespace internal {

std::string RandomHexId() {
    // From the system each time: a forked process must not repeat its parent.
    std::random_device random;
    char hex[33];
    std::snprintf(hex, sizeof hex, "%08x%08x%08x%08x", random(), random(), random(), random());
    return hex;
}

bool IsHexId(const std::string& text) {
    HexId id;
    return ParseHexId(text, id);
}

Stamp NextStamp(Journal::State& state) {
    const std::string last = Setting(state.db, "clock");
    const std::int64_t at = std::max(
        state.clock(), last.empty() ? std::int64_t{0} : std::int64_t{std::stoll(last)} + 1);
    SetSetting(state.db, "clock", std::to_string(at));
    return {at, state.machine};
}

void AdvanceClock(Journal::State& state, std::int64_t seen) {
    const std::string last = Setting(state.db, "clock");
    if (last.empty() || std::stoll(last) < seen)
        SetSetting(state.db, "clock", std::to_string(seen));
}

void EnsureMachine(Journal::State& state) {
    if (!state.clock)
        state.clock = WallClock;
    const std::string host = HostName();
    state.machine = Setting(state.db, "machine");
    if (IsHexId(state.machine) && Setting(state.db, "machine_host") == host)
        return;
    SQLite::Transaction transaction(state.db, SQLite::TransactionBehavior::IMMEDIATE);
    state.machine = Setting(state.db, "machine");  // another copy may have made it first
    if (!IsHexId(state.machine) || Setting(state.db, "machine_host") != host) {
        state.machine = RandomHexId();
        SetSetting(state.db, "machine", state.machine);
        SetSetting(state.db, "machine_host", host);
    }
    transaction.commit();
}

}  // namespace internal

void Journal::SetClock(std::function<std::int64_t()> millisecondsNow) {
    state_->clock = std::move(millisecondsNow);
}

std::string Journal::OwnFileName() {
    return HostName() + "-" + state_->machine + kSyncFileSuffix;
}

void Journal::WriteOwnCopy(const std::filesystem::path& folder) {
    OwnFileLock lock(state_->pathText);
    BackupTo(folder / OwnFileName());
}

std::int64_t Journal::MergeBytes(std::string bytes, const std::string& pathText) {
    try {
        SQLite::Transaction transaction(state_->db, SQLite::TransactionBehavior::IMMEDIATE);
        internal::Merger merger(*state_);
        const std::int64_t brought = merger.Merge(bytes);
        merger.Finish();
        transaction.commit();
        return brought;
    } catch (const internal::Refused& refused) {
        throw Error(Skipped(pathText, "он " + refused.reason));
    } catch (const SQLite::Exception& error) {
        throw FileError("Записи из \"" + pathText + "\" не добавлены в журнал", state_->pathText,
                        internal::SqliteReason(error, state_->db));
    }
}

MergeReport Journal::MergeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path where = std::filesystem::absolute(folder, error).lexically_normal();
    const std::string own = OwnFileName();
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator it(where, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.ends_with(kSyncFileSuffix) && name != own && name[0] != '.')
            names.push_back(name);
    }
    if (error)
        throw FileError("Не удалось прочитать папку синхронизации", where.string(),
                        internal::ErrnoReason(error.value()));
    std::sort(names.begin(), names.end());

    MergeReport report;
    SQLite::Database& db = state_->db;
    try {
        SQLite::Transaction transaction(db, SQLite::TransactionBehavior::IMMEDIATE);
        std::map<std::string, Known> known = KnownFiles(db);
        // What the journal holds is read once, and only for a file to read.
        std::optional<internal::Merger> merger;
        SQLite::Statement keep(db,
                               "INSERT OR REPLACE INTO peer_files(name, seen, merged_at, brought, "
                               "problem) VALUES (?1, ?2, ?3, ?4, ?5)");
        for (const std::string& name : names) {
            const std::string pathText = (where / name).string();
            MergedFile result;
            result.name = name;
            struct stat info {};
            const bool found = ::stat(pathText.c_str(), &info) == 0;
            const std::string seen = found ? SeenText(info) : "";
            const auto before = known.find(name);
            if (found && before != known.end() && before->second.seen == seen) {
                // As it was: merged then, or skipped and told then.
                result.merged = before->second.problem.empty();
                result.unchanged = true;
                result.problem = before->second.problem;
                report.files.push_back(std::move(result));
                continue;
            }
            std::string problem;
            std::optional<std::string> bytes = ReadPeer(pathText, problem);
            if (bytes) {
                try {
                    if (!merger)
                        merger.emplace(*state_);
                    result.brought = merger->Merge(*bytes);
                } catch (const internal::Refused& refused) {
                    problem = "он " + refused.reason;
                }
            }
            Known now{seen, before != known.end() ? before->second.mergedAt : 0,
                      before != known.end() ? before->second.brought : 0, ""};
            if (problem.empty()) {
                result.merged = true;
                now.mergedAt = state_->clock();
                now.brought = result.brought;
                report.brought += result.brought;
            } else {
                result.problem = now.problem = Skipped(pathText, problem);
                if (before == known.end() || before->second.problem != now.problem ||
                    before->second.seen != seen)
                    report.messages.push_back(now.problem);
            }
            keep.bind(1, name);
            keep.bind(2, now.seen);
            keep.bind(3, now.mergedAt);
            keep.bind(4, now.brought);
            keep.bind(5, now.problem);
            keep.exec();
            keep.reset();
            report.files.push_back(std::move(result));
        }
        if (merger)
            merger->Finish();
        transaction.commit();
    } catch (const SQLite::Exception& failure) {
        throw FileError("Журналы из папки \"" + where.string() + "\" не добавлены в журнал",
                        state_->pathText, internal::SqliteReason(failure, db));
    }
    return report;
}

std::vector<PeerFile> Journal::PeerFiles() {
    std::vector<PeerFile> files;
    try {
        for (auto& [name, known] : KnownFiles(state_->db))
            files.push_back({name, known.mergedAt, known.brought, known.problem});
    } catch (const SQLite::Exception& error) {
        throw FileError("Не удалось прочитать журнал", state_->pathText,
                        internal::SqliteReason(error, state_->db));
    }
    return files;
}

}  // namespace journal
