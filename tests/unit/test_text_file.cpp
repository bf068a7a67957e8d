// Reading a user's file: paths, size caps, Windows-1251.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "base/error.h"
#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "support/temp_folder.h"

using namespace base;
using divination::ReadingFilePath;
using testing_support::TempWorkingFolder;

TEST(ReadingPaths, WindowsPathsBecomeNativeWithCaseKept) {
    EXPECT_EQ(ReadingFilePath(7), ".\\Text\\Text7.dat");
    EXPECT_EQ(ReadingFilePath(12), ".\\Text\\Text12.dat");
    EXPECT_EQ(ReadingFilePath(65), ".\\Text\\Text65.dat");
    EXPECT_EQ(NativePath(".\\Text\\Text12.dat"), std::filesystem::path("Text/Text12.dat"));
    EXPECT_EQ(NativePath(".\\Fanfare.wav"), std::filesystem::path("Fanfare.wav"));
}

TEST(Cp1251, EveryByteDecodesAndEncodesBack) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = DecodeCp1251(all);
    EXPECT_EQ(EncodeCp1251(utf8), all);
    EXPECT_EQ(DecodeCp1251("\x98"), "\xC2\x98");
    EXPECT_EQ(DecodeCp1251("\xC0\xE1\xE2\x98\xA8\xB8"), "Абв\xC2\x98Ёё");
    EXPECT_EQ(DecodeCp1251("\x88"), "€");
}

TEST(Cp1251, CharactersOutsideTheCodePageAreRefusedNotDropped) {
    EXPECT_EQ(EncodeCp1251("Гадание «И»"), "\xC3\xE0\xE4\xE0\xED\xE8\xE5 \xAB\xC8\xBB");
    try {
        EncodeCp1251("Tai 泰 chi");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "The character \"泰\" has no place in the Windows-1251 code page");
    }
}

TEST(LineBreaks, CrLfLoneCrAndLoneLfAreOneBreakEach) {
    EXPECT_EQ(UniformLineBreaks("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(UniformLineBreaks("\r\n\r\n"), "\n\n");
    EXPECT_EQ(UniformLineBreaks("\n\r"), "\n\n");
    EXPECT_EQ(UniformLineBreaks("end\r"), "end\n");
}

TEST(LoadText, ReadsTheWholeFileEveryTime) {
    TempWorkingFolder folder;
    const std::string body = "\xCE\xF2\xE2\xE5\xF2";  // "Ответ"
    folder.write("Text/Text1.dat", body + "\r\n" + body);
    folder.write("Text/Text2.dat", body + "\n" + body);
    folder.write("Text/Text3.dat", body + "\r" + body);
    folder.write("Text/Text4.dat", "");
    EXPECT_EQ(LoadText(ReadingFilePath(1)), "Ответ\nОтвет");
    EXPECT_EQ(LoadText(ReadingFilePath(2)), LoadText(ReadingFilePath(1)));
    EXPECT_EQ(LoadText(ReadingFilePath(3)), LoadText(ReadingFilePath(1)));
    EXPECT_EQ(LoadText(ReadingFilePath(4)), "");
    // Nothing is cached: a changed file is read anew.
    folder.write("Text/Text1.dat", "x");
    EXPECT_EQ(LoadText(ReadingFilePath(1)), "x");
}

TEST(LoadText, LargeFileIsReadWhole) {
    TempWorkingFolder folder;
    std::string big(200000, '\xE0');
    folder.write("Text/Text5.dat", big);
    EXPECT_EQ(LoadText(ReadingFilePath(5)).size(), 400000u);
    // Up to the limit, and not a byte more.
    folder.write("Text/Text6.dat", std::string(kMaxReadingBytes, 'a'));
    EXPECT_EQ(LoadText(ReadingFilePath(6)).size(), kMaxReadingBytes);
    folder.write("Text/Text6.dat", std::string(kMaxReadingBytes + 1, 'a'));
    try {
        LoadText(ReadingFilePath(6));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" +
                                             (folder.path() / "Text/Text6.dat").string() +
                                             "\". File too large: more than 4194304 bytes");
    }
}

TEST(LoadText, FifoAndDeviceAreRefusedWithoutWaiting) {
    TempWorkingFolder folder;
    std::filesystem::create_directory("Text");
    ASSERT_EQ(mkfifo("Text/Text1.dat", 0644), 0);
    ASSERT_EQ(mkfifo("Text/Text65.dat", 0644), 0);
    std::filesystem::create_symlink("/dev/zero", "Text/Text2.dat");
    for (int n : {1, 65, 2}) {
        try {
            LoadText(ReadingFilePath(n));
            ADD_FAILURE() << n;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" +
                          (folder.path() / ("Text/Text" + std::to_string(n) + ".dat")).string() +
                          "\". Not a regular file");
        }
    }
}

