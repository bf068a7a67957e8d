// The menu machinery: both menus built from tables, each main-menu item kept
// alike with its popup twin, invoking items by name, and the keys.
//
// Qt disables a hidden action, and every action inside a hidden or disabled
// submenu, also for its shortcut; yet some keys must reach items that are
// never shown. So each item keeps its own enabled flag, the menus show a key
// only as text after a tab, and the window owns the keys itself (one
// QShortcut each, never hidden).
#pragma once

#include <QKeyCombination>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "forms/kit/error_report.h"

class QAction;
class QMainWindow;
class QMenu;

namespace forms {

struct MainMenuRow {
    const char* name;
    const char* parent;  // nullptr: on the menu bar
    const char* caption;
    const char* key;  // shown after a tab; the window owns the key
    bool enabled, visible, checked;
};

struct PopupMenuRow {
    const char* name;
    const char* parent;  // nullptr: at the popup's top level
    const char* twin;  // the main-menu item whose state and handler it shares; nullptr: a separator
    const char* caption;  // nullptr: the twin's, without its key
};

struct KeyRow {
    QKeyCombination key;
    const char* item;
    // Most keys work beside the non-modal windows too; a key that another
    // window has for itself works only in the main window.
    bool mainWindowOnly = false;
};

// By item name; a popup item's own entry overrides its twin's handler.
using MenuHandlers = std::map<QString, std::function<void()>>;

class MenuItems {
public:
    MenuItems(QMainWindow* window, ActionRunner act);
    ~MenuItems();

    // A name that is some row's parent becomes a submenu.
    void build(std::span<const MainMenuRow> mainMenu, std::span<const PopupMenuRow> popupMenu,
               MenuHandlers handlers);
    // Each key invokes its item while no modal window waits and the item and
    // all its parents are enabled.
    void bindKeys(std::span<const KeyRow> keys);

    QMenu* popup() const { return popup_; }

    // Every lookup of a name that is no item throws an error naming it.
    QAction* action(const QString& name) const;
    bool isEnabled(const QString& name) const;
    bool isVisible(const QString& name) const;

    // Runs the item's handler only while the item is enabled, visible or
    // not; errors travel to the caller.
    void invoke(const QString& name);
    // The same inside the standard error report: what a click or key runs.
    void invokeGuarded(const QString& name);

    void setCaption(const QString& name, const QString& caption);
    void setVisible(const QString& name, bool visible);
    void setEnabled(const QString& name, bool enabled);
    void setChecked(const QString& name, bool checked);

private:
    struct Item;
    Item& find(const QString& name) const;
    static bool enabledWithParents(const Item* item);
    void triggered(Item& item, const QString& name);

    QMainWindow* window_;
    ActionRunner act_;
    QMenu* popup_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
    std::map<QString, Item*> byName_;  // both twins of a pair
    MenuHandlers handlers_;
};

}  // namespace forms
