// The cast procedures: the order of every press's steps and where a failure cuts it.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/error.h"
#include "divination/cast.h"
#include "divination/hexagrams.h"
#include "divination/interpretation.h"

using namespace divination;
using base::Error;

namespace {

// Records every window call as one line, and fails the ones asked to fail.
class Recorder : public CastView {
public:
    std::vector<std::string> trace;
    bool sound = true;
    bool readingFails = false;
    bool playFails = false;

    void hidePrompt() override { log("hidePrompt"); }
    void showPrompt() override { log("showPrompt"); }
    void showCoinFace(int coin, Face face) override {
        log("face " + std::to_string(coin) + (face == Face::Heads ? " heads" : " tails"));
    }
    void hideCoins() override { log("hideCoins"); }
    void appendGlyph(Line value) override { log(std::string("glyph ") + LineDigit(value)); }
    void clearGlyphs() override { log("clearGlyphs"); }
    void showTableWhenHidden() override { log("table"); }
    void showNotice() override { log("notice"); }
    void displayReading(int n) override {
        log("reading " + std::to_string(n));
        if (readingFails)
            throw Error("Cannot open file");
    }
    void resetReading() override { log("resetReading"); }
    bool soundOn() const override { return sound; }
    void playWave(const std::string& path) override {
        log("play " + path);
        if (playFails)
            throw Error("no sound");
    }
    void showColumnMarker(int k) override { log("column " + std::to_string(k)); }
    void showRowMarker(int k) override { log("row " + std::to_string(k)); }
    void hideMarkers() override { log("hideMarkers"); }

    std::vector<std::string> take() { return std::exchange(trace, {}); }

private:
    void log(std::string line) { trace.push_back(std::move(line)); }
};

using Trace = std::vector<std::string>;
const std::string kFanfare = "play .\\Fanfare.wav";

std::string Cells(const CastState& s) {
    std::string out;
    for (Line l : s.lines.cells)
        out += LineDigit(l);
    return out;
}

// Casts the given digits one by one (no trace kept).
template <typename Cast>
void CastAll(CastState& state, Recorder& view, std::string_view digits, Cast cast) {
    for (char d : digits)
        cast(state, d == '1' ? Line::Solid : Line::Broken, view);
    view.take();
}

}  // namespace

TEST(NormalCast, FirstPressOrder) {
    CastState state;
    Recorder view;
    CastNormal(state, Line::Broken, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 tails", "face 1 tails", "face 2 tails",
                                  "table", "glyph 2"}));
    EXPECT_EQ(Cells(state), "200000");
}

TEST(NormalCast, ThirdPressLightsTheColumnAndSixthTheRowThenTheFanfare) {
    CastState state;
    Recorder view;
    CastAll(state, view, "21", CastNormal);
    CastNormal(state, Line::Broken, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 tails", "face 1 tails", "face 2 tails",
                                  "table", "glyph 2", "column 6"}));
    CastAll(state, view, "11", CastNormal);
    CastNormal(state, Line::Solid, view);
    // Markers before the fanfare in the normal mode; no reading is loaded.
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "table", "glyph 1", "column 6", "row 1", kFanfare}));
    EXPECT_EQ(Cells(state), "212111");
}

TEST(NormalCast, PressOnACompleteHexagramShowsTheNoticeAndChangesNoCell) {
    CastState state;
    Recorder view;
    CastAll(state, view, "111111", CastNormal);
    CastNormal(state, Line::Solid, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "table", "notice", "column 1", "row 1", kFanfare}));
    CastNormal(state, Line::Broken, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 tails", "face 1 tails", "face 2 tails",
                                  "table", "notice", "column 1", "row 1"}));
    EXPECT_EQ(Cells(state), "111111");
}

TEST(NormalCast, SoundOffPlaysNothing) {
    CastState state;
    Recorder view;
    view.sound = false;
    CastAll(state, view, "22222", CastNormal);
    CastNormal(state, Line::Broken, view);
    EXPECT_EQ(view.take().back(), "row 8");
}