TEST(LoadText, MissingFileGivesTheExactErrorText) {
    TempWorkingFolder folder;
    const std::string expected = "Cannot open file \"" +
                                 (folder.path() / "Text/Text12.dat").string() +
                                 "\". No such file or directory";
    try {
        LoadText(ReadingFilePath(12));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
}

TEST(LoadText, FolderNamesKeepTheirCase) {
    TempWorkingFolder folder;
    folder.write("text/text1.dat", "lower case");
    EXPECT_THROW(LoadText(ReadingFilePath(1)), Error);
}

TEST(LoadText, UnreadableFileAndDirectoryAreErrorsWithTheirReason) {
    TempWorkingFolder folder;
    std::filesystem::create_directories(folder.path() / "Text/Text9.dat");
    try {
        LoadText(ReadingFilePath(9));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Text9.dat\". Is a directory"), std::string::npos)
            << e.what();
    }
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files without read permission";
    folder.write("Text/Text8.dat", "secret");
    chmod((folder.path() / "Text/Text8.dat").c_str(), 0);
    try {
        LoadText(ReadingFilePath(8));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("\". Permission denied"), std::string::npos);
    }
}

TEST(FileOpenError, TrailingDotsAndBlanksOfTheReasonAreCut) {
    TempWorkingFolder folder;
    const std::string text = FileOpenError(".\\Save.Bmp", EACCES).what();
    EXPECT_EQ(text, "Cannot open file \"" + (folder.path() / "Save.Bmp").string() +
                        "\". Permission denied");
}

TEST(SystemReason, EachLanguageWordsTheNumbersItKnowsAndKeepsTheSystemsForTheRest) {
    struct Case {
        int errorNumber;
        Language language;
        const char* reason;
    };
    const Case cases[] = {
        {EACCES, Language::English, "Permission denied"},
        {EISDIR, Language::English, "Is a directory"},
        {EACCES, Language::Russian, "Нет доступа"},
        {EPERM, Language::Russian, "Нет доступа"},
        {ENOENT, Language::Russian, "Нет такого файла или папки"},
        {ENFILE, Language::Russian, "Открыто слишком много файлов"},
        // No words of the journal's own: the system's, as in English.
        {EXDEV, Language::Russian, "Invalid cross-device link"},
        {EXDEV, Language::English, "Invalid cross-device link"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SystemReason(c.errorNumber, c.language), c.reason) << c.errorNumber;
}

TEST(ReadRegularFile, SaysWhatStoppedItForEachKindOfFile) {
    TempWorkingFolder folder;
    folder.write("capped", std::string(100, 'c'));
    folder.write("over", std::string(101, 'o'));
    folder.write("empty", "");
    // A native name: its backslash is a letter, no separator.
    folder.write("back\\slash", "native");
    std::filesystem::create_directory("folder");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    std::filesystem::create_symlink("/dev/zero", "device");
    struct Case {
        const char* name;
        ReadFailure failure;
        int errorNumber;
        std::string bytes;
    };
    const Case cases[] = {
        {"capped", ReadFailure::None, 0, std::string(100, 'c')},
        {"over", ReadFailure::TooLarge, 0, ""},
        {"empty", ReadFailure::None, 0, ""},
        {"back\\slash", ReadFailure::None, 0, "native"},
        {"missing", ReadFailure::CannotOpen, ENOENT, ""},
        {"folder", ReadFailure::NotRegular, EISDIR, ""},
        {"fifo", ReadFailure::NotRegular, 0, ""},
        {"device", ReadFailure::NotRegular, 0, ""},
    };
    for (const Case& c : cases) {
        const RegularFile file = ReadRegularFile(c.name, 100);
        EXPECT_EQ(file.failure, c.failure) << c.name;
        EXPECT_EQ(file.errorNumber, c.errorNumber) << c.name;
        EXPECT_EQ(file.bytes, c.bytes) << c.name;
        if (c.failure == ReadFailure::None) {
            EXPECT_EQ(file.sizeAtOpen, c.bytes.size()) << c.name;
        }
    }
}
