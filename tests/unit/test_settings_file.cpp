// Save.Bmp read and written byte for byte, and the safe write beneath it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <functional>
#include <limits>

#include "base/error.h"
#include "base/user_file.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"

using namespace settings;
using base::SetWriteStepHook;
using base::WriteInPlace;
using base::WriteStep;
using testing_support::TempWorkingFolder;

namespace {

const std::string kDefaultLine =
    " 0.00000000000000E+0000  3.00000000000000E+0000  1.00000000000000E+0000 "
    " 2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 "
    "11 0 12632256 0 Times New Roman\r\n";

}  // namespace

TEST(SettingsFormat, RealsTakeExactlyTwentyThreeCharacters) {
    EXPECT_EQ(FormatReal(3), " 3.00000000000000E+0000");
    EXPECT_EQ(FormatReal(11), " 1.10000000000000E+0001");
    EXPECT_EQ(FormatReal(0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatReal(-2.5), "-2.50000000000000E+0000");
    EXPECT_EQ(FormatReal(0.001), " 1.00000000000000E-0003");
    EXPECT_EQ(FormatReal(1.0 / 3), " 3.33333333333333E-0001");
    EXPECT_EQ(FormatReal(123456789012345678.0), " 1.23456789012346E+0017");
    EXPECT_EQ(FormatReal(1e300).size(), 23u);
}

TEST(SettingsFormat, DefaultsAreTheKnownLine) {
    EXPECT_EQ(FormatSettings(Defaults({})), kDefaultLine);
    Settings styled;
    styled.FontStyleCode = 3;
    EXPECT_EQ(Defaults(styled).FontStyleCode, 3);
}

TEST(SettingsFormat, FontNameIsWrittenInWindows1251OrRefused) {
    Settings values = Defaults({});
    values.FontName = "Шрифт";
    const std::string line = FormatSettings(values);
    EXPECT_EQ(line.substr(line.size() - 7), "\xD8\xF0\xE8\xF4\xF2\r\n");
    values.FontName = "文泉驿";
    EXPECT_THROW(FormatSettings(values), base::Error);
}

TEST(SettingsParse, TheDefaultLineRoundTrips) {
    const ParsedSettings parsed = ParseSettings(kDefaultLine);
    EXPECT_FALSE(parsed.invalidNumber);
    EXPECT_EQ(FormatSettings(parsed.values), kDefaultLine);
}

TEST(SettingsParse, HandWrittenFilesAreRead) {
    // Line breaks and tabs between numbers, plain and signed forms, a name
    // with leading blanks (dropped) and trailing ones (kept).
    const ParsedSettings parsed =
        ParseSettings("1\n2.0\t+1 -1.5e0\r\n 7E+00 2\n 12 255 -1 2    Arial  \r\nignored");
    EXPECT_FALSE(parsed.invalidNumber);
    const Settings& v = parsed.values;
    EXPECT_EQ(v.SoundOff, 1);
    EXPECT_EQ(v.CastMode, 2);
    EXPECT_EQ(v.ButtonsFlat, 1);
    EXPECT_EQ(v.TableState, -1.5);
    EXPECT_EQ(v.ReservedValue, 7);
    EXPECT_EQ(v.ViewMode, 2);
    EXPECT_EQ(v.FontSize, 12);
    EXPECT_EQ(v.TextColor, 255);
    EXPECT_EQ(v.AreaColor, -1);
    EXPECT_EQ(v.FontStyleCode, 2);
    EXPECT_EQ(v.FontName, "Arial  ");
}

TEST(SettingsParse, ShortFilesReadZerosAndAnEmptyName) {
    ParsedSettings parsed = ParseSettings(" 1 2 3");
    EXPECT_FALSE(parsed.invalidNumber);
    EXPECT_EQ(parsed.values.ButtonsFlat, 3);
    EXPECT_EQ(parsed.values.TableState, 0);
    EXPECT_EQ(parsed.values.FontStyleCode, 0);
    EXPECT_EQ(parsed.values.FontName, "");
    // Code 26 ends the file.
    parsed = ParseSettings("1 2 3 4 5 6 7 8 9 10 Name\x1A rest");
    EXPECT_EQ(parsed.values.FontName, "Name");
    parsed = ParseSettings("1 2 3\x1A 4");
    EXPECT_EQ(parsed.values.TableState, 0);
    parsed = ParseSettings("");
    EXPECT_FALSE(parsed.invalidNumber);
}

TEST(SettingsParse, NotANumberIsReportedAfterAllFieldsAreRead) {
    const ParsedSettings parsed = ParseSettings("1 x 3 4 5 6 7 8.5 9 10 Font");
    EXPECT_TRUE(parsed.invalidNumber);
    EXPECT_EQ(parsed.values.TableState, 4);
    EXPECT_EQ(parsed.values.AreaColor, 9);
    EXPECT_EQ(parsed.values.FontName, "Font");
    for (const char* bad :
         {"1 2 3 4 5 6 7 8 9 99999999999 F", "nan", "1 inf", "--1", "1.2.3", "1 2 3 4 5 6 +-7"})
        EXPECT_TRUE(ParseSettings(bad).invalidNumber) << bad;
    EXPECT_TRUE(ParseSettings(std::string(65, '1')).invalidNumber);
    EXPECT_FALSE(ParseSettings(std::string(64, '1')).invalidNumber);
}

TEST(SettingsParse, ShortestText) {
    EXPECT_EQ(ShortestText(1), "1");
    EXPECT_EQ(ShortestText(0), "0");
    EXPECT_EQ(ShortestText(2), "2");
    EXPECT_EQ(ShortestText(0.5), "0.5");
}

TEST(SettingsFile, MissingFileIsCreatedWithTheDefaults) {
    TempWorkingFolder folder;
    Settings values;
    LoadSettings(values);
    EXPECT_EQ(folder.read("Save.Bmp"), kDefaultLine);
    EXPECT_EQ(values.CastMode, 3);
    EXPECT_EQ(values.FontName, "Times New Roman");
}

TEST(SettingsFile, SaveReplacesTheFileWhole) {
    TempWorkingFolder folder;
    folder.write("Save.Bmp", std::string(500, 'x'));
    Settings values = Defaults({});
    values.ReservedValue = 42;
    SaveSettings(values);
    Settings loaded;
    LoadSettings(loaded);
    EXPECT_EQ(loaded.ReservedValue, 42);
    EXPECT_EQ(folder.read("Save.Bmp"), FormatSettings(values));
    // Nothing but the file is left in the folder.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(SettingsFile, UnwritableFileFailsAndStaysAsItWas) {
    TempWorkingFolder folder;
    Settings values = Defaults({});
    values.CastMode = 1;
    auto expectWriteError = [&](const std::string& reason) {
        try {
            SaveSettings(values);
            ADD_FAILURE() << "saved";
        } catch (const base::Error& e) {
            EXPECT_EQ(
                std::string(e.what()),
                "Cannot write file \"" + (folder.path() / "Save.Bmp").string() + "\". " + reason);
        }
    };
    // A folder in the file's place can't be replaced.
    std::filesystem::create_directory(folder.path() / "Save.Bmp");
    expectWriteError("Is a directory");
    std::filesystem::remove(folder.path() / "Save.Bmp");

    folder.write("Save.Bmp", kDefaultLine);
    values.FontName = "文";
    EXPECT_THROW(SaveSettings(values), base::Error);
    EXPECT_EQ(folder.read("Save.Bmp"), kDefaultLine);
    values.FontName = "Arial";

    // Marked read-only, it stays unwritten, also for root.
    chmod((folder.path() / "Save.Bmp").c_str(), 0444);
    expectWriteError("Permission denied");
    EXPECT_EQ(folder.read("Save.Bmp"), kDefaultLine);
}

TEST(SettingsFile, InvalidNumberKeepsWhatWasRead) {
    TempWorkingFolder folder;
    folder.write("Save.Bmp", "2 1 0 1 11 2 14 x 0 1  Arial\r\n");
    Settings values;
    try {
        LoadSettings(values);
        FAIL() << "no error";
    } catch (const base::Error& e) {
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    EXPECT_EQ(values.SoundOff, 2);
    EXPECT_EQ(values.FontSize, 14);
    EXPECT_EQ(values.FontName, "Arial");
}

// Saves that die between two steps, in a child process stopped by the write
// hook exactly there, as a crash or a kill would stop it.
namespace {

WriteStep dieAt;

void DieAtStep(WriteStep step) {
    if (step == dieAt)
        _exit(42);
}

struct Child {
    int exitCode = -1;  // 0 done, 1 error (its text below), 42 died at the step
    std::string error;
};

// Runs body in a child process; asNobody drops root first, so the system's
// access checks apply as they do to a user.
Child InChild(const std::function<void()>& body, bool asNobody = false) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe");
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        if (asNobody && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        try {
            body();
        } catch (const std::exception& e) {
            const std::string text = e.what();
            if (write(pipeFds[1], text.data(), text.size()) < 0)
                _exit(4);
            _exit(1);
        }
        _exit(0);
    }
    close(pipeFds[1]);
    Child child;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        child.error.append(buffer, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    child.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return child;
}

int Temporaries(const std::filesystem::path& folder) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("Save.Bmp.");
    return count;
}

Settings NewValues() {
    Settings values = Defaults({});
    values.CastMode = 1;
    values.FontName = "Arial";
    return values;
}

// An old line longer than the new one, so a cut that never came shows.
const std::string kOldLine =
    " 1.00000000000000E+0000  2.00000000000000E+0000  0.00000000000000E+0000 "
    " 1.00000000000000E+0000  1.10000000000000E+0001  2.00000000000000E+0000 "
    "14 255 65280 1 Liberation Serif, Bold   with a long name\r\n";

}  // namespace

TEST(SettingsCrash, EveryStepOfTheSaveLeavesTheOldOrTheNewFile) {
    const std::string newLine = FormatSettings(NewValues());
    for (WriteStep step : {WriteStep::TemporaryCreated, WriteStep::TemporaryWritten,
                           WriteStep::TemporarySynced, WriteStep::Renamed}) {
        TempWorkingFolder folder;
        folder.write("Save.Bmp", kOldLine);
        dieAt = step;
        // Three deaths in a row leave one temporary at most.
        for (int death = 0; death < 3; ++death) {
            // Each save has a line to change: one that changes nothing
            // writes nothing and never reaches a step.
            folder.write("Save.Bmp", kOldLine);
            const Child child = InChild([] {
                SetWriteStepHook(DieAtStep);
                SaveSettings(NewValues());
            });
            ASSERT_EQ(child.exitCode, 42) << child.error;
            const std::string now = folder.read("Save.Bmp");
            EXPECT_TRUE(now == kOldLine || now == newLine) << static_cast<int>(step);
            EXPECT_EQ(now == newLine, step == WriteStep::Renamed);
            EXPECT_LE(Temporaries(folder.path()), 1);
        }
        SaveSettings(NewValues());
        EXPECT_EQ(folder.read("Save.Bmp"), newLine);
        EXPECT_EQ(Temporaries(folder.path()), 0);
    }
}

TEST(SettingsCrash, InPlaceWriteLeavesALineThatLoadsOldOrNew) {
    const Settings newValues = NewValues();
    for (WriteStep step :
         {WriteStep::InPlaceOpened, WriteStep::InPlaceWritten, WriteStep::InPlaceCut}) {
        TempWorkingFolder folder;
        folder.write("Save.Bmp", kOldLine);
        dieAt = step;
        const Child child = InChild([] {
            SetWriteStepHook(DieAtStep);
            WriteInPlace(kSettingsFile, FormatSettings(NewValues()));
        });
        ASSERT_EQ(child.exitCode, 42) << child.error;
        const ParsedSettings parsed = ParseSettings(folder.read("Save.Bmp"));
        EXPECT_FALSE(parsed.invalidNumber);
        const std::string read = FormatSettings(parsed.values);
        EXPECT_EQ(read, step == WriteStep::InPlaceOpened ? kOldLine : FormatSettings(newValues));
    }
    TempWorkingFolder folder;
    folder.write("Save.Bmp", kOldLine);
    WriteInPlace(kSettingsFile, FormatSettings(newValues));
    EXPECT_EQ(folder.read("Save.Bmp"), FormatSettings(newValues));
}

TEST(SettingsFile, ReadOnlyFolderIsWrittenInPlaceAndOthersFilesAreRefused) {
    TempWorkingFolder folder;
    const std::filesystem::path file = folder.path() / "Save.Bmp";
    const bool root = geteuid() == 0;
    if (root) {
        // Another user's file, readable by all, in a folder all may write.
        folder.write("Save.Bmp", kOldLine);
        chmod(folder.path().c_str(), 0777);
        const Child refused = InChild([] { SaveSettings(NewValues()); }, true);
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.error, "Cannot write file \"" + file.string() + "\". Permission denied");
        EXPECT_EQ(folder.read("Save.Bmp"), kOldLine);
        ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
    } else {
        folder.write("Save.Bmp", kOldLine);
    }
    // The user's own file in a folder that takes no new file.
    chmod(folder.path().c_str(), 0555);
    const Child inPlace = InChild([] { SaveSettings(NewValues()); }, root);
    EXPECT_EQ(inPlace.exitCode, 0) << inPlace.error;
    EXPECT_EQ(folder.read("Save.Bmp"), FormatSettings(NewValues()));
    chmod(folder.path().c_str(), 0700);
}

