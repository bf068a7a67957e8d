// Preparing the user's own folder: made if missing, the shared files linked in.
#include "launcher/user_folder.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace launcher {

namespace {

constexpr const char* kFolderName = "taynovid";

[[noreturn]] void Fail(const fs::path& folder, int error) {
    FailToPrepare(folder, error);
}

[[noreturn]] void Fail(const fs::path& folder, const std::error_code& error) {
    FailToPrepare(folder, error.value());
}

// Like `mkdir -p`, but new folders are private and something that is not a
// folder in the way is named as such.
void MakeFolders(const fs::path& folder) {
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        struct stat status {};
        if (::stat(partial.c_str(), &status) == 0) {
            if (!S_ISDIR(status.st_mode))
                Fail(partial, ENOTDIR);
            continue;
        }
        if (errno != ENOENT)
            Fail(partial, errno);
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            Fail(partial.parent_path(), errno);
    }
}

// A link we made points at <an installation>/taynovid/<its own name>. Only
// one whose installation is gone is pointed at this one: a link the user
// made, or one to an installation still there, is left as it is.
bool IsStaleLinkOfOurs(const fs::path& target, const fs::path& relative) {
    const std::string ending = std::string("/") + kFolderName + "/" + relative.generic_string();
    const std::string text = target.generic_string();
    std::error_code error;
    return target.is_absolute() && text.size() > ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0 &&
           !fs::exists(target, error) && !error;
}

// A fresh link under a name nobody else uses, beside the one it replaces.
fs::path FreshLink(const fs::path& link, const fs::path& target) {
    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        fs::path fresh = link.parent_path() /
                         ("." + link.filename().string() + "." + std::to_string(random()) + ".new");
        if (::symlink(target.c_str(), fresh.c_str()) == 0)
            return fresh;
        if (errno != EEXIST || attempt == 100)
            FailToPrepare(link.parent_path(), errno);
    }
}

// Swaps the fresh link in. What comes out is checked to be the stale link
// that was seen, so a file the user put there meanwhile is swapped back.
void Replace(const fs::path& link, const fs::path& stale, const fs::path& target) {
    const fs::path folder = link.parent_path();
    const fs::path fresh = FreshLink(link, target);
    if (::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE) != 0) {
        const int saved = errno;
        ::unlink(fresh.c_str());
        if (saved == ENOENT)
            return;  // gone meanwhile: the next start links it
        FailToPrepare(folder, saved);
    }
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(fresh, error)) &&
        fs::read_symlink(fresh, error) == stale) {
        ::unlink(fresh.c_str());
        return;
    }
    ::renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, link.c_str(), RENAME_EXCHANGE);
    ::unlink(fresh.c_str());
}

void Link(const fs::path& link, const fs::path& target, const fs::path& relative) {
    const fs::path folder = link.parent_path();
    std::error_code error;
    const fs::file_status status = fs::symlink_status(link, error);
    if (status.type() == fs::file_type::not_found) {
        // Another start of the program may have made it just now.
        if (::symlink(target.c_str(), link.c_str()) != 0 && errno != EEXIST)
            Fail(folder, errno);
        return;
    }
    if (error)
        Fail(folder, error);
    if (status.type() != fs::file_type::symlink)
        return;  // the user's own file
    const fs::path current = fs::read_symlink(link, error);
    if (error)
        Fail(folder, error);
    if (current != target && IsStaleLinkOfOurs(current, relative))
        Replace(link, current, target);
}

}  // namespace

void FailToPrepare(const fs::path& folder, int error) {
    throw PrepareError("Cannot prepare folder \"" + folder.string() + "\". " +
                       std::generic_category().message(error));
}

UserFolderPlace UserFolder(const Environment& environment) {
    const fs::path data_home = environment("XDG_DATA_HOME");
    if (data_home.is_absolute())
        return {data_home / kFolderName, {}};
    const fs::path home = environment("HOME");
    const fs::path folder = home / ".local" / "share" / kFolderName;
    if (!home.is_absolute())
        Fail(fs::path("$HOME") / ".local" / "share" / kFolderName, ENOENT);
    return {folder, home};
}

void PrepareUserFolder(const UserFolderPlace& place, const fs::path& shared) {
    struct stat status {};
    if (!place.must_exist.empty() && ::stat(place.must_exist.c_str(), &status) != 0)
        Fail(place.folder, errno);
    MakeFolders(place.folder);

    std::error_code error;
    const fs::path installed = fs::canonical(shared, error);
    if (error)
        Fail(shared, error);
    std::error_code walk;
    for (fs::recursive_directory_iterator entry(installed, walk), end; !walk && entry != end;
         entry.increment(walk)) {
        const fs::path relative = entry->path().lexically_relative(installed);
        const fs::file_type type = entry->status(error).type();
        if (type == fs::file_type::directory)
            MakeFolders(place.folder / relative);
        else if (type == fs::file_type::regular)
            Link(place.folder / relative, entry->path(), relative);
    }
    if (walk)
        Fail(shared, walk);
}

}  // namespace launcher
