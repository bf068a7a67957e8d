// Writing a user's file safely: beside it, synced, renamed over it.
#include "base/user_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string_view>

#include "base/error.h"
#include "base/text_file.h"

namespace base {

namespace fs = std::filesystem;

namespace {

WriteStepHook stepHook = nullptr;

void Reached(WriteStep step) {
    if (stepHook)
        stepHook(step);
}

class Writer {
public:
    explicit Writer(const std::string& windowsPath) : windowsPath_(windowsPath) {}

    Error error(int errorNumber) const {
        return FileError("Cannot write file", windowsPath_, errorNumber);
    }
    Error error(const std::string& reason) const {
        return FileError("Cannot write file", windowsPath_, reason);
    }

    void writeAll(int fd, const std::string& bytes) const {
        size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::pwrite(fd, bytes.data() + written, bytes.size() - written,
                                       static_cast<off_t>(written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw error(n < 0 ? errno : ENOSPC);
            written += static_cast<size_t>(n);
        }
    }

private:
    std::string windowsPath_;
};

// The file a chain of symbolic links ends at; the path itself when it is no
// link. The end need not exist.
fs::path FollowLinks(fs::path path, const Writer& writer) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            throw writer.error(error.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    throw writer.error(ELOOP);
}

bool IsTemporaryName(std::string_view name, std::string_view target) {
    // "<target>.XXXXXX.tmp", the X from the letters and digits mkstemps uses.
    if (name.size() != target.size() + 11 || name.substr(0, target.size()) != target ||
        name[target.size()] != '.' || name.substr(target.size() + 7) != ".tmp")
        return false;
    for (const char c : name.substr(target.size() + 1, 6)) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Temporaries that a save which died left behind; nothing else is touched.
// A save in progress holds a lock on its temporary (another running copy of
// the program): that one is not a leftover.
void RemoveLeftovers(const fs::path& folder, const std::string& target) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        std::error_code ignored;
        if (!IsTemporaryName(entry.path().filename().string(), target) ||
            !entry.is_regular_file(ignored) || entry.is_symlink(ignored))
            continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            fs::remove(entry.path(), ignored);
        ::close(fd);
    }
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void InPlace(const fs::path& target, const std::string& bytes, const Writer& writer) {
    const int fd =
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        throw writer.error(errno);
    try {
        struct stat status {};
        if (::fstat(fd, &status) != 0)
            throw writer.error(errno);
        if (!S_ISREG(status.st_mode))
            throw writer.error("Not a regular file");
        Reached(WriteStep::InPlaceOpened);
        // Room for the whole line first, so a full disk stops the write
        // before it has touched the old line.
        if (::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0 &&
            errno == ENOSPC)
            throw writer.error(ENOSPC);
        writer.writeAll(fd, bytes);
        Reached(WriteStep::InPlaceWritten);
        if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0)
            throw writer.error(errno);
        Reached(WriteStep::InPlaceCut);
        if (::fsync(fd) != 0)
            throw writer.error(errno);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw writer.error(errno);
}

// The file's refusals: whatever is no regular file, and one the user may not
// write.
void CheckWritable(const struct stat& existing, const fs::path& target, const Writer& writer) {
    if (S_ISDIR(existing.st_mode))
        throw writer.error(EISDIR);
    if (!S_ISREG(existing.st_mode))
        throw writer.error("Not a regular file");
    // Marked read-only, it stays unwritten also for root, who passes
    // every access check.
    if ((existing.st_mode & 0222) == 0)
        throw writer.error(EACCES);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        throw writer.error(errno);
}

// Saving what the file already holds, as a second save with nothing changed
// does, needs no new file, no rename and no sync of the disk.
bool HoldsAlready(const fs::path& target, const struct stat& existing, const std::string& bytes) {
    if (static_cast<std::uintmax_t>(existing.st_size) != bytes.size())
        return false;
    const RegularFile file = ReadRegularFile(target, bytes.size());
    return file.failure == ReadFailure::None && file.bytes == bytes;
}

void TakeOwnerAndMode(int fd, const struct stat& existing) {
    if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0) {
        // Only root gives a file away, and only a member its group: the
        // new file is the user's own then.
    }
    ::fchmod(fd, existing.st_mode & 07777);
}

[[noreturn]] void Fail(const WriteFailure& fail, int errorNumber) {
    fail(errorNumber);
    // A caller's `fail` that returned: the system's words, rather than
    // going on as if the step had been done.
    throw Error(SystemReason(errorNumber));
}

}  // namespace

void SetWriteStepHook(WriteStepHook hook) {
    stepHook = hook;
}

void ReplaceFile(const fs::path& target, const FillTemporary& fill, const WriteFailure& fail,
                 const std::function<void()>& folderTakesNoFile) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string name = target.filename().string();
    RemoveLeftovers(folder, name);
    std::string temporary = (folder / (name + ".XXXXXX.tmp")).string();
    const int fd = ::mkstemps(temporary.data(), 4);
    if (fd < 0) {
        const int error = errno;
        if (folderTakesNoFile && (error == EACCES || error == EROFS || error == EPERM))
            return folderTakesNoFile();
        Fail(fail, error);
    }
    ::flock(fd, LOCK_EX);  // not a leftover while this save lasts
    Reached(WriteStep::TemporaryCreated);
    try {
        fill(temporary, fd);
        Reached(WriteStep::TemporaryWritten);
        if (::fsync(fd) != 0)
            Fail(fail, errno);
        Reached(WriteStep::TemporarySynced);
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    const int closed = ::close(fd);
    const int closeError = errno;
    if (closed != 0 || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = closed != 0 ? closeError : errno;
        ::unlink(temporary.c_str());
        Fail(fail, error);
    }
    Reached(WriteStep::Renamed);
    SyncFolder(folder);
}

void WriteInPlace(const std::string& windowsPath, const std::string& bytes) {
    const Writer writer(windowsPath);
    InPlace(FollowLinks(NativePath(windowsPath), writer), bytes, writer);
}

void WriteUserFile(const std::string& windowsPath, const std::string& bytes) {
    const Writer writer(windowsPath);
    const fs::path target = FollowLinks(NativePath(windowsPath), writer);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        // Checked first: a file the user may not write is refused as ever,
        // whatever it holds.
        CheckWritable(existing, target, writer);
        if (HoldsAlready(target, existing, bytes))
            return;
    }
    ReplaceFile(
        target,
        [&](const std::string&, int fd) {
            if (exists)
                TakeOwnerAndMode(fd, existing);
            else
                ::fchmod(fd, 0644);
            writer.writeAll(fd, bytes);
        },
        [&](int errorNumber) { throw writer.error(errorNumber); },
        [&] { InPlace(target, bytes, writer); });
}

}  // namespace base
