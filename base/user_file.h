// Writing a file the user keeps: whatever moment the process dies, the file
// holds its old bytes or its new ones, never a mix and never nothing.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace base {

// Throws the caller's own error for a system call that failed with this
// errno; each caller words its failures in its own language.
using WriteFailure = std::function<void(int errorNumber)>;

// Writes the new file's bytes into the temporary, through its path or its
// descriptor (open for writing, at offset 0).
using FillTemporary = std::function<void(const std::string& temporaryPath, int fd)>;

// Puts a new file in place of the one at `target`, a native path taken as it
// is (a symbolic link there is replaced, not followed). Earlier temporaries
// "<name>.XXXXXX.tmp" beside it, left by a save that died, are removed; a new
// one is made (mode 0600) and `fill` writes it; it is synced and renamed over
// the target, and the folder synced. Any failure removes the temporary and
// leaves the target as it was: what `fill` throws passes on as it is, a
// failed system call goes to `fail`. When the folder takes no new file
// (EACCES, EROFS, EPERM) and `folderTakesNoFile` is given, that is called
// instead, with nothing made.
void ReplaceFile(const std::filesystem::path& target, const FillTemporary& fill,
                 const WriteFailure& fail, const std::function<void()>& folderTakesNoFile = {});

// Replaces the file with these bytes, as its owner left it: through a
// symbolic link to its target, with the target's permission bits (and owner
// where the process may set it), by ReplaceFile. Where the folder takes no
// new file, the file is written in place by WriteInPlace. A file that holds
// these very bytes already is left as it is: no temporary, no sync, no
// rename. Refused, with the file unchanged, whatever it holds: a file the
// user may not write, a file with no write permission at all (also for
// root), a folder or anything else that is not a regular file. Throws
// base::Error "Cannot write file "<path>". <reason>".
void WriteUserFile(const std::string& windowsPath, const std::string& bytes);

// Overwrites the file from its start in one write, then cuts it to the new
// length, then syncs. Meant for files that hold one line read up to its end:
// a death before the cut leaves the new line followed by the old one's tail,
// which nothing reads.
void WriteInPlace(const std::string& windowsPath, const std::string& bytes);

// The points between the steps of a write, for tests that stop the process
// there as a crash would.
enum class WriteStep {
    TemporaryCreated,
    TemporaryWritten,
    TemporarySynced,
    Renamed,
    InPlaceOpened,
    InPlaceWritten,
    InPlaceCut,
};
using WriteStepHook = void (*)(WriteStep);
void SetWriteStepHook(WriteStepHook hook);  // nullptr: nothing is called

}  // namespace base