TEST(NormalCast, FailingFanfareComesAfterTheMarkers) {
    CastState state;
    Recorder view;
    CastAll(state, view, "22211", CastNormal);
    view.playFails = true;
    EXPECT_THROW(CastNormal(state, Line::Solid, view), Error);
    const Trace trace = view.take();
    EXPECT_EQ(trace.back(), kFanfare);
    EXPECT_EQ(trace[trace.size() - 2], "row 1");
    EXPECT_EQ(Cells(state), "222111");
}

TEST(SemiAutomaticCast, SixthPressIdentifiesReadsPlaysThenMarks) {
    CastState state;
    Recorder view;
    CastAll(state, view, "22", CastSemiAutomatic);
    CastSemiAutomatic(state, Line::Broken, view);
    // No table step in this mode.
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 tails", "face 1 tails", "face 2 tails",
                                  "glyph 2", "column 8"}));
    CastAll(state, view, "11", CastSemiAutomatic);
    CastSemiAutomatic(state, Line::Solid, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "glyph 1", "reading 12", kFanfare, "row 1"}));
}

TEST(SemiAutomaticCast, FiveLinesLoadNoReading) {
    CastState state;
    Recorder view;
    for (char d : std::string("12221")) {
        CastSemiAutomatic(state, d == '1' ? Line::Solid : Line::Broken, view);
        for (const std::string& line : view.take()) {
            EXPECT_EQ(line.rfind("reading", 0), std::string::npos);
            EXPECT_EQ(line.rfind("play", 0), std::string::npos);
        }
    }
}

TEST(SemiAutomaticCast, LaterPressesOfTheSameKindReloadAndReplay) {
    CastState state;
    Recorder view;
    CastAll(state, view, "111111", CastSemiAutomatic);
    CastSemiAutomatic(state, Line::Solid, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "notice", "reading 1", kFanfare, "column 1", "row 1"}));
    CastSemiAutomatic(state, Line::Broken, view);
    EXPECT_EQ(view.take(),
              (Trace{"hidePrompt", "face 0 tails", "face 1 tails", "face 2 tails", "notice"}));
    EXPECT_EQ(Cells(state), "111111");
}

TEST(SemiAutomaticCast, FailingReadingEndsThePressBeforeFanfareAndMarkers) {
    CastState state;
    Recorder view;
    CastAll(state, view, "22211", CastSemiAutomatic);
    view.readingFails = true;
    EXPECT_THROW(CastSemiAutomatic(state, Line::Solid, view), Error);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "glyph 1", "reading 12"}));
    EXPECT_EQ(Cells(state), "222111");
    // The hexagram counts as complete: the next press shows the notice and
    // tries the reading again.
    view.readingFails = false;
    CastSemiAutomatic(state, Line::Solid, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "notice", "reading 12", kFanfare, "row 1"}));
}

TEST(SemiAutomaticCast, FailingFanfareEndsThePressBeforeTheMarkers) {
    CastState state;
    Recorder view;
    CastAll(state, view, "11111", CastSemiAutomatic);
    view.playFails = true;
    EXPECT_THROW(CastSemiAutomatic(state, Line::Solid, view), Error);
    EXPECT_EQ(view.take().back(), kFanfare);
}

namespace {

// Hands out the given coin numbers in order.
CoinSource Script(std::deque<int> numbers) {
    auto queue = std::make_shared<std::deque<int>>(std::move(numbers));
    return [queue] {
        const int n = queue->front();
        queue->pop_front();
        return n;
    };
}

}  // namespace

TEST(AutomaticCast, CoinCellsFacesAndMajority) {
    CastState state;
    Recorder view;
    CastAutomatic(state, Script({0, 999, 998}), view);
    EXPECT_EQ(state.coinCells, (std::array<std::string, 3>{"0", "999", "998"}));
    EXPECT_EQ(view.take(),
              (Trace{"hidePrompt", "face 0 tails", "face 1 heads", "face 2 tails", "glyph 2"}));
    CastAutomatic(state, Script({7, 8, 13}), view);
    EXPECT_EQ(view.take().back(), "glyph 1");
    EXPECT_EQ(Cells(state), "210000");
}

