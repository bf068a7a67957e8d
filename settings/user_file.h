// Writing a file the user keeps: whatever moment the process dies, the file
// holds its old bytes or its new ones, never a mix and never nothing.
#pragma once

#include <string>

namespace settings {

// Replaces the file with these bytes, as its owner left it: through a
// symbolic link to its target, with the target's permission bits (and owner
// where the process may set it). The new bytes are written to a temporary
// "<name>.XXXXXX.tmp" beside the target, synced and renamed over it; earlier
// such temporaries, left by a crash, are removed first, so at most one is
// ever left over. Where the folder takes no new file, the file is written in
// place by WriteInPlace. Refused, with the file unchanged: a file the user
// may not write, a file with no write permission at all (also for root), a
// folder or anything else that is not a regular file. Throws
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

}  // namespace settings
