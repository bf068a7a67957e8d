// Both menus as data, the twin pairs, invoking items, and the shortcut keys.
//
// Qt disables a hidden action, and every action inside a hidden or disabled
// submenu, also for its shortcut; yet F1 must reach the never-shown N34 and
// F5 must reach N13 while "Кнопки" is hidden. So each item keeps its own
// enabled flag, the menus show a key only as text after a tab, and the
// window owns the five keys itself (one QShortcut each, never hidden).
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include <string_view>

#include "forms/information_windows.h"
#include "forms/main_window.h"

namespace {

struct MainMenuRow {
    const char* name;
    const char* parent;  // nullptr: on the menu bar
    const char* caption;
    const char* key;  // shown after a tab; the window owns the key
    bool enabled, visible, checked;
};

// MainMenu1, in order; a name that is some item's parent is a submenu.
constexpr MainMenuRow kMainMenu[] = {
    {"N1", nullptr, "ФАЙЛ", nullptr, true, true, false},
    {"N4", "N1", "Выход", "F12", true, true, false},
    {"N2", nullptr, "УСТАНОВКИ", nullptr, true, true, false},
    {"N3", "N2", "Режим                  F1", nullptr, true, true, false},
    {"N5", "N3", "автомат", nullptr, true, true, false},
    {"N6", "N3", "полуавтомат", nullptr, true, true, false},
    {"N14", "N3", "обычный", nullptr, false, true, false},
    {"N7", "N2", "Кнопки", nullptr, true, true, false},
    {"N13", "N7", "показать", "F5", true, true, false},
    {"N15", "N2", "Звук", nullptr, true, true, false},
    {"N16", "N15", "отключить", "F4", true, true, false},
    {"N29", "N2", "Таблица гексаграмм", nullptr, true, true, false},
    {"N30", "N29", "скрыть", "F3", true, true, false},
    {"N41", "N2", "Шрифт", nullptr, true, true, false},
    {"N42", "N2", "Цвет", nullptr, true, true, false},
    {"N43", "N42", "текста", nullptr, true, true, false},
    {"N44", "N42", "текстовой области", nullptr, true, true, false},
    {"N35", "N2", "Вид программы", nullptr, true, true, false},
    {"N36", "N35", "Полный", nullptr, true, true, true},
    {"N37", "N35", "Уменьшенный", nullptr, true, true, false},
    {"N46", "N2", "очистка при смене режима", nullptr, true, false, false},
    {"N34", "N2", "Режим", "F1", true, false, false},
    {"N12", "N2", "Сохранить", nullptr, true, false, false},
    {"N17", "N2", "Загрузить", nullptr, true, false, false},
    {"N9", nullptr, "СПРАВКА", nullptr, true, true, false},
    {"N10", "N9", "О гадалке", nullptr, true, true, false},
    {"N11", "N9", "О программе", nullptr, true, true, false},
};

struct PopupMenuRow {
    const char* name;
    const char* parent;  // nullptr: at the popup's top level
    const char* twin;    // the MainMenu1 item whose state and handler it shares
};

constexpr PopupMenuRow kPopupMenu[] = {
    {"N18", nullptr, "N3"},  {"N19", "N18", "N5"},    {"N20", "N18", "N6"},
    {"N21", "N18", "N14"},   {"N22", nullptr, "N7"},  {"N24", "N22", "N13"},
    {"N25", nullptr, "N15"}, {"N26", "N25", "N16"},   {"N31", nullptr, "N29"},
    {"N32", "N31", "N30"},   {"N23", nullptr, "N41"}, {"N27", nullptr, "N42"},
    {"N33", "N27", "N43"},   {"N45", "N27", "N44"},   {"N38", nullptr, "N35"},
    {"N39", "N38", "N36"},   {"N40", "N38", "N37"},   {"N28", nullptr, nullptr},
    {"N8", nullptr, "N4"},
};

struct KeyBinding {
    QKeySequence key;
    const char* item;
};

bool IsParent(const char* name) {
    for (const MainMenuRow& entry : kMainMenu) {
        if (entry.parent && qstrcmp(entry.parent, name) == 0)
            return true;
    }
    for (const PopupMenuRow& entry : kPopupMenu) {
        if (entry.parent && qstrcmp(entry.parent, name) == 0)
            return true;
    }
    return false;
}

QString WithKey(const char* caption, const char* key) {
    QString text = QString::fromUtf8(caption);
    if (key)
        text += QLatin1Char('\t') + QLatin1String(key);
    return text;
}

}  // namespace