TEST(AutomaticCast, SixLinesReadPlayAndMarkInThatOrder) {
    // Lines 1–6: broken, solid, solid, solid, solid, solid → hexagram 44.
    CastState state;
    Recorder view;
    auto coins = Script({2, 4, 6, 1, 3, 5, 1, 3, 5, 1, 3, 5, 1, 3, 5, 1, 3, 5, 1, 1, 1});
    for (int press = 0; press < 5; ++press)
        CastAutomatic(state, coins, view);
    view.take();
    CastAutomatic(state, coins, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "glyph 1", "reading 44", kFanfare, "column 5", "row 1"}));
    // A seventh press: new coins, the notice, and the same reading again.
    CastAutomatic(state, coins, view);
    EXPECT_EQ(view.take(), (Trace{"hidePrompt", "face 0 heads", "face 1 heads", "face 2 heads",
                                  "notice", "reading 44", kFanfare, "column 5", "row 1"}));
    EXPECT_EQ(Cells(state), "211111");
}

// Beside each cell, the value 6–9 of the press that cast it and its coins;
// presses after the sixth record nothing, and clearing forgets them.
TEST(AutomaticCast, RecordsEachLinesValueAndCoins) {
    CastState state;
    Recorder view;
    auto coins = Script({1, 3, 5, 0, 2, 4, 1, 2, 3, 2, 4, 5, 7, 7, 8, 9, 9, 9, 0, 0, 0});
    for (int press = 0; press < 7; ++press)
        CastAutomatic(state, coins, view);
    EXPECT_EQ(state.values, (LineValues{9, 6, 7, 8, 7, 9}));
    EXPECT_EQ(Cells(state), "121211");
    EXPECT_EQ(state.coins[1], (std::array<int, 3>{0, 2, 4}));
    EXPECT_EQ(state.coins[5], (std::array<int, 3>{9, 9, 9}));
    EXPECT_EQ(HexagramOf(state.values), IdentifyHexagram(state.lines));
    ClearHexagram(state, view);
    EXPECT_EQ(state.values, LineValues{});
    EXPECT_EQ(state.coins[0], (std::array<int, 3>{}));
}

TEST(ManualCasts, OneCoinPerLineGivesNoChangingLine) {
    CastState state;
    Recorder view;
    CastNormal(state, Line::Solid, view);
    CastSemiAutomatic(state, Line::Broken, view);
    EXPECT_EQ(state.values, (LineValues{7, 8, 0, 0, 0, 0}));
}

TEST(Changes, SecondAndNuclearHexagrams) {
    EXPECT_EQ(RelatingHexagram({9, 7, 7, 7, 7, 7}), 44);
    EXPECT_EQ(RelatingHexagram({9, 9, 9, 9, 9, 9}), 2);
    EXPECT_EQ(RelatingHexagram({6, 6, 6, 6, 6, 6}), 1);
    EXPECT_EQ(RelatingHexagram({7, 7, 7, 7, 7, 7}), 0);  // nothing changes
    EXPECT_EQ(RelatingHexagram({9, 7, 7, 0, 0, 0}), 0);  // not yet cast
    EXPECT_EQ(NuclearHexagram(63), 64);
    EXPECT_EQ(NuclearHexagram(1), 1);
    EXPECT_EQ(NuclearHexagram(2), 2);
    EXPECT_EQ(NuclearHexagram(3), 23);
}

