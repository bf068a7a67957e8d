// Both menus and the window's keys as data, the handlers of the items, and
// the two information windows they open.

#include "forms/main/information_windows.h"
#include "forms/main/item_names.h"
#include "forms/main/main_window.h"

using namespace forms;

namespace {

// MainMenu1, in order; a name that is some item's parent is a submenu.
constexpr MainMenuRow kMainMenu[] = {
    {"N1", nullptr, "ФАЙЛ", nullptr, true, true, false},
    {kPrintItem, "N1", "Печать…", "Ctrl+P", true, true, false},
    {kSaveAsItem, "N1", "Сохранить как…", "Ctrl+S", true, true, false},
    {kExitItem, "N1", "Выход", "F12", true, true, false},
    {"N2", nullptr, "УСТАНОВКИ", nullptr, true, true, false},
    {kModeMenu, "N2", "Режим                  F1", nullptr, true, true, false},
    {kAutomaticItem, kModeMenu, "автомат", nullptr, true, true, false},
    {kSemiAutomaticItem, kModeMenu, "полуавтомат", nullptr, true, true, false},
    {kNormalItem, kModeMenu, "обычный", nullptr, false, true, false},
    {kButtonsMenu, "N2", "Кнопки", nullptr, true, true, false},
    {kButtonsItem, kButtonsMenu, "показать", "F5", true, true, false},
    {"N15", "N2", "Звук", nullptr, true, true, false},
    {kSoundItem, "N15", "отключить", "F4", true, true, false},
    {kTableMenu, "N2", "Таблица гексаграмм", nullptr, true, true, false},
    {kTableItem, kTableMenu, "скрыть", "F3", true, true, false},
    {kFontItem, "N2", "Шрифт", nullptr, true, true, false},
    {"N42", "N2", "Цвет", nullptr, true, true, false},
    {kTextColorItem, "N42", "текста", nullptr, true, true, false},
    {kAreaColorItem, "N42", "текстовой области", nullptr, true, true, false},
    {"N35", "N2", "Вид программы", nullptr, true, true, false},
    {kFullViewItem, "N35", "Полный", nullptr, true, true, true},
    {kReducedViewItem, "N35", "Уменьшенный", nullptr, true, true, false},
    {kClearOnModeChangeItem, "N2", "очистка при смене режима", nullptr, true, false, false},
    {kNextModeItem, "N2", "Режим", "F1", true, false, false},
    {kSaveItem, "N2", "Сохранить", nullptr, true, false, false},
    {kLoadItem, "N2", "Загрузить", nullptr, true, false, false},
    {kJournalMenu, nullptr, "ЖУРНАЛ", nullptr, true, true, false},
    {kQuestionItem, kJournalMenu, "Вопрос…", "Ctrl+E", true, true, false},
    {kInterpretationItem, kJournalMenu, "Толкование", "Ctrl+T", true, true, false},
    {kOwnThrowItem, kJournalMenu, "Свой бросок…", "Ctrl+B", true, true, false},
    {kYarrowItem, kJournalMenu, "Стебли тысячелистника…", "Ctrl+Y", true, true, false},
    {kJournalItem, kJournalMenu, "Журнал гаданий", "Ctrl+J", true, true, false},
    {kStatisticsItem, kJournalMenu, "Статистика", "Ctrl+K", true, true, false},
    {"N9", nullptr, "СПРАВКА", nullptr, true, true, false},
    {kAboutFortuneTellerItem, "N9", "О гадалке", nullptr, true, true, false},
    {kAboutProgramItem, "N9", "О программе", nullptr, true, true, false},
};

// PopupMenu1: each item shares its twin's state and handler.
constexpr PopupMenuRow kPopupMenu[] = {
    {"N18", nullptr, kModeMenu, "Режим"},
    {"N19", "N18", kAutomaticItem, nullptr},
    {"N20", "N18", kSemiAutomaticItem, nullptr},
    {"N21", "N18", kNormalItem, nullptr},
    {"N22", nullptr, kButtonsMenu, nullptr},
    {"N24", "N22", kButtonsItem, nullptr},
    {"N25", nullptr, "N15", nullptr},
    {"N26", "N25", kSoundItem, nullptr},
    {"N31", nullptr, kTableMenu, nullptr},
    {"N32", "N31", kTableItem, nullptr},
    {"N23", nullptr, kFontItem, nullptr},
    {"N27", nullptr, "N42", nullptr},
    {"N33", "N27", kTextColorItem, nullptr},
    {"N45", "N27", kAreaColorItem, nullptr},
    {"N38", nullptr, "N35", nullptr},
    {"N39", "N38", kFullViewItem, nullptr},
    {"N40", "N38", kReducedViewItem, nullptr},
    {"popupJournalSeparator", nullptr, nullptr, nullptr},
    {"popupQuestionAction", nullptr, kQuestionItem, nullptr},
    {"popupInterpretationAction", nullptr, kInterpretationItem, nullptr},
    {"popupOwnThrowAction", nullptr, kOwnThrowItem, nullptr},
    {"popupYarrowAction", nullptr, kYarrowItem, nullptr},
    {"popupJournalAction", nullptr, kJournalItem, nullptr},
    {"N28", nullptr, nullptr, nullptr},
    {kPopupExitItem, nullptr, kExitItem, nullptr},
};

constexpr KeyRow kKeys[] = {
    {Qt::Key_F1, kNextModeItem},
    {Qt::Key_F3, kTableItem},
    {Qt::Key_F4, kSoundItem},
    {Qt::Key_F5, kButtonsItem},
    {Qt::Key_F12, kExitItem},
    {Qt::CTRL | Qt::Key_T, kInterpretationItem},
    {Qt::CTRL | Qt::Key_B, kOwnThrowItem},
    {Qt::CTRL | Qt::Key_Y, kYarrowItem},
    {Qt::CTRL | Qt::Key_E, kQuestionItem},
    {Qt::CTRL | Qt::Key_J, kJournalItem},
    {Qt::CTRL | Qt::Key_K, kStatisticsItem},
    // The journal window prints and exports its own entries with these.
    {Qt::CTRL | Qt::Key_P, kPrintItem, true},
    {Qt::CTRL | Qt::Key_S, kSaveAsItem, true},
};

}  // namespace