TEST(SettingsFile, SaveKeepsPermissionsAndWritesThroughALink) {
    TempWorkingFolder folder;
    folder.write("Save.Bmp", kOldLine);
    chmod("Save.Bmp", 0600);
    SaveSettings(NewValues());
    struct stat status {};
    ASSERT_EQ(stat("Save.Bmp", &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    if (geteuid() == 0) {
        // Root saving a user's file leaves it the user's.
        ASSERT_EQ(chown("Save.Bmp", 65534, 65534), 0);
        SaveSettings(NewValues());
        ASSERT_EQ(stat("Save.Bmp", &status), 0);
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_mode & 07777, 0600u);
    }

    // Save.Bmp a link to a file in another folder: the link stays, the
    // target takes the new line and its folder keeps no temporary.
    std::filesystem::remove("Save.Bmp");
    folder.write("kept/real.Bmp", kOldLine);
    std::filesystem::create_symlink("kept/real.Bmp", "Save.Bmp");
    SaveSettings(NewValues());
    EXPECT_TRUE(std::filesystem::is_symlink("Save.Bmp"));
    EXPECT_EQ(folder.read("kept/real.Bmp"), FormatSettings(NewValues()));
    EXPECT_EQ(Temporaries(folder.path()), 0);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(folder.path() / "kept"))
        ++entries;
    EXPECT_EQ(entries, 1);

    // Other files that merely start like a temporary are not touched, nor
    // is the temporary of a save another running copy is making.
    folder.write("Save.Bmp.backup", "mine");
    folder.write("kept/real.Bmp.abcdef.tmp", "left by a crash");
    folder.write("kept/real.Bmp.ghijkl.tmp", "being written");
    folder.write("kept/real.Bmp", kOldLine);  // a save that writes, so it clears
    const int busy = ::open((folder.path() / "kept/real.Bmp.ghijkl.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);
    SaveSettings(NewValues());
    ::close(busy);
    EXPECT_EQ(folder.read("Save.Bmp.backup"), "mine");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "kept/real.Bmp.abcdef.tmp"));
    EXPECT_EQ(folder.read("kept/real.Bmp.ghijkl.tmp"), "being written");
}