namespace {

// The answers in short, as the rules are written: "L60.4*" the text of line
// 4 of hexagram 60, governing; "A1" the text for all lines of hexagram 1;
// "J44" the judgement of 44; "R3" the reading of 3.
std::vector<AnswerText> Answers(std::string_view shorthand) {
    std::vector<AnswerText> answers;
    std::istringstream in{std::string(shorthand)};
    for (std::string word; in >> word;) {
        AnswerText a;
        a.kind = word[0] == 'L'   ? AnswerText::Kind::Line
                 : word[0] == 'A' ? AnswerText::Kind::AllLines
                 : word[0] == 'J' ? AnswerText::Kind::Judgement
                                  : AnswerText::Kind::Reading;
        a.governing = word.back() == '*';
        std::size_t used = 0;
        a.hexagram = std::stoi(word.substr(1), &used);
        if (a.kind == AnswerText::Kind::Line)
            a.line = std::stoi(word.substr(2 + used));
        else if (a.kind == AnswerText::Kind::AllLines)
            a.line = 7;
        answers.push_back(a);
    }
    return answers;
}

std::string Shorthand(const std::vector<AnswerText>& answers) {
    std::string out;
    for (const AnswerText& a : answers) {
        out += out.empty() ? "" : " ";
        out += "LAJR"[static_cast<int>(a.kind)] + std::to_string(a.hexagram);
        if (a.kind == AnswerText::Kind::Line)
            out += "." + std::to_string(a.line);
        if (a.governing)
            out += "*";
    }
    return out;
}

// A subject, what the program says of it in the all-changing school, and
// the answers of each school: "all | Zhu Xi | one main line", or one list
// for all three.
struct InterpretationRow {
    Subject subject;
    int hexagram, second;
    Answer answer;
    std::vector<int> texts;
    std::string_view answers;
};

// Each row written from the tradition's rule, by hand.
std::vector<InterpretationRow> InterpretationRows() {
    using S = Subject;
    const Answer lines = Answer::ChangingLines;
    const std::vector<int> all7 = {1, 2, 3, 4, 5, 6, 7};
    return {
        {S::OfTable(3),
         3,
         0,
         Answer::AllLines,
         {1, 2, 3, 4, 5, 6},
         "L3.1 L3.2 L3.3 L3.4 L3.5 L3.6"},
        {S::OfTable(1), 1, 0, Answer::AllLines, all7, "L1.1 L1.2 L1.3 L1.4 L1.5 L1.6 A1"},
        {S::OfTable(2), 2, 0, Answer::AllLines, all7, "L2.1 L2.2 L2.3 L2.4 L2.5 L2.6 A2"},
        // None changing: the reading, or the judgement of the hexagram.
        {S::OfCast({7, 8, 8, 8, 7, 8}), 3, 0, Answer::Reading, {}, "R3* | J3* | J3*"},
        // One: that line everywhere.
        {S::OfCast({9, 8, 8, 8, 7, 8}), 3, 8, lines, {1}, "L3.1*"},
        // Two: Zhu Xi both, the upper governing; the main line the broken one
        // where they differ (the upper here, the lower next), the lower where alike.
        {S::OfCast({9, 7, 8, 6, 7, 8}),
         60,
         47,
         lines,
         {1, 4},
         "L60.1* L60.4* | L60.4* L60.1 | L60.4* L60.1"},
        {S::OfCast({6, 7, 8, 9, 7, 8}),
         47,
         60,
         lines,
         {1, 4},
         "L47.1* L47.4* | L47.4* L47.1 | L47.1* L47.4"},
        {S::OfCast({7, 9, 7, 9, 8, 8}),
         34,
         36,
         lines,
         {2, 4},
         "L34.2* L34.4* | L34.4* L34.2 | L34.2* L34.4"},
        {S::OfCast({6, 6, 7, 7, 7, 7}),
         33,
         1,
         lines,
         {1, 2},
         "L33.1* L33.2* | L33.2* L33.1 | L33.1* L33.2"},
        // Three: both judgements, the first governing with line 1 among the
        // changing, the second without; the main line the middle one.
        {S::OfCast({6, 6, 9, 8, 8, 8}),
         15,
         19,
         lines,
         {1, 2, 3},
         "L15.1* L15.2* L15.3* | J15* J19 | L15.2* L15.1 L15.3"},
        {S::OfCast({7, 9, 6, 9, 7, 8}),
         58,
         63,
         lines,
         {2, 3, 4},
         "L58.2* L58.3* L58.4* | J63* J58 | L58.3* L58.2 L58.4"},
        // Four: Zhu Xi the two unchanging lines of the second hexagram, the
        // lower governing; the main line the upper unchanging one of itself.
        {S::OfCast({7, 9, 6, 9, 6, 8}),
         54,
         63,
         lines,
         {2, 3, 4, 5},
         "L54.2* L54.3* L54.4* L54.5* | L63.1* L63.6 | L54.6* L54.2 L54.3 L54.4 L54.5"},
        // Five: the one unchanging line, of the second hexagram or of itself.
        {S::OfEntry({9, 9, 9, 9, 9, 7}),
         1,
         23,
         lines,
         {1, 2, 3, 4, 5},
         "L1.1* L1.2* L1.3* L1.4* L1.5* | L23.6* | L1.6* L1.1 L1.2 L1.3 L1.4 L1.5"},
        {S::OfCast({9, 6, 7, 9, 6, 9}),
         30,
         48,
         lines,
         {1, 2, 4, 5, 6},
         "L30.1* L30.2* L30.4* L30.5* L30.6* | L48.3* | L30.3* L30.1 L30.2 L30.4 L30.5 L30.6"},
        // Six: 1 and 2 their text for all lines, the others the judgement of
        // the second hexagram; all changing adds the six lines.
        {S::OfOwnThrow({9, 9, 9, 9, 9, 9}), 1, 2, lines, all7,
         "L1.1* L1.2* L1.3* L1.4* L1.5* L1.6* A1* | A1* | A1*"},
        {S::OfCast({6, 6, 6, 6, 6, 6}), 2, 1, lines, all7,
         "L2.1* L2.2* L2.3* L2.4* L2.5* L2.6* A2* | A2* | A2*"},
        {S::OfOwnThrow({9, 6, 6, 6, 6, 6}),
         24,
         44,
         lines,
         {1, 2, 3, 4, 5, 6},
         "L24.1* L24.2* L24.3* L24.4* L24.5* L24.6* | J44* | J44*"},
        {S::OfCast({9, 7, 7, 0, 0, 0}), 0, 0, Answer::Incomplete, {}, ""},
    };
}

// The answers of one school for a row: its part of "a | b | c", or the one list.
std::string_view SchoolsPart(std::string_view answers, School school) {
    if (answers.find('|') == std::string_view::npos)
        return answers;
    for (int part = 0; part < static_cast<int>(school); ++part)
        answers.remove_prefix(answers.find('|') + 1);
    return answers.substr(0, answers.find('|'));
}

}  // namespace

