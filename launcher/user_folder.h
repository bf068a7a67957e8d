// The installed command gives the program a working folder of the user's own
// under the XDG data home. The shared readings and sounds appear there as
// links into the installation, so an update of the program reaches every
// user, while whatever the user put there (a settings file, a reading or a
// sound of their own, a link of their own) is never touched.
#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace launcher {

// The error of a folder that cannot be prepared: `Cannot prepare folder
// "<folder>". <reason>`, the reason as the system words errno.
[[noreturn]] void FailToPrepare(const std::filesystem::path& folder, int error);

// Reads one environment variable; empty when unset.
using Environment = std::function<std::string(const char* name)>;

class PrepareError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct UserFolderPlace {
    std::filesystem::path folder;
    // Made by nobody but the system: the home, when the folder lies in it.
    std::filesystem::path must_exist;
};

// ${XDG_DATA_HOME:-$HOME/.local/share}/taynovid. A relative XDG_DATA_HOME is
// ignored, as the XDG rules say. Throws PrepareError when there is no home.
UserFolderPlace UserFolder(const Environment& environment);

// Makes the folder (missing parents as 0700) and links every file of the
// shared folder into it, keeping the shared folder's subfolders. A link of
// ours to an installation that is gone is pointed at this one; anything else
// already there is left as it is. Throws PrepareError with the text
// `Cannot prepare folder "<folder>". <reason>`, naming the folder where the
// step failed.
void PrepareUserFolder(const UserFolderPlace& place, const std::filesystem::path& shared);

}  // namespace launcher