TEST(SettingsFile, ASaveThatChangesNothingWritesNothingButIsRefusedAsEver) {
    static std::vector<WriteStep> stepsTaken;
    const std::string line = FormatSettings(NewValues());
    std::string oneByteOff = line;
    oneByteOff[oneByteOff.size() - 3] ^= 1;  // the font name's last letter
    const std::vector<WriteStep> fullSave = {WriteStep::TemporaryCreated,
                                             WriteStep::TemporaryWritten,
                                             WriteStep::TemporarySynced, WriteStep::Renamed};
    struct Case {
        const char* what;
        std::string before;
        mode_t mode;
        bool asNobody;       // another user's file: only root can set it up
        std::string reason;  // of the refusal; empty when saved
        bool written;
    };
    const Case cases[] = {
        {"the same line", line, 0644, false, "", false},
        {"the same line, read-only", line, 0444, false, "Permission denied", false},
        {"the same line, another user's", line, 0644, true, "Permission denied", false},
        {"another line", kOldLine, 0644, false, "", true},
        {"the same length, one byte off", oneByteOff, 0644, false, "", true},
        {"the line and more", line + "x", 0644, false, "", true},
    };
    for (const Case& c : cases) {
        if (c.asNobody && geteuid() != 0)
            continue;
        TempWorkingFolder folder;
        const std::filesystem::path file = folder.path() / "Save.Bmp";
        folder.write("Save.Bmp", c.before);
        chmod(file.c_str(), c.mode);
        struct stat before {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);
        std::string error;
        stepsTaken.clear();
        if (c.asNobody) {
            chmod(folder.path().c_str(), 0777);
            error = InChild([] { SaveSettings(NewValues()); }, true).error;
            chmod(folder.path().c_str(), 0700);
        } else {
            SetWriteStepHook([](WriteStep step) { stepsTaken.push_back(step); });
            try {
                SaveSettings(NewValues());
            } catch (const base::Error& e) {
                error = e.what();
            }
            SetWriteStepHook(nullptr);
        }
        EXPECT_EQ(error, c.reason.empty()
                             ? ""
                             : "Cannot write file \"" + file.string() + "\". " + c.reason)
            << c.what;
        EXPECT_EQ(stepsTaken, c.written ? fullSave : std::vector<WriteStep>{}) << c.what;
        struct stat after {};
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino != before.st_ino, c.written) << c.what;
        if (!c.written) {
            EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec) << c.what;
            EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << c.what;
        }
        EXPECT_EQ(folder.read("Save.Bmp"), c.written ? line : c.before) << c.what;
        EXPECT_EQ(Temporaries(folder.path()), 0) << c.what;
    }
}

