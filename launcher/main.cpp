// The command users and the desktop menu start: it prepares the user's own
// working folder, enters it and becomes the program. Nothing here loads the
// toolkit, so a normal start costs one small exec; only a folder that cannot
// be prepared brings up the program's error box, through a helper.
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "launcher/user_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Variable(const char* name) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
        return value;
    if (std::strcmp(name, "HOME") == 0)
        if (const passwd* entry = ::getpwuid(::getuid());
            entry != nullptr && entry->pw_dir != nullptr)
            return entry->pw_dir;
    return {};
}

// The installation is found from where this command lies, so it can be
// installed under any prefix.
fs::path Installed(const char* relative) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return (error ? fs::path(".") : self.parent_path()) / relative;
}

[[noreturn]] void Report(const std::string& text) {
    std::fprintf(stderr, "taynovid: %s.\n", text.c_str());
    const fs::path reporter = Installed(TAYNOVID_REPORTER_FROM_BIN);
    ::execl(reporter.c_str(), "taynovid", text.c_str(), static_cast<char*>(nullptr));
    std::_Exit(1);
}

}  // namespace

int main() {
    try {
        const launcher::UserFolderPlace place = launcher::UserFolder(Variable);
        launcher::PrepareUserFolder(place, Installed(TAYNOVID_DATA_FROM_BIN));
        if (::chdir(place.folder.c_str()) != 0)
            launcher::FailToPrepare(place.folder, errno);
    } catch (const std::exception& error) {
        Report(error.what());
    }
    const fs::path program = Installed(TAYNOVID_PROGRAM_FROM_BIN);
    ::execl(program.c_str(), "taynovid", static_cast<char*>(nullptr));
    Report("Cannot start \"" + program.string() + "\". " + std::strerror(errno));
}
