#include "launcher/user_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// A link we made points at <some installation>/taynovid/<its own name>; a
// link the user made to a file of their own does not.
bool IsOurLink(const fs::path& target, const fs::path& relative) {
    const std::string ending = std::string("/") + kFolderName + "/" + relative.generic_string();
    const std::string text = target.generic_string();
    return text.size() > ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

void Link(const fs::path& link, const fs::path& target, const fs::path& relative) {
    const fs::path folder = link.parent_path();
    std::error_code error;
    const fs::file_status status = fs::symlink_status(link, error);
    if (status.type() == fs::file_type::not_found) {
        if (::symlink(target.c_str(), link.c_str()) != 0)
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
    if (current == target || !IsOurLink(current, relative))
        return;
    // Replaced in one rename, so the reading is never missing.
    fs::path fresh = link;
    fresh += ".new";
    if (::unlink(fresh.c_str()) != 0 && errno != ENOENT)
        Fail(folder, errno);
    if (::symlink(target.c_str(), fresh.c_str()) != 0)
        Fail(folder, errno);
    if (::rename(fresh.c_str(), link.c_str()) != 0) {
        const int saved = errno;
        ::unlink(fresh.c_str());
        Fail(folder, saved);
    }
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
