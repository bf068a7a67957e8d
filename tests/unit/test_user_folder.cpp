// The user's working folder that the installed command prepares: where it
// lies, what it links, what it never touches, and how it fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "launcher/user_folder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;
using launcher::PrepareError;
using launcher::PrepareUserFolder;
using launcher::UserFolder;
using launcher::UserFolderPlace;

namespace {

launcher::Environment With(std::map<std::string, std::string> variables) {
    return [variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

std::string ErrorOf(const UserFolderPlace& place, const fs::path& shared) {
    try {
        PrepareUserFolder(place, shared);
    } catch (const PrepareError& error) {
        return error.what();
    }
    return "no error";
}

// An installation's shared folder with two readings and a sound.
class Prepared : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("install/share/taynovid/Text/Text1.dat", "reading one");
        folder.write("install/share/taynovid/Text/Text2.dat", "reading two");
        folder.write("install/share/taynovid/Fanfare.wav", "RIFF");
        folder.write("home/.keep", "");
    }
    fs::path Shared() const { return folder.path() / "install/share/taynovid"; }
    UserFolderPlace Place() const {
        return UserFolder(With({{"HOME", (folder.path() / "home").string()}}));
    }
    fs::path Mine() const { return Place().folder; }

    testing_support::TempWorkingFolder folder;
};

}  // namespace

TEST(UserFolderPlace, FollowsXdgDataHomeThenHome) {
    EXPECT_EQ(UserFolder(With({{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}})).folder,
              "/data/taynovid");
    EXPECT_EQ(UserFolder(With({{"XDG_DATA_HOME", "/data"}})).must_exist, "");
    // A relative XDG_DATA_HOME does not count; the home must then exist.
    const UserFolderPlace place =
        UserFolder(With({{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}}));
    EXPECT_EQ(place.folder, "/home/u/.local/share/taynovid");
    EXPECT_EQ(place.must_exist, "/home/u");
    try {
        UserFolder(With({}));
        FAIL() << "no home, no folder";
    } catch (const PrepareError& error) {
        EXPECT_STREQ(
            error.what(),
            "Cannot prepare folder \"$HOME/.local/share/taynovid\". No such file or directory");
    }
}

TEST_F(Prepared, LinksEverySharedFileIntoPrivateFolders) {
    PrepareUserFolder(Place(), Shared());
    const fs::path installed = fs::canonical(Shared());
    EXPECT_EQ(fs::read_symlink(Mine() / "Text/Text1.dat"), installed / "Text/Text1.dat");
    EXPECT_EQ(fs::read_symlink(Mine() / "Fanfare.wav"), installed / "Fanfare.wav");
    EXPECT_EQ(folder.read("home/.local/share/taynovid/Text/Text2.dat"), "reading two");
    for (const fs::path& made : {Mine().parent_path().parent_path(), Mine(), Mine() / "Text"})
        EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all) << made;
}

TEST_F(Prepared, KeepsWhatTheUserPutThereAndRepointsOnlyItsOwnLinks) {
    folder.write("home/.local/share/taynovid/Save.Bmp", "settings");
    folder.write("home/.local/share/taynovid/Text/Text1.dat", "my own reading");
    // Links of the user's own, one to a copy of theirs that looks like an
    // installation, and a file of theirs that looks like a temporary.
    folder.write("elsewhere/Fanfare.wav", "my own sound");
    fs::create_symlink(folder.path() / "elsewhere/Fanfare.wav", Mine() / "Fanfare.wav");
    folder.write("elsewhere/taynovid/udalenie.wav", "my copy");
    fs::create_symlink(folder.path() / "elsewhere/taynovid/udalenie.wav", Mine() / "udalenie.wav");
    folder.write("home/.local/share/taynovid/Text/Text2.dat.new", "my draft");
    // Left by an installation under another prefix, since removed.
    fs::create_symlink("/old/prefix/share/taynovid/Text/Text2.dat", Mine() / "Text/Text2.dat");

    PrepareUserFolder(Place(), Shared());
    PrepareUserFolder(Place(), Shared());

    EXPECT_EQ(folder.read("home/.local/share/taynovid/Save.Bmp"), "settings");
    EXPECT_EQ(folder.read("home/.local/share/taynovid/Text/Text1.dat"), "my own reading");
    EXPECT_FALSE(fs::is_symlink(Mine() / "Text/Text1.dat"));
    EXPECT_EQ(fs::read_symlink(Mine() / "Fanfare.wav"), folder.path() / "elsewhere/Fanfare.wav");
    EXPECT_EQ(fs::read_symlink(Mine() / "udalenie.wav"),
              folder.path() / "elsewhere/taynovid/udalenie.wav");
    EXPECT_EQ(fs::read_symlink(Mine() / "Text/Text2.dat"),
              fs::canonical(Shared()) / "Text/Text2.dat");
    EXPECT_EQ(folder.read("home/.local/share/taynovid/Text/Text2.dat.new"), "my draft");
    int entries = 0;  // nothing left over from replacing the link
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Mine() / "Text"))
        ++entries;
    EXPECT_EQ(entries, 3);
}

TEST_F(Prepared, FailsNamingTheFolderAndTheReasonAndChangesNothing) {
    // A file where the folder should be.
    folder.write("data/taynovid", "keep");
    const UserFolderPlace blocked =
        UserFolder(With({{"XDG_DATA_HOME", (folder.path() / "data").string()}}));
    EXPECT_EQ(ErrorOf(blocked, Shared()), "Cannot prepare folder \"" +
                                              (folder.path() / "data/taynovid").string() +
                                              "\". Not a directory");
    EXPECT_EQ(folder.read("data/taynovid"), "keep");

    // A file where the readings' folder should be.
    folder.write("home/.local/share/taynovid/Text", "keep");
    EXPECT_EQ(ErrorOf(Place(), Shared()),
              "Cannot prepare folder \"" + (Mine() / "Text").string() + "\". Not a directory");

    // A home that does not exist is not made.
    const UserFolderPlace homeless =
        UserFolder(With({{"HOME", (folder.path() / "gone").string()}}));
    EXPECT_EQ(ErrorOf(homeless, Shared()), "Cannot prepare folder \"" + homeless.folder.string() +
                                               "\". No such file or directory");
    EXPECT_FALSE(fs::exists(folder.path() / "gone"));

    // No installation to link to.
    EXPECT_EQ(ErrorOf(Place(), folder.path() / "nowhere"),
              "Cannot prepare folder \"" + (folder.path() / "nowhere").string() +
                  "\". No such file or directory");
}

TEST_F(Prepared, ReadOnlyHomeIsRefused) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into a read-only folder";
    fs::permissions(folder.path() / "home", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(
        ErrorOf(Place(), Shared()),
        "Cannot prepare folder \"" + (folder.path() / "home").string() + "\". Permission denied");
    fs::permissions(folder.path() / "home", fs::perms::owner_all);
}