TEST(SettingsFile, WhatIsNotARegularFileWithALineTakesTheDefaults) {
    const Settings defaults = Defaults({});
    {
        // An empty file holds nothing a user wrote.
        TempWorkingFolder folder;
        folder.write("Save.Bmp", "");
        Settings values;
        LoadSettings(values);
        EXPECT_EQ(folder.read("Save.Bmp"), kDefaultLine);
    }
    for (const char* kind : {"folder", "fifo"}) {
        TempWorkingFolder folder;
        if (kind == std::string("folder"))
            std::filesystem::create_directory("Save.Bmp");
        else
            ASSERT_EQ(mkfifo("Save.Bmp", 0644), 0);
        Settings values;
        bool filled = false;
        try {
            LoadSettings(values, &filled);
            ADD_FAILURE() << kind << " loaded";
        } catch (const base::Error& e) {
            EXPECT_EQ(
                std::string(e.what()),
                "Cannot write file \"" + (folder.path() / "Save.Bmp").string() + "\". " +
                    (kind == std::string("folder") ? "Is a directory" : "Not a regular file"));
        }
        // The variables hold the defaults, never the zeros from before.
        EXPECT_TRUE(filled);
        EXPECT_EQ(FormatSettings(values), FormatSettings(defaults)) << kind;
    }
    {
        // Too large to be a settings line: an error, the variables untouched.
        TempWorkingFolder folder;
        folder.write("Save.Bmp", std::string(kMaxSettingsBytes + 1, ' '));
        Settings values;
        bool filled = false;
        EXPECT_THROW(LoadSettings(values, &filled), base::Error);
        EXPECT_FALSE(filled);
        EXPECT_EQ(values.CastMode, 0);
    }
}

