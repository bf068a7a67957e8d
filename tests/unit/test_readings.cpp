// The readings as the program gets them: every built Text<N>.dat read through
// the program's own loader from the run folder.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "divination/line_texts.h"

using divination::ReadingFilePath;
using namespace base;

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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Letters, not bytes: UTF-8 continuation bytes are not counted.
size_t Characters(const std::string& s) {
    size_t count = 0;
    for (const char c : s)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kNoBreakSpace = "\u00A0";
const std::string kDash = "—";

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

// Every reading reads the same way: the title line, then five sections
// under fixed headings, each heading followed by a blank line and text.
TEST(Readings, EachHasTheFiveSectionsInOrder) {
    const std::vector<std::string> headings = {"Триграммы", "Образ", "Суждение", "Ситуация",
                                               "Совет"};
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE("Text" + std::to_string(n) + ".dat");
        const std::vector<std::string> lines = Lines(Load(n));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], "");
        std::vector<std::string> found;
        for (size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.empty())
                continue;
            if (!divination::IsSectionHeading(line))
                continue;
            found.push_back(line);
            ASSERT_LT(i + 2, lines.size()) << line;
            EXPECT_EQ(lines[i - 1], "") << line;
            EXPECT_EQ(lines[i + 1], "") << line;
            EXPECT_FALSE(lines[i + 2].empty()) << line;
        }
        EXPECT_EQ(found, headings);
        // The judgement the schools of reading quote is its own section.
        const std::string judgement = divination::ReadingSection(Load(n), "Суждение");
        EXPECT_GT(Words(judgement), 15);
        EXPECT_EQ(judgement.find("Ситуация"), std::string::npos);
    }
}

// The reading area is narrow: a paragraph over about 450 letters becomes a
// wall of text. A line must never open with a dash, so every spaced dash
// hangs on the word before it by a no-break space.
TEST(Readings, ParagraphsAreShortAndDashesNeverOpenALine) {
    for (int n = 1; n <= 65; ++n) {
        SCOPED_TRACE("Text" + std::to_string(n) + ".dat");
        const std::string text = Load(n);
        for (const std::string& line : Lines(text)) {
            EXPECT_LE(Characters(line), 450u) << line.substr(0, 60);
            EXPECT_NE(line.rfind(kDash, 0), 0u) << line.substr(0, 60);
        }
        EXPECT_FALSE(Contains(text, " " + kDash)) << "a dash after a plain space";
        EXPECT_FALSE(Contains(text, "\n" + kDash));
    }
    EXPECT_TRUE(Contains(Load(1), kNoBreakSpace + kDash));
}

// The tradition's other words for the lines, "strong" and "weak": the
// introduction explains them once; the readings and line texts draw lines
// as сплошная and прерывистая only.
const std::vector<std::string> kStrengthWords = {
    "сильная черт", "сильной черт", "сильную черт", "сильные черт", "сильных черт",
    "слабая черт",  "слабой черт",  "слабую черт",  "слабые черт",  "слабых черт"};

// One name for one thing across all 65 texts, the introduction included:
// the sage is "мудрый человек", the broken line "прерывистая".
TEST(Readings, TheSageAndTheBrokenLineHaveOneNameEach) {
    int sage = 0, broken = 0;
    for (int n = 1; n <= 65; ++n) {
        SCOPED_TRACE("Text" + std::to_string(n) + ".dat");
        const std::string text = Load(n);
        for (const char* other : {"благородн", "Благородн", "прерванн", "Прерванн", "прерваны"})
            EXPECT_FALSE(Contains(text, other)) << other;
        for (const std::string& strength : kStrengthWords)
            EXPECT_TRUE(n == 65 || !Contains(text, strength)) << strength;
        sage += Contains(text, "удрый человек");
        broken += Contains(text, "прерывист");
    }
    EXPECT_GE(sage, 32);
    EXPECT_GE(broken, 12);
    EXPECT_TRUE(Contains(Load(65), "прерывист"));
}

// Read one after another, the readings must not sound like one template:
// no stock phrase of advice stands in more than a handful of them.
TEST(Readings, NoStockPhraseRepeatsAcrossReadings) {
    const std::vector<std::vector<std::string>> phrases = {
        {"Избегайте"},
        {"Остерегайтесь", "Берегитесь"},
        {"Если вопрос касается", "Если ваш вопрос касается", "Если речь идёт о", "Если речь о"},
        {"Ваш вопрос касается"},
        {"ексаграмма говорит", "ексаграмма напоминает", "ексаграмма советует"},
        {"двух крайностей", "двух ошибок", "двух опасностей"},
        {"Спросите себя", "спросите себя", "спросить себя"},
        {"Помните", "помните"},
    };
    std::vector<std::string> texts;
    for (int n = 1; n <= 64; ++n)
        texts.push_back(Load(n));
    for (const auto& variants : phrases) {
        int readings = 0;
        for (const std::string& text : texts) {
            bool found = false;
            for (const std::string& phrase : variants)
                found = found || Contains(text, phrase);
            readings += found;
        }
        EXPECT_LE(readings, 5) << variants.front();
    }
}

