#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "divination/error.h"
#include "settings/settings_file.h"
#include "support/temp_folder.h"

using namespace settings;
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
    EXPECT_THROW(FormatSettings(values), divination::Error);
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
        } catch (const divination::Error& e) {
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
    EXPECT_THROW(SaveSettings(values), divination::Error);
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
    } catch (const divination::Error& e) {
        EXPECT_STREQ(e.what(), "Invalid numeric input");
    }
    EXPECT_EQ(values.SoundOff, 2);
    EXPECT_EQ(values.FontSize, 14);
    EXPECT_EQ(values.FontName, "Arial");
}