// What the program says of a subject, row by row from the tradition's rule,
// in each school. All changing: the changing lines answer from the bottom,
// 1 and 2 add the text for all six changing, nothing changing leaves the
// reading. Zhu Xi and the one main line as their rules say for 0–6 changing
// lines. A hexagram from the table is read with every line in every school.
TEST(Interpretation, SaysWhichTextsAnswerEverySubject) {
    const std::vector<InterpretationRow> rows = InterpretationRows();
    std::map<std::pair<School, std::string>, std::string> ruleOfAnswers;
    for (const InterpretationRow& row : rows) {
        const Interpretation said = Interpret(row.subject);
        SCOPED_TRACE(testing::PrintToString(row.subject.values));
        EXPECT_EQ(said.school, School::AllChanging);
        EXPECT_EQ(said.hexagram, row.hexagram);
        EXPECT_EQ(said.second, row.second);
        EXPECT_EQ(said.answer, row.answer);
        EXPECT_EQ(said.texts, row.texts);
        if (row.hexagram) {
            EXPECT_EQ(said.nuclear, NuclearHexagram(row.hexagram));
        }
        if (row.subject.kind != Subject::Kind::Table) {
            EXPECT_EQ(said.changing.size(), row.texts.size() - (row.texts.size() == 7));
        }
        for (School school : {School::AllChanging, School::ZhuXi, School::OneLine}) {
            const Interpretation read = Interpret(row.subject, school);
            const std::string_view expected = SchoolsPart(row.answers, school);
            SCOPED_TRACE(SchoolName(school));
            EXPECT_EQ(Shorthand(read.answers), Shorthand(Answers(expected)));
            // The views still read these, whatever the school.
            EXPECT_EQ(read.texts, row.texts);
            EXPECT_EQ(read.answer, row.answer);
            if (!row.hexagram) {
                EXPECT_EQ(read.rule, "");
                continue;
            }
            const std::string opening = row.subject.kind == Subject::Kind::Table
                                            ? "Гексаграмма открыта из таблицы: "
                                            : std::string(SchoolName(school)) + ": ";
            EXPECT_EQ(read.rule.rfind(opening, 0), 0u) << read.rule;
            EXPECT_EQ(read.rule.back(), '.') << read.rule;
            // The same choice is always told by the same sentence.
            const auto [kept, fresh] =
                ruleOfAnswers.emplace(std::pair{school, std::string(expected)}, read.rule);
            if (!fresh) {
                EXPECT_EQ(kept->second, read.rule);
            }
        }
    }
    // The rules that differ by more than the count of lines say so: Zhu Xi's
    // three with line 1 and without, the main line of two unlike and alike.
    const auto rule = [&rows](int row, School school) {
        return Interpret(rows[row].subject, school).rule;
    };
    EXPECT_NE(rule(9, School::ZhuXi), rule(10, School::ZhuXi));
    EXPECT_NE(rule(5, School::OneLine), rule(7, School::OneLine));
    EXPECT_EQ(rule(5, School::OneLine), rule(6, School::OneLine));
    // Every hexagram from the table is itself, unchanged, read whole.
    for (int n = 1; n <= 64; ++n) {
        const Interpretation said = Interpret(Subject::OfTable(n), School::ZhuXi);
        EXPECT_EQ(said.hexagram, n);
        EXPECT_EQ(said.second, 0);
        EXPECT_TRUE(said.changing.empty());
        EXPECT_EQ(said.texts.size(), n <= 2 ? 7u : 6u);
        EXPECT_EQ(said.answers.size(), said.texts.size());
        for (const AnswerText& a : said.answers)
            EXPECT_FALSE(a.governing);
    }
}

