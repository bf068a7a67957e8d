// The menu items that code invokes or changes, by name: one place for them,
// so a mistyped name does not compile instead of finding no item.
#pragma once

namespace forms {

inline constexpr char kExitItem[] = "N4";
inline constexpr char kPopupExitItem[] = "N8";
inline constexpr char kModeMenu[] = "N3";
inline constexpr char kAutomaticItem[] = "N5";
inline constexpr char kSemiAutomaticItem[] = "N6";
inline constexpr char kNormalItem[] = "N14";
inline constexpr char kNextModeItem[] = "N34";
inline constexpr char kClearOnModeChangeItem[] = "N46";
inline constexpr char kButtonsMenu[] = "N7";
inline constexpr char kButtonsItem[] = "N13";
inline constexpr char kSoundItem[] = "N16";
inline constexpr char kTableMenu[] = "N29";
inline constexpr char kTableItem[] = "N30";
inline constexpr char kFontItem[] = "N41";
inline constexpr char kTextColorItem[] = "N43";
inline constexpr char kAreaColorItem[] = "N44";
inline constexpr char kFullViewItem[] = "N36";
inline constexpr char kReducedViewItem[] = "N37";
inline constexpr char kSaveItem[] = "N12";
inline constexpr char kLoadItem[] = "N17";
inline constexpr char kJournalMenu[] = "journalMenu";
inline constexpr char kQuestionItem[] = "questionAction";
inline constexpr char kInterpretationItem[] = "interpretationAction";
inline constexpr char kOwnThrowItem[] = "ownThrowAction";
inline constexpr char kYarrowItem[] = "yarrowAction";
inline constexpr char kJournalItem[] = "journalAction";
inline constexpr char kStatisticsItem[] = "statisticsAction";
inline constexpr char kPrintItem[] = "printAction";
inline constexpr char kSaveAsItem[] = "saveAsAction";
inline constexpr char kAboutFortuneTellerItem[] = "N10";
inline constexpr char kAboutProgramItem[] = "N11";

}  // namespace forms
