// Building both menus from their tables, the twin pairs, invoking items and
// the keys the window owns.
#include "forms/main/menu_items.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "base/error.h"

namespace forms {

// A main-menu item and its popup twin, kept alike.
struct MenuItems::Item {
    QString name;
    QAction* action = nullptr;  // in the main menu
    QAction* twin = nullptr;    // in the popup, if it has one
    Item* parent = nullptr;
    QMenu* submenu = nullptr;
    bool enabled = true;
    bool checked = false;
};

namespace {

template <typename Rows>
bool IsParentIn(const Rows& rows, const char* name) {
    for (const auto& row : rows) {
        if (row.parent && qstrcmp(row.parent, name) == 0)
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

// Each change applies to both twins, so the two menus never disagree.
template <typename Change>
void ForBothTwins(QAction* action, QAction* twin, Change change) {
    change(action);
    if (twin)
        change(twin);
}

}  // namespace

MenuItems::MenuItems(QMainWindow* window, ActionRunner act)
    : window_(window), act_(std::move(act)) {}

MenuItems::~MenuItems() = default;

void MenuItems::build(std::span<const MainMenuRow> mainMenu,
                      std::span<const PopupMenuRow> popupMenu, MenuHandlers handlers) {
    handlers_ = std::move(handlers);
    const auto isParent = [&](const char* name) {
        return IsParentIn(mainMenu, name) || IsParentIn(popupMenu, name);
    };

    std::map<QString, QMenu*> menus;
    for (const MainMenuRow& row : mainMenu) {
        auto owned = std::make_unique<Item>();
        Item* item = owned.get();
        item->name = QString::fromLatin1(row.name);
        item->parent = row.parent ? &find(QString::fromLatin1(row.parent)) : nullptr;
        const QString caption = WithKey(row.caption, row.key);
        if (isParent(row.name)) {
            item->submenu = row.parent ? menus.at(QString::fromLatin1(row.parent))->addMenu(caption)
                                       : window_->menuBar()->addMenu(caption);
            item->submenu->setObjectName(item->name + QStringLiteral("Menu"));
            menus[item->name] = item->submenu;
            item->action = item->submenu->menuAction();
        } else {
            item->action = menus.at(QString::fromLatin1(row.parent))->addAction(caption);
            QObject::connect(item->action, &QAction::triggered, window_,
                             [this, item] { triggered(*item, item->name); });
        }
        item->action->setObjectName(item->name);
        byName_[item->name] = item;
        items_.push_back(std::move(owned));
    }
    window_->menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    popup_ = new QMenu(window_);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    std::map<QString, QMenu*> popupMenus;
    for (const PopupMenuRow& row : popupMenu) {
        QMenu* into = row.parent ? popupMenus.at(QString::fromLatin1(row.parent)) : popup_;
        const QString name = QString::fromLatin1(row.name);
        if (!row.twin) {
            into->addSeparator()->setObjectName(name);
            continue;
        }
        Item* item = &find(QString::fromLatin1(row.twin));
        // The popup has no keys: its captions stop before the tab.
        const QString caption =
            row.caption ? QString::fromUtf8(row.caption)
                        : (item->submenu ? item->submenu->title() : item->action->text())
                              .section(QLatin1Char('\t'), 0, 0);
        if (isParent(row.name)) {
            QMenu* submenu = into->addMenu(caption);
            submenu->setObjectName(name + QStringLiteral("Menu"));
            popupMenus[name] = submenu;
            item->twin = submenu->menuAction();
        } else {
            item->twin = into->addAction(caption);
            QObject::connect(item->twin, &QAction::triggered, window_,
                             [this, item, name] { triggered(*item, name); });
        }
        item->twin->setObjectName(name);
        byName_[name] = item;
    }

    for (const MainMenuRow& row : mainMenu) {
        const QString name = QString::fromLatin1(row.name);
        setEnabled(name, row.enabled);
        setVisible(name, row.visible);
        setChecked(name, row.checked);
    }
}

void MenuItems::bindKeys(std::span<const KeyRow> keys) {
    for (const KeyRow& key : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key.key), window_);
        shortcut->setObjectName(QStringLiteral("Shortcut") + QLatin1String(key.item));
        // The non-modal windows leave the keys working while one of them is
        // the active window, but not while a modal window waits.
        shortcut->setContext(key.mainWindowOnly ? Qt::WindowShortcut : Qt::ApplicationShortcut);
        Item* item = &find(QString::fromLatin1(key.item));
        QObject::connect(shortcut, &QShortcut::activated, window_, [this, item] {
            if (!QApplication::activeModalWidget() && enabledWithParents(item))
                invokeGuarded(item->name);
        });
    }
}

MenuItems::Item& MenuItems::find(const QString& name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end())
        throw base::Error("No menu item \"" + name.toStdString() + "\"");
    return *found->second;
}

QAction* MenuItems::action(const QString& name) const {
    const Item& item = find(name);
    return item.action->objectName() == name ? item.action : item.twin;
}

bool MenuItems::isEnabled(const QString& name) const {
    return find(name).enabled;
}

bool MenuItems::isVisible(const QString& name) const {
    return action(name)->isVisible();
}

bool MenuItems::enabledWithParents(const Item* item) {
    for (; item; item = item->parent) {
        if (!item->enabled)
            return false;
    }
    return true;
}

void MenuItems::invoke(const QString& name) {
    const Item& item = find(name);
    if (!item.enabled)
        return;
    // A popup item may have a handler of its own; else it runs its twin's.
    auto handler = handlers_.find(name);
    if (handler == handlers_.end())
        handler = handlers_.find(item.name);
    if (handler != handlers_.end())
        handler->second();
}

void MenuItems::invokeGuarded(const QString& name) {
    act_([this, name] { invoke(name); });
}

// Qt flips a checkable item's mark before it says the item was chosen; the
// mark is the handler's to set, so it is put back first.
void MenuItems::triggered(Item& item, const QString& name) {
    setChecked(item.name, item.checked);
    invokeGuarded(name);
}

void MenuItems::setCaption(const QString& name, const QString& caption) {
    Item& item = find(name);
    // The main menu shows the key after a tab; the popup has no keys.
    const QString key = item.action->text().section(QLatin1Char('\t'), 1);
    item.action->setText(key.isEmpty() ? caption : caption + QLatin1Char('\t') + key);
    if (item.twin)
        item.twin->setText(caption);
}

void MenuItems::setVisible(const QString& name, bool visible) {
    Item& item = find(name);
    ForBothTwins(item.action, item.twin, [visible](QAction* a) { a->setVisible(visible); });
}

void MenuItems::setEnabled(const QString& name, bool enabled) {
    Item& item = find(name);
    item.enabled = enabled;
    ForBothTwins(item.action, item.twin, [enabled](QAction* a) { a->setEnabled(enabled); });
}

// Only a checked item is checkable: the style draws an empty tick box beside
// every checkable item that is not checked.
void MenuItems::setChecked(const QString& name, bool checked) {
    Item& item = find(name);
    item.checked = checked;
    ForBothTwins(item.action, item.twin, [checked](QAction* a) {
        a->setCheckable(checked);
        a->setChecked(checked);
    });
}

}  // namespace forms