void TForm1::buildMenus() {
    // The handlers of this window's own items; the other items get theirs
    // from the parts of the window that own them.
    const std::map<QString, std::function<void()>> handlers = {
        {"N4", [this] { N4Click(); }},      {"N10", [this] { N10Click(); }},
        {"N11", [this] { N11Click(); }},    {"N46", [this] { N46Click(); }},
        {"N5", [this] { SelectMode(1); }},  {"N6", [this] { SelectMode(2); }},
        {"N14", [this] { SelectMode(3); }}, {"N34", [this] { N34Click(); }},
        {"N13", [this] { N13Click(); }},    {"N16", [this] { N16Click(); }},
        {"N30", [this] { N30Click(); }},    {"N12", [this] { N12Click(); }},
        {"N17", [this] { N17Click(); }},    {"N41", [this] { N41Click(); }},
        {"N43", [this] { N43Click(); }},    {"N44", [this] { N44Click(); }},
        {"N36", [this] { N36Click(); }},    {"N37", [this] { N37Click(); }},
    };

    std::map<QString, QMenu*> menus;
    for (const MainMenuRow& entry : kMainMenu) {
        auto owned = std::make_unique<MenuItem>();
        MenuItem* item = owned.get();
        item->name = QString::fromLatin1(entry.name);
        item->parent = entry.parent ? findItem(QString::fromLatin1(entry.parent)) : nullptr;
        const QString caption = WithKey(entry.caption, entry.key);
        if (IsParent(entry.name)) {
            item->submenu = entry.parent
                                ? menus.at(QString::fromLatin1(entry.parent))->addMenu(caption)
                                : menuBar()->addMenu(caption);
            item->submenu->setObjectName(item->name + QStringLiteral("Menu"));
            menus[item->name] = item->submenu;
            item->action = item->submenu->menuAction();
        } else {
            item->action = menus.at(QString::fromLatin1(entry.parent))->addAction(caption);
            connect(item->action, &QAction::triggered, this,
                    [this, item] { triggered(item, item->name); });
        }
        item->action->setObjectName(item->name);
        if (auto found = handlers.find(item->name); found != handlers.end())
            item->handler = found->second;
        itemsByName_[item->name] = item;
        menuItems_.push_back(std::move(owned));
    }
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    std::map<QString, QMenu*> popupMenus;
    for (const PopupMenuRow& entry : kPopupMenu) {
        QMenu* into = entry.parent ? popupMenus.at(QString::fromLatin1(entry.parent)) : PopupMenu1;
        const QString name = QString::fromLatin1(entry.name);
        if (!entry.twin) {
            into->addSeparator()->setObjectName(name);
            continue;
        }
        MenuItem* item = findItem(QString::fromLatin1(entry.twin));
        const QString caption = item->submenu
                                    ? item->submenu->title()
                                    : item->action->text().section(QLatin1Char('\t'), 0, 0);
        if (IsParent(entry.name)) {
            QMenu* submenu = into->addMenu(caption);
            submenu->setObjectName(name + QStringLiteral("Menu"));
            popupMenus[name] = submenu;
            item->twin = submenu->menuAction();
        } else {
            item->twin = into->addAction(caption);
            connect(item->twin, &QAction::triggered, this,
                    [this, item, name] { triggered(item, name); });
        }
        item->twin->setObjectName(name);
        itemsByName_[name] = item;
    }
    // The popup's "Режим" carries no key in its caption.
    findItem("N3")->twin->setText(QStringLiteral("Режим"));

    for (const MainMenuRow& entry : kMainMenu) {
        const QString name = QString::fromLatin1(entry.name);
        setItemEnabled(name, entry.enabled);
        setItemVisible(name, entry.visible);
        setItemChecked(name, entry.checked);
    }
}

