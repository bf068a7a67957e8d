// What keeping journals of several machines in step through a shared folder
// reports: each other machine's file merged or skipped, and why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace journal {

// How the files in the shared folder end; one a running journal writes.
inline constexpr const char* kSyncFileSuffix = ".taynovid-journal";

// One other machine's file, as one merge of the folder found it.
struct MergedFile {
    std::string name;          // the file's name in the folder
    bool merged = false;       // false: skipped, `problem` says why
    bool unchanged = false;    // the same size and time as when last merged: not read again
    std::int64_t brought = 0;  // entries it added, changed or deleted this time
    // «Файл "<path>" пропущен: он повреждён», or empty.
    std::string problem;
};

struct MergeReport {
    std::vector<MergedFile> files;  // by name
    // The problems not told before for the file as it is now: each is
    // shown once; the same file skipped again for the same reason is not.
    std::vector<std::string> messages;
    std::int64_t brought = 0;  // all the files together
};

// What the journal window shows of each other machine's file.
struct PeerFile {
    std::string name;
    // When a merge last took it, milliseconds since 1970 UTC; 0 for never.
    std::int64_t mergedAt = 0;
    std::int64_t brought = 0;  // entries that merge brought
    std::string problem;       // why it was skipped the last time it changed, or empty
};

}  // namespace journal