void TForm1::buildMenus() {
    menus_.build(kMainMenu, kPopupMenu,
                 {
                     {kExitItem, [this] { N4Click(); }},
                     {kPopupExitItem, [this] { N8Click(); }},
                     {kAboutFortuneTellerItem, [this] { N10Click(); }},
                     {kAboutProgramItem, [this] { N11Click(); }},
                     {kClearOnModeChangeItem, [this] { N46Click(); }},
                     {kAutomaticItem, [this] { SelectMode(settings::kAutomaticMode); }},
                     {kSemiAutomaticItem, [this] { SelectMode(settings::kSemiAutomaticMode); }},
                     {kNormalItem, [this] { SelectMode(settings::kNormalMode); }},
                     {kNextModeItem, [this] { N34Click(); }},
                     {kButtonsItem, [this] { N13Click(); }},
                     {kSoundItem, [this] { N16Click(); }},
                     {kTableItem, [this] { N30Click(); }},
                     {kSaveItem, [this] { N12Click(); }},
                     {kLoadItem, [this] { N17Click(); }},
                     {kFontItem, [this] { N41Click(); }},
                     {kTextColorItem, [this] { N43Click(); }},
                     {kAreaColorItem, [this] { N44Click(); }},
                     {kFullViewItem, [this] { N36Click(); }},
                     {kReducedViewItem, [this] { N37Click(); }},
                     {kInterpretationItem, [this] { showInterpretation(); }},
                     {kOwnThrowItem, [this] { castOwnThrow(); }},
                     {kYarrowItem, [this] { castYarrow(); }},
                     {kQuestionItem, [this] { editQuestion(); }},
                     {kJournalItem, [this] { showJournal(); }},
                     {kStatisticsItem, [this] { showStatistics(); }},
                     {kPrintItem, [this] { printCurrent(); }},
                     {kSaveAsItem, [this] { saveCurrentAs(); }},
                 });
    menus_.bindKeys(kKeys);
}

QAction* TForm1::item(const QString& name) const {
    return menus_.action(name);
}

bool TForm1::isItemEnabled(const QString& name) const {
    return menus_.isEnabled(name);
}

bool TForm1::isItemVisible(const QString& name) const {
    return menus_.isVisible(name);
}

void TForm1::Invoke(const QString& name) {
    menus_.invoke(name);
}

void TForm1::InvokeGuarded(const QString& name) {
    menus_.invokeGuarded(name);
}

void TForm1::N10Click() {
    if (!form2_)
        return;
    form2_->loadIntroduction();
    form2_->showAndRaise();
}

void TForm1::N11Click() {
    if (form3_)
        form3_->showAndRaise();
}