TEST(SettingsFormat, EveryValueHeldSurvivesSaveLoadSave) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatReal(largest), " 1.79769313486231E+0308");
    EXPECT_EQ(FormatReal(-largest), "-1.79769313486231E+0308");
    EXPECT_EQ(FormatReal(1.7976931348623149e308), " 1.79769313486231E+0308");
    for (const char* text :
         {"1.7976931348623157e308", "-1.7976931348623157e308", "1.79769313486231E+308",
          "2.2250738585072014e-308", "1e-300", "0.1", "-0", "123456789012345678"}) {
        const ParsedSettings first = ParseSettings(std::string(text) + " 3");
        ASSERT_FALSE(first.invalidNumber) << text;
        const std::string saved = FormatSettings(first.values);
        const ParsedSettings second = ParseSettings(saved);
        ASSERT_FALSE(second.invalidNumber) << text << ": " << saved;
        EXPECT_EQ(FormatSettings(second.values), saved) << text;
    }
}

TEST(SettingsFormat, TheLocaleDoesNotChangeTheFile) {
    // The window's toolkit takes the user's locale; a Russian one writes
    // numbers with a decimal comma through printf.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8"))
        GTEST_SKIP() << "no Russian locale here";
    const std::string line = FormatSettings(Defaults({}));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(line, kDefaultLine);
}

