// The cast procedures: the order of every press's steps and where a failure cuts it.
#include <gtest/gtest.h>

#include <deque>
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

// What the program says of a subject, row by row from the tradition's rule:
// the changing lines answer from the bottom, 1 and 2 add the text for all
// six changing, nothing changing leaves the reading, and a hexagram from
// the table is read with every line.
TEST(Interpretation, SaysWhichTextsAnswerEverySubject) {
    using Kind = Subject::Kind;
    struct Row {
        Subject subject;
        int hexagram, second;
        Answer answer;
        std::vector<int> texts;
    };
    const std::vector<Row> rows = {
        {Subject::OfTable(3), 3, 0, Answer::AllLines, {1, 2, 3, 4, 5, 6}},
        {Subject::OfTable(1), 1, 0, Answer::AllLines, {1, 2, 3, 4, 5, 6, 7}},
        {Subject::OfTable(2), 2, 0, Answer::AllLines, {1, 2, 3, 4, 5, 6, 7}},
        {Subject::OfCast({7, 8, 8, 8, 7, 8}), 3, 0, Answer::Reading, {}},
        {Subject::OfCast({9, 8, 8, 8, 7, 8}), 3, 8, Answer::ChangingLines, {1}},
        {Subject::OfCast({9, 7, 8, 6, 7, 8}), 60, 47, Answer::ChangingLines, {1, 4}},
        {Subject::OfCast({6, 6, 9, 8, 8, 8}), 15, 19, Answer::ChangingLines, {1, 2, 3}},
        {Subject::OfCast({7, 9, 6, 9, 6, 8}), 54, 63, Answer::ChangingLines, {2, 3, 4, 5}},
        {Subject::OfEntry({9, 9, 9, 9, 9, 7}), 1, 23, Answer::ChangingLines, {1, 2, 3, 4, 5}},
        {Subject::OfOwnThrow({9, 9, 9, 9, 9, 9}),
         1,
         2,
         Answer::ChangingLines,
         {1, 2, 3, 4, 5, 6, 7}},
        {Subject::OfCast({6, 6, 6, 6, 6, 6}), 2, 1, Answer::ChangingLines, {1, 2, 3, 4, 5, 6, 7}},
        {Subject::OfOwnThrow({9, 6, 6, 6, 6, 6}),
         24,
         44,
         Answer::ChangingLines,
         {1, 2, 3, 4, 5, 6}},
        {Subject::OfCast({9, 7, 7, 0, 0, 0}), 0, 0, Answer::Incomplete, {}},
    };
    for (const Row& row : rows) {
        const Interpretation said = Interpret(row.subject);
        SCOPED_TRACE(testing::PrintToString(row.subject.values));
        EXPECT_EQ(said.hexagram, row.hexagram);
        EXPECT_EQ(said.second, row.second);
        EXPECT_EQ(said.answer, row.answer);
        EXPECT_EQ(said.texts, row.texts);
        if (row.hexagram)
            EXPECT_EQ(said.nuclear, NuclearHexagram(row.hexagram));
        if (row.subject.kind != Kind::Table)
            EXPECT_EQ(said.changing.size(), row.texts.size() - (row.texts.size() == 7));
    }
    // Every hexagram from the table is itself, unchanged, read whole.
    for (int n = 1; n <= 64; ++n) {
        const Interpretation said = Interpret(Subject::OfTable(n));
        EXPECT_EQ(said.hexagram, n);
        EXPECT_EQ(said.second, 0);
        EXPECT_TRUE(said.changing.empty());
        EXPECT_EQ(said.texts.size(), n <= 2 ? 7u : 6u);
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