TEST(AutomaticCast, FailuresCutThePressShort) {
    CastState state;
    Recorder view;
    auto coins = Script(std::deque<int>(30, 0));
    for (int press = 0; press < 5; ++press)
        CastAutomatic(state, coins, view);
    view.take();
    view.readingFails = true;
    EXPECT_THROW(CastAutomatic(state, coins, view), Error);
    EXPECT_EQ(view.take().back(), "reading 2");
    EXPECT_EQ(Cells(state), "222222");
    view.readingFails = false;
    view.playFails = true;
    EXPECT_THROW(CastAutomatic(state, coins, view), Error);
    EXPECT_EQ(view.take().back(), kFanfare);
}

TEST(AutomaticCast, NoReadingOrSoundBeforeTheSixthLine) {
    CastState state;
    Recorder view;
    auto coins = Script(std::deque<int>(15, 1));
    for (int press = 0; press < 5; ++press) {
        CastAutomatic(state, coins, view);
        for (const std::string& line : view.take())
            EXPECT_TRUE(line.rfind("reading", 0) && line.rfind("play", 0)) << line;
    }
}

TEST(Clearing, StepsInOrderAndCoinCellsKept) {
    CastState state;
    Recorder view;
    CastAutomatic(state, Script({1, 2, 3}), view);
    view.take();
    NewHexagram(state, view);
    EXPECT_EQ(view.take(), (Trace{"play .\\udalenie.wav", "showPrompt", "hideCoins", "clearGlyphs",
                                  "resetReading", "hideMarkers"}));
    EXPECT_EQ(Cells(state), "000000");
    EXPECT_EQ(state.coinCells[2], "3");
    view.sound = false;
    NewHexagram(state, view);
    EXPECT_EQ(view.take().front(), "showPrompt");
}

TEST(Clearing, FailingRemovalSoundLeavesTheHexagram) {
    CastState state;
    Recorder view;
    CastAll(state, view, "121", CastNormal);
    view.playFails = true;
    EXPECT_THROW(NewHexagram(state, view), Error);
    EXPECT_EQ(view.take(), (Trace{"play .\\udalenie.wav"}));
    EXPECT_EQ(Cells(state), "121000");
}