TEST(SettingsParse, MinusZeroIsZeroForTheToggles) {
    EXPECT_EQ(ShortestText(-0.0), "0");
    EXPECT_EQ(ShortestText(ParseSettings("-0 3 -0").values.ButtonsFlat), "0");
    EXPECT_EQ(ShortestText(-1), "-1");
}

// The replacement on its own, as the journal's copy uses it: filled through
// the path or the descriptor, failures worded by the caller and passed on
// whole, no temporary left whatever happens.
TEST(ReplaceFile, PutsTheFilledFileInPlaceOrLeavesTheTargetAsItWas) {
    struct CallerError : base::Error {
        using base::Error::Error;
    };
    struct Case {
        const char* target;
        const char* before;  // the target's bytes; nullptr: a folder there
        bool byPath;
        bool fillThrows;
        std::string error;  // empty: replaced with "new"
    };
    const Case cases[] = {
        {"copy.db", "old", true, false, ""},
        {"copy.db", "old", false, false, ""},
        // The link itself is replaced, its target kept.
        {"link.db", "old", false, false, ""},
        {"copy.db", "old", true, true, "fill failed"},
        {"copy.db", nullptr, false, false, "errno " + std::to_string(EISDIR)},
        {"missing/copy.db", "", false, false, "errno " + std::to_string(ENOENT)},
    };
    for (const Case& c : cases) {
        TempWorkingFolder folder;
        const std::string target = c.target;
        if (target == "link.db") {
            folder.write("real.db", c.before);
            std::filesystem::create_symlink("real.db", "link.db");
        } else if (!c.before) {
            std::filesystem::create_directory(target);
        } else if (*c.before) {
            folder.write(target, c.before);
        }
        std::string error;
        try {
            base::ReplaceFile(
                folder.path() / target,
                [&](const std::string& temporary, int fd) {
                    if (c.fillThrows)
                        throw CallerError("fill failed");
                    if (c.byPath)
                        folder.write(std::filesystem::path(temporary).filename(), "new");
                    else
                        ASSERT_EQ(::write(fd, "new", 3), 3);
                },
                [](int errorNumber) { throw CallerError("errno " + std::to_string(errorNumber)); });
        } catch (const CallerError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.error) << target;
        if (c.error.empty()) {
            EXPECT_EQ(folder.read(target), "new") << target;
            EXPECT_FALSE(std::filesystem::is_symlink(target));
        } else if (c.before && *c.before) {
            EXPECT_EQ(folder.read(target), c.before) << target;
        }
        if (target == "link.db") {
            EXPECT_EQ(folder.read("real.db"), "old");
        }
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            EXPECT_FALSE(entry.path().string().ends_with(".tmp")) << entry.path();
    }
}