void TForm1::buildShortcuts() {
    const KeyBinding keys[] = {
        {Qt::Key_F1, "N34"}, {Qt::Key_F3, "N30"}, {Qt::Key_F4, "N16"},
        {Qt::Key_F5, "N13"}, {Qt::Key_F12, "N4"},
    };
    for (const KeyBinding& key : keys) {
        auto* shortcut = new QShortcut(key.key, this);
        shortcut->setObjectName(QStringLiteral("Shortcut") + QLatin1String(key.item));
        // The information windows are not modal: the keys work while one of
        // them is the active window, but not while a modal window waits.
        shortcut->setContext(Qt::ApplicationShortcut);
        MenuItem* item = findItem(QString::fromLatin1(key.item));
        connect(shortcut, &QShortcut::activated, this, [this, item] {
            if (!QApplication::activeModalWidget() && itemAndParentsEnabled(item))
                InvokeGuarded(item->name);
        });
    }
}

TForm1::MenuItem* TForm1::findItem(const QString& name) const {
    const auto found = itemsByName_.find(name);
    return found == itemsByName_.end() ? nullptr : found->second;
}

QAction* TForm1::item(const QString& name) const {
    MenuItem* item = findItem(name);
    if (!item)
        return nullptr;
    return item->action->objectName() == name ? item->action : item->twin;
}

bool TForm1::isItemEnabled(const QString& name) const {
    const MenuItem* item = findItem(name);
    return item && item->enabled;
}

bool TForm1::isItemVisible(const QString& name) const {
    const QAction* action = item(name);
    return action && action->isVisible();
}

bool TForm1::itemAndParentsEnabled(const MenuItem* item) const {
    for (; item; item = item->parent) {
        if (!item->enabled)
            return false;
    }
    return true;
}

void TForm1::Invoke(const QString& name) {
    MenuItem* item = findItem(name);
    if (!item || !item->enabled)
        return;
    // Exit in the popup has a handler of its own, which does what N4Click does.
    if (name == QLatin1String("N8"))
        N8Click();
    else if (item->handler)
        item->handler();
}

// Qt flips a checkable item's mark before it says the item was chosen; the
// mark is the handler's to set, so it is put back first.
void TForm1::triggered(MenuItem* item, const QString& name) {
    setItemChecked(item->name, item->checked);
    InvokeGuarded(name);
}

void TForm1::InvokeGuarded(const QString& name) {
    forms::RunGuarded(seams_.reportError, [this, name] { Invoke(name); });
}

namespace {

// Each change applies to both twins, so the two menus never disagree.
template <typename Change>
void ForBothTwins(QAction* action, QAction* twin, Change change) {
    change(action);
    if (twin)
        change(twin);
}

}  // namespace

void TForm1::setItemCaption(const QString& name, const QString& caption) {
    MenuItem* item = findItem(name);
    // The main menu shows the key after a tab; the popup has no keys.
    const QString key = item->action->text().section(QLatin1Char('\t'), 1);
    item->action->setText(key.isEmpty() ? caption : caption + QLatin1Char('\t') + key);
    if (item->twin)
        item->twin->setText(caption);
}

void TForm1::setItemVisible(const QString& name, bool visible) {
    MenuItem* item = findItem(name);
    ForBothTwins(item->action, item->twin, [visible](QAction* a) { a->setVisible(visible); });
}

void TForm1::setItemEnabled(const QString& name, bool enabled) {
    MenuItem* item = findItem(name);
    item->enabled = enabled;
    ForBothTwins(item->action, item->twin, [enabled](QAction* a) { a->setEnabled(enabled); });
}

// Only a checked item is checkable: the style draws an empty tick box beside
// every checkable item that is not checked.
void TForm1::setItemChecked(const QString& name, bool checked) {
    MenuItem* item = findItem(name);
    item->checked = checked;
    ForBothTwins(item->action, item->twin, [checked](QAction* a) {
        a->setCheckable(checked);
        a->setChecked(checked);
    });
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
