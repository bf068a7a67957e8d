// The readings as the program gets them: every built Text<N>.dat read through
// the program's own loader from the run folder.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "divination/text_file.h"
#include "support/temp_folder.h"

using namespace divination;

namespace {

struct HexagramName {
    std::string name, transliteration, inner, outer;
};

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    const size_t last = s.find_last_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// data/Text/NAMES.txt: "N | lines | name | transliteration | inner | outer".
std::vector<HexagramName> ReadNames() {
    std::ifstream in(TAYNOVID_NAMES_FILE);
    std::vector<HexagramName> names(65);
    std::string line;
    std::getline(in, line);  // the heading
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, '|');)
            fields.push_back(Trim(field));
        if (fields.size() == 6)
            names.at(std::stoi(fields[0])) = {fields[2], fields[3], fields[4], fields[5]};
    }
    return names;
}

std::string Load(int n) {
    std::filesystem::current_path(TAYNOVID_RUN_DIR);
    return LoadText(ReadingFilePath(n));
}

int Words(const std::string& text) {
    std::stringstream in(text);
    int count = 0;
    for (std::string word; in >> word;)
        ++count;
    return count;
}

}  // namespace

TEST(Readings, EachOpensWithItsOwnNumberAndName) {
    const std::vector<HexagramName> names = ReadNames();
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE("Text" + std::to_string(n) + ".dat");
        ASSERT_FALSE(names[n].name.empty());
        const std::string text = Load(n);
        const std::string first = text.substr(0, text.find('\n'));
        EXPECT_EQ(first, "Гексаграмма " + std::to_string(n) + ". " + names[n].name + " (" +
                             names[n].transliteration + ")");
        // Both trigrams are named: "Чжэнь (Гром)" → "Чжэнь".
        for (const std::string& trigram : {names[n].inner, names[n].outer})
            EXPECT_NE(text.find(trigram.substr(0, trigram.find(' '))), std::string::npos)
                << trigram;
        const int words = Words(text);
        EXPECT_GE(words, 250);
        EXPECT_LE(words, 450);
    }
}

TEST(Readings, AllSixtyFiveAreCleanWindows1251Text) {
    for (int n = 1; n <= 65; ++n) {
        SCOPED_TRACE("Text" + std::to_string(n) + ".dat");
        const std::string text = Load(n);
        ASSERT_FALSE(text.empty());
        // Nothing but printable text and line breaks: no byte that decodes
        // to a control character (0x98 among them), no stray CR.
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            ASSERT_TRUE(c >= 0x20 || c == '\n') << "byte " << i;
            ASSERT_FALSE(c == 0xC2 && i + 1 < text.size() &&
                         static_cast<unsigned char>(text[i + 1]) < 0xA0)
                << "byte " << i;
        }
        EXPECT_EQ(text.back(), '\n');
        EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    }
    EXPECT_GE(Words(Load(65)), 300);
}

TEST(Readings, FilesUseCrLfLineEnds) {
    std::ifstream in(std::string(TAYNOVID_RUN_DIR) + "/Text/Text1.dat", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(bytes.empty());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r');
    }
}
