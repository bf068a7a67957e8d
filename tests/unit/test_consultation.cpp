// The consultation: which entry a question belongs to, and a journal that
// fails said once, with the program going on without it.
#include <gtest/gtest.h>

#include "consultation/consultation.h"
#include "support/temp_folder.h"

using consultation::Consultation;
using divination::CastState;
using divination::Method;

namespace {

std::string Name(int) {
    return {};
}

// The cast after `lines` presses of heads (7 each).
CastState Cast(int lines) {
    CastState cast;
    for (int i = 0; i < lines; ++i) {
        divination::RecordLine(cast.lines, divination::Line::Solid);
        cast.values[i] = divination::kSolid;
    }
    return cast;
}

// Presses heads six times, as the main window reports each press.
void CastWhole(Consultation& c) {
    for (int lines = 1; lines <= 6; ++lines)
        c.CastChanged(Cast(lines), Method::HeadsAndTails, false);
}

}  // namespace

TEST(Consultation, AFailingJournalIsSaidOnceAndTheCastsGoOn) {
    int opened = 0, lost = 0;
    Consultation c({[&]() -> journal::Journal {
                        ++opened;
                        throw journal::Error("Не удалось открыть журнал \"/x/Journal.db\"");
                    },
                    [&] { ++lost; },
                    {}});
    for (int lines = 1; lines <= 5; ++lines)
        c.CastChanged(Cast(lines), Method::HeadsAndTails, false);
    EXPECT_EQ(opened, 0);  // nothing opens it before a cast is whole
    c.CastChanged(Cast(6), Method::HeadsAndTails, false);
    EXPECT_EQ(c.TakeReports(),
              std::vector<std::string>{"Не удалось открыть журнал \"/x/Journal.db\""});
    EXPECT_TRUE(c.TakeReports().empty());  // taken once
    c.CastChanged(Cast(0), Method::HeadsAndTails, true);
    CastWhole(c);
    c.SetQuestion("Ещё?");
    EXPECT_EQ(c.journal(), nullptr);
    EXPECT_TRUE(c.TakeReports().empty());
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(c.interpretation().hexagram, 1);  // the cast itself is untouched
}

TEST(Consultation, AQuestionBelongsToTheCastItWasWrittenFor) {
    testing_support::TempWorkingFolder folder;
    Consultation c({[] { return journal::Journal::Open(journal::kJournalFile, Name); }, {}, {}});
    c.SetQuestion("Первый");
    CastWhole(c);
    c.SetQuestion("Первый, уточнённый");                  // after the cast: that cast's
    c.CastChanged(Cast(0), Method::HeadsAndTails, true);  // cleared: the next is new
    EXPECT_EQ(c.question(), "");
    c.SetQuestion("Бросок");
    c.OpenOwnThrow({9, 8, 7, 6, 7, 8}, false);
    EXPECT_EQ(c.Current().question, "");  // an own throw prints without one
    EXPECT_THROW(c.SetQuestion(std::string(journal::kMaxTextBytes + 1, 'a')), base::Error);

    const std::vector<journal::Cast> kept = c.journal()->Page({}, {}, 10);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].question, "Бросок");
    EXPECT_EQ(kept[0].method, Method::OwnThrow);
    EXPECT_EQ(kept[1].question, "Первый, уточнённый");
    EXPECT_TRUE(c.TakeReports().empty());

    c.OpenTable(3);
    EXPECT_EQ(c.Current().interpretation.texts.size(), 6u);
    c.CastChanged(Cast(2), Method::HeadsAndTails, false);
    EXPECT_THROW(c.Current(), base::Error);  // nothing whole to print
}