std::string LoadLines(int n) {
    std::filesystem::current_path(TAYNOVID_RUN_DIR);
    return LoadText(divination::LineTextsFilePath(n));
}

TEST(Readings, AllAreCleanWindows1251Text) {
    for (int file = 1; file <= 65 + 64; ++file) {
        const int n = file <= 65 ? file : file - 65;
        SCOPED_TRACE((file <= 65 ? "Text" : "Lines") + std::to_string(n) + ".dat");
        const std::string text = file <= 65 ? Load(n) : LoadLines(n);
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

// The «Образ» keeps the tradition's sentence on the sage, worded many ways;
// «Ситуация» opens with «Ваш вопрос» in only a few readings.
TEST(Readings, TheSagesSentenceAndTheSituationOpenInManyWays) {
    std::map<std::string, int> sageStarts;
    int yourQuestion = 0;
    for (int n = 1; n <= 64; ++n) {
        const std::vector<std::string> lines = Lines(Load(n));
        std::string section;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == "Образ" || lines[i] == "Ситуация" || lines[i] == "Суждение" ||
                lines[i] == "Совет" || lines[i] == "Триграммы") {
                section = lines[i];
                if (section == "Ситуация" && i + 2 < lines.size())
                    yourQuestion += lines[i + 2].rfind("Ваш вопрос", 0) == 0;
                continue;
            }
            if (section != "Образ")
                continue;
            // Each sentence that names the sage, by its first three words.
            std::stringstream sentences(lines[i]);
            for (std::string sentence; std::getline(sentences, sentence, '.');) {
                if (!Contains(sentence, "удр") || !Contains(sentence, "человек"))
                    continue;
                std::stringstream words(sentence);
                std::string start, word;
                for (int k = 0; k < 3 && words >> word; ++k)
                    start += (k ? " " : "") + word;
                sageStarts[start] += 1;
            }
        }
    }
    EXPECT_GE(sageStarts.size(), 40u);  // the sentence is there in most readings
    for (const auto& [start, readings] : sageStarts)
        EXPECT_LE(readings, 5) << start;
    EXPECT_LE(yourQuestion, 5);
}

// Each line file: the reading's own title, then every line from the bottom
// under the heading its hexagram's line gives (девятка solid, шестёрка
// broken), and for 1 and 2 the text for all six changing.
TEST(LineTexts, EveryHeadingMatchesItsHexagramsLines) {
    const std::vector<HexagramName> names = ReadNames();
    for (int n = 1; n <= 64; ++n) {
        SCOPED_TRACE("Lines" + std::to_string(n) + ".dat");
        const divination::LineTexts texts = divination::ParseLineTexts(LoadLines(n));
        EXPECT_EQ(texts.title, "Гексаграмма " + std::to_string(n) + ". " + names[n].name + " (" +
                                   names[n].transliteration + ")");
        EXPECT_EQ(std::string(divination::kHexagramNames[n - 1].name), names[n].name);
        EXPECT_EQ(std::string(divination::kHexagramNames[n - 1].transliteration),
                  names[n].transliteration);
        ASSERT_EQ(texts.lines.size(), n <= 2 ? 7u : 6u);
        for (size_t line = 1; line <= texts.lines.size(); ++line) {
            const divination::LineText& entry = texts.lines[line - 1];
            EXPECT_EQ(entry.heading, divination::LineHeading(n, static_cast<int>(line)));
            EXPECT_GE(Words(entry.text), 40) << entry.heading;
            EXPECT_LE(Words(entry.text), 110) << entry.heading;
            EXPECT_EQ(entry.text.find('\n'), std::string::npos) << entry.heading;
            EXPECT_FALSE(Contains(entry.text, " " + kDash)) << entry.heading;
            for (const char* other : {"благородн", "Благородн", "прерванн", "Прерванн"})
                EXPECT_FALSE(Contains(entry.text, other)) << entry.heading;
            for (const std::string& strength : kStrengthWords)
                EXPECT_FALSE(Contains(entry.text, strength)) << entry.heading;
        }
    }
    EXPECT_EQ(divination::LineHeading(1, 7), "Все девятки");
    EXPECT_EQ(divination::LineHeading(2, 7), "Все шестёрки");
    EXPECT_EQ(divination::LineHeading(3, 2), "Шестёрка вторая");
    EXPECT_EQ(divination::LineHeading(3, 5), "Девятка пятая");
}

TEST(Readings, FilesUseCrLfLineEnds) {
    std::ifstream in(std::string(TAYNOVID_RUN_DIR) + "/Text/Text1.dat", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(bytes.empty());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r');
        }
    }
}
