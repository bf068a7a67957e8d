// The main window as built: controls, their places and start states, both
// menus, the invocation rule, the shortcut keys and the right-click popup.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QtMath>

#include <functional>
#include <vector>

#include "forms/kit/widgets.h"
#include "forms/main/information_windows.h"
#include "forms/main/notice_window.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void tableButtonsAndMarkers();
    void creationOrderIsStackingOrder();
    void startState();
    void menuItems_data();
    void menuItems();
    void twinsStayAlike();
    void invokingADisabledItemDoesNothing();
    void unknownItemsFailLoudly();
    void hiddenItemsStillRun();
    void shortcutsReachHiddenItems();
    void shortcutsNeedEnabledParents();
    void rightClickOpensThePopupEverywhere();
    void errorBoxShowsTheTextWithAFullStop();
    void noTextIsClipped();
    void shortcutsWorkBesideInformationWindowsButNotUnderAModal();
    void onlyTheCheckedViewItemHasAMark();

private:
    WorkingFolder folder_;
};

void MainWindowTest::geometry_data() {
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    auto row = [](const char* name, const char* parent, QRect rect) {
        QTest::newRow(name) << QString::fromLatin1(parent) << rect;
    };
    row("GroupBox2", "ClientArea", {172, 186, 492, 342});
    row("Image5", "GroupBox2", {452, 188, 36, 148});
    row("Image3", "GroupBox2", {7, 21, 36, 148});
    row("Image1", "GroupBox2", {46, 16, 402, 321});
    row("Memo1", "ClientArea", {172, 4, 492, 180});
    row("GroupBox3", "ClientArea", {4, 0, 161, 528});
    row("Image6", "GroupBox3", {4, 9, 153, 189});
    row("GroupBox1", "GroupBox3", {0, 200, 161, 259});
    row("SpeedButton65", "GroupBox1", {125, 146, 26, 22});
    row("SpeedButton66", "GroupBox1", {125, 146, 26, 22});
    row("SpeedButton67", "GroupBox1", {10, 147, 26, 22});
    row("SpeedButton68", "GroupBox1", {10, 147, 26, 22});
    row("SpeedButton69", "GroupBox1", {8, 54, 145, 23});
    row("Button4", "GroupBox1", {8, 80, 65, 25});
    row("Button5", "GroupBox1", {88, 80, 65, 25});
    row("Button6", "GroupBox1", {8, 224, 145, 25});
    row("ListBox2", "GroupBox1", {39, 116, 81, 95});
    row("Button1", "GroupBox1", {8, 80, 145, 25});
    row("Button2", "GroupBox1", {8, 80, 65, 25});
    row("Button3", "GroupBox1", {88, 80, 65, 25});
    row("Panel1", "GroupBox1", {2, 16, 157, 37});
    row("Image26", "Panel1", {8, 2, 41, 33});
    row("Image27", "Panel1", {8, 2, 41, 33});
    row("Image28", "Panel1", {56, 2, 37, 33});
    row("Image30", "Panel1", {56, 2, 37, 33});
    row("Image29", "Panel1", {100, 2, 41, 33});
    row("Image31", "Panel1", {100, 2, 41, 33});
    row("Image2", "GroupBox3", {1, 458, 159, 70});
}

void MainWindowTest::geometry() {
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    Harness h;
    QWidget* widget = h.find(QTest::currentDataTag());
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), rect);
}

void MainWindowTest::tableButtonsAndMarkers() {
    Harness h;
    const int lefts[8] = {137, 175, 215, 255, 294, 334, 374, 414};
    const int tops[8] = {88, 120, 152, 184, 215, 247, 279, 311};
    const int grid[8][8] = {
        {1, 10, 13, 25, 44, 6, 33, 12},   {43, 58, 49, 17, 28, 47, 31, 45},
        {14, 38, 30, 21, 50, 64, 56, 35}, {34, 54, 55, 51, 32, 40, 62, 16},
        {9, 61, 37, 42, 57, 59, 53, 20},  {5, 60, 63, 3, 48, 29, 39, 8},
        {26, 41, 22, 27, 18, 4, 52, 23},  {11, 19, 36, 24, 46, 7, 15, 2},
    };
    for (int i = 0; i < 64; ++i) {
        auto* button = h.find<QToolButton>(("SpeedButton" + QByteArray::number(i + 1)).constData());
        QVERIFY(button);
        QCOMPARE(button->geometry(), QRect(lefts[i % 8], tops[i / 8], 23, 17));
        QCOMPARE(button->text(), QString::number(grid[i / 8][i % 8]));
        QVERIFY(button->autoRaise());
        const QColor color = button->palette().color(QPalette::ButtonText);
        const int n = grid[i / 8][i % 8];
        const bool red = QList<int>{13, 19, 31, 40, 41, 45, 49, 59}.contains(n);
        const bool black = QList<int>{3, 29, 39, 44, 47}.contains(n);
        QCOMPARE(color, red ? QColor(Qt::red) : black ? QColor(Qt::black) : QColor(Qt::blue));
    }
    const char* rows[8] = {"Image4",  "Image11", "Image12", "Image13",
                           "Image14", "Image15", "Image16", "Image17"};
    const int columnLefts[8] = {127, 167, 206, 247, 287, 319, 367, 407};
    for (int k = 0; k < 8; ++k) {
        QCOMPARE(h.find(rows[k])->geometry(), QRect(87, 80 + 32 * k, 41, 33));
        const QByteArray column = "Image" + QByteArray::number(18 + k);
        QCOMPARE(h.find(column.constData())->geometry(),
                 QRect(columnLefts[k], 48, k == 5 ? 49 : 41, 33));
    }
}

void MainWindowTest::creationOrderIsStackingOrder() {
    Harness h;
    auto childNames = [&](const char* parent) {
        QStringList names;
        for (QObject* child : h.find(parent)->children()) {
            if (child->isWidgetType())
                names << child->objectName();
        }
        return names;
    };
    QCOMPARE(childNames("ClientArea"), (QStringList{"GroupBox2", "Memo1", "GroupBox3"}));
    QCOMPARE(childNames("GroupBox3"), (QStringList{"Image6", "GroupBox1", "Image2"}));
    QCOMPARE(childNames("GroupBox1"),
             (QStringList{"SpeedButton65", "SpeedButton66", "SpeedButton67", "SpeedButton68",
                          "SpeedButton69", "Button4", "Button5", "Button6", "ListBox2", "Button1",
                          "Button2", "Button3", "Panel1"}));
    QCOMPARE(childNames("Panel1"), (QStringList{"Image26", "Image27", "Image28", "Image30",
                                                "Image29", "Image31", "Label3", "Label4"}));
    const QStringList table = childNames("GroupBox2");
    QCOMPARE(table.mid(0, 4), (QStringList{"Image5", "Image3", "Image1", "SpeedButton1"}));
    QCOMPARE(table.indexOf("SpeedButton64"), 66);
    QCOMPARE(table.mid(67, 2), (QStringList{"Image4", "Image11"}));
    QCOMPARE(table.last(), QString("Image25"));
}

void MainWindowTest::startState() {
    Harness h;
    TForm1& form = *h.form;
    QCOMPARE(form.windowTitle(), QString("ТАЙНОВИД"));
    QCOMPARE(h.find("ClientArea")->size(), QSize(668, 532));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(form.size().width(), 668);

    for (const char* hidden : {"Button1", "Button4", "Button5", "SpeedButton65", "SpeedButton68",
                               "Image26", "Image27", "Image28", "Image29", "Image30", "Image31"})
        QVERIFY2(h.find(hidden)->isHidden(), hidden);
    for (const char* shown : {"Button2", "Button3", "Button6", "SpeedButton66", "SpeedButton67",
                              "SpeedButton69", "Label3", "Label4", "GroupBox2"})
        QVERIFY2(!h.find(shown)->isHidden(), shown);
    for (int k = 0; k < 8; ++k) {
        QVERIFY(h.find(("Image" + QByteArray::number(18 + k)).constData())->isHidden());
        QVERIFY(
            h.find(k ? ("Image" + QByteArray::number(10 + k)).constData() : "Image4")->isHidden());
    }

    QCOMPARE(h.find<QPlainTextEdit>("Memo1")->toPlainText(), QString("Здесь вы увидите ответ"));
    QVERIFY(h.find<QPlainTextEdit>("Memo1")->isReadOnly());
    QCOMPARE(h.find<QListWidget>("ListBox2")->count(), 0);
    QCOMPARE(h.find<QLabel>("Label4")->text(), QString("    Мысленно сформируйте "));
    QCOMPARE(h.find<QLabel>("Label3")->text(), QString("  интерисующий вас вопрос"));
    QCOMPARE(h.find<QLabel>("Label4")->pos(), QPoint(2, 6));
    QCOMPARE(h.find<QLabel>("Label3")->pos(), QPoint(2, 16));
    QCOMPARE(h.find<QGroupBox>("GroupBox1")->title(), QString("     ВАША ГЕКСАГРАММА     "));
    QCOMPARE(h.find<QGroupBox>("GroupBox2")->title(), QString("ТАБЛИЦА ГЕКСАГРАММ"));
    QCOMPARE(h.find<QPushButton>("Button2")->text(), QString("ОРЁЛ"));
    QCOMPARE(h.find<QPushButton>("Button5")->text(), QString("РЕШКА"));
    QCOMPARE(h.find<QPushButton>("Button1")->text(), QString("Генератор случайности"));
    QCOMPARE(h.find<QPushButton>("Button6")->text(), QString("Новая гексаграмма"));
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("обычный"));
    QCOMPARE(h.find("SpeedButton69")->toolTip(), QString("Обычный режим гадания"));
    QCOMPARE(h.find("SpeedButton65")->toolTip(), QString("Показать таблицу"));
    QCOMPARE(h.find("SpeedButton66")->toolTip(), QString("Скрыть таблицу"));
    QCOMPARE(h.find("SpeedButton67")->toolTip(), QString("Выключить звук"));
    QCOMPARE(h.find("SpeedButton68")->toolTip(), QString("Включить звук"));
    QCOMPARE(h.find("Button2")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(h.find("SpeedButton1")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(form.Edit10, QString("1"));
    QCOMPARE(form.Edit12, QString("0"));  // flat, as the defaults have it
    QVERIFY(h.errors.isEmpty());
}

void MainWindowTest::menuItems_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("checked");
    auto row = [](const char* name, const char* caption, const char* key, const char* parent,
                  bool enabled = true, bool visible = true, bool checked = false) {
        QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromLatin1(key)
                            << QString::fromLatin1(parent) << enabled << visible << checked;
    };
    row("N1", "ФАЙЛ", "", "");
    row("N4", "Выход", "F12", "N1");
    row("N2", "УСТАНОВКИ", "", "");
    row("N3", "Режим                  F1", "", "N2");
    row("N5", "автомат", "", "N3");
    row("N6", "полуавтомат", "", "N3");
    row("N14", "обычный", "", "N3", false);
    row("N7", "Кнопки", "", "N2");
    row("N13", "показать", "F5", "N7");
    row("N15", "Звук", "", "N2");
    row("N16", "отключить", "F4", "N15");
    row("N29", "Таблица гексаграмм", "", "N2");
    row("N30", "скрыть", "F3", "N29");
    row("N41", "Шрифт", "", "N2");
    row("N42", "Цвет", "", "N2");
    row("N43", "текста", "", "N42");
    row("N44", "текстовой области", "", "N42");
    row("N35", "Вид программы", "", "N2");
    row("N36", "Полный", "", "N35", true, true, true);
    row("N37", "Уменьшенный", "", "N35");
    row("N46", "очистка при смене режима", "", "N2", true, false);
    row("N34", "Режим", "F1", "N2", true, false);
    row("N12", "Сохранить", "", "N2", true, false);
    row("N17", "Загрузить", "", "N2", true, false);
    row("N9", "СПРАВКА", "", "");
    row("N10", "О гадалке", "", "N9");
    row("N11", "О программе", "", "N9");
    // The popup: same states as the twins, no keys.
    row("N18", "Режим", "", "popup");
    row("N19", "автомат", "", "N18");
    row("N20", "полуавтомат", "", "N18");
    row("N21", "обычный", "", "N18", false);
    row("N22", "Кнопки", "", "popup");
    row("N24", "показать", "", "N22");
    row("N25", "Звук", "", "popup");
    row("N26", "отключить", "", "N25");
    row("N31", "Таблица гексаграмм", "", "popup");
    row("N32", "скрыть", "", "N31");
    row("N23", "Шрифт", "", "popup");
    row("N27", "Цвет", "", "popup");
    row("N33", "текста", "", "N27");
    row("N45", "текстовой области", "", "N27");
    row("N38", "Вид программы", "", "popup");
    row("N39", "Полный", "", "N38", true, true, true);
    row("N40", "Уменьшенный", "", "N38");
    row("N8", "Выход", "", "popup");
    // Beyond the first menus: «ЖУРНАЛ», between «УСТАНОВКИ» and «СПРАВКА».
    row("printAction", "Печать…", "Ctrl+P", "N1");
    row("saveAsAction", "Сохранить как…", "Ctrl+S", "N1");
    row("journalMenu", "ЖУРНАЛ", "", "");
    row("questionAction", "Вопрос…", "Ctrl+E", "journalMenu");
    row("interpretationAction", "Толкование", "Ctrl+T", "journalMenu");
    row("ownThrowAction", "Свой бросок…", "Ctrl+B", "journalMenu");
    row("yarrowAction", "Стебли тысячелистника…", "Ctrl+Y", "journalMenu");
    row("journalAction", "Журнал гаданий", "Ctrl+J", "journalMenu");
    row("statisticsAction", "Статистика", "Ctrl+K", "journalMenu");
    row("popupQuestionAction", "Вопрос…", "", "popup");
    row("popupInterpretationAction", "Толкование", "", "popup");
    row("popupOwnThrowAction", "Свой бросок…", "", "popup");
    row("popupYarrowAction", "Стебли тысячелистника…", "", "popup");
    row("popupJournalAction", "Журнал гаданий", "", "popup");
}

void MainWindowTest::menuItems() {
    QFETCH(QString, caption);
    QFETCH(QString, key);
    QFETCH(QString, parent);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QFETCH(bool, checked);
    Harness h;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QAction* action = h.form->item(name);
    QVERIFY(action);
    QCOMPARE(action->objectName(), name);
    QCOMPARE(action->text().section('\t', 0, 0), caption);
    QCOMPARE(action->text().section('\t', 1), key);
    QVERIFY(action->shortcut().isEmpty());
    QCOMPARE(h.form->isItemEnabled(name), enabled);
    QCOMPARE(action->isVisible(), visible);
    QCOMPARE(action->isChecked(), checked);
    // Where the item stands: in the submenu of its parent item.
    bool found = false;
    for (QObject* holder : action->associatedObjects()) {
        if (parent.isEmpty())
            found |= holder == h.form->menuBar();
        else if (parent == "popup")
            found |= holder == h.form->popupMenu();
        else if (auto* menu = qobject_cast<QMenu*>(holder))
            found |= menu->menuAction() == h.form->item(parent);
    }
    QVERIFY2(found, qPrintable(name + " is not under " + parent));
}

void MainWindowTest::twinsStayAlike() {
    Harness h;
    TForm1& form = *h.form;
    form.Invoke(forms::kAutomaticItem);  // automatic mode
    QCOMPARE(form.isItemEnabled(forms::kAutomaticItem), false);
    QCOMPARE(form.isItemEnabled("N19"), false);
    QCOMPARE(form.isItemEnabled(forms::kNormalItem), true);
    QCOMPARE(form.isItemEnabled("N21"), true);
    QVERIFY(!form.item("N19")->isEnabled());
    form.Invoke("N26");  // sound off, through the popup twin
    QCOMPARE(form.item(forms::kSoundItem)->text(), QString("включить\tF4"));
    QCOMPARE(form.item("N26")->text(), QString("включить"));
    form.Invoke("N32");  // table hidden
    QCOMPARE(form.item(forms::kTableItem)->text(), QString("показать\tF3"));
    QCOMPARE(form.item("N32")->text(), QString("показать"));
    QVERIFY(!form.item(forms::kButtonsMenu)->isVisible());
    QVERIFY(!form.item("N22")->isVisible());
}

void MainWindowTest::invokingADisabledItemDoesNothing() {
    Harness h;
    TForm1& form = *h.form;
    QTest::mouseClick(h.find<QPushButton>("Button2"), Qt::LeftButton);
    form.Invoke(forms::kNormalItem);  // the mode in force: no clearing
    QCOMPARE(h.find<QListWidget>("ListBox2")->count(), 1);
    QCOMPARE(form.settingsValues().CastMode, 3.0);
    form.Invoke("N21");
    QCOMPARE(h.find<QListWidget>("ListBox2")->count(), 1);
}

// A name that is no item fails loudly and names itself, in code and from a
// guarded entry point alike; it never reaches a null item.
void MainWindowTest::unknownItemsFailLoudly() {
    Harness h;
    TForm1& form = *h.form;
    for (const auto& use : std::vector<std::function<void()>>{
             [&] { form.Invoke("N99"); },
             [&] { form.item("N99"); },
             [&] { form.isItemEnabled("N99"); },
         }) {
        try {
            use();
            QFAIL("no error for an unknown item");
        } catch (const std::exception& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString("No menu item \"N99\""));
        }
    }
    form.InvokeGuarded("N99");
    QCOMPARE(h.errors, QStringList{"No menu item \"N99\""});
}

void MainWindowTest::hiddenItemsStillRun() {
    Harness h;
    QTest::mouseClick(h.find<QPushButton>("Button3"), Qt::LeftButton);
    QVERIFY(!h.form->item(forms::kClearOnModeChangeItem)->isVisible());
    h.form->Invoke(forms::kClearOnModeChangeItem);
    QCOMPARE(h.find<QListWidget>("ListBox2")->count(), 0);
    QVERIFY(h.player.played.empty());  // clearing by mode change makes no sound
    h.form->Invoke(forms::kNextModeItem);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("автомат"));
}

void MainWindowTest::shortcutsReachHiddenItems() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    auto* mode = h.find<QToolButton>("SpeedButton69");
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QCOMPARE(mode->text(), QString("автомат"));
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QCOMPARE(mode->text(), QString("полуавтомат"));
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QCOMPARE(mode->text(), QString("автомат"));

    // F3 hides the table, and with it "Кнопки"; F5 still reaches N13.
    QTest::keyClick(h.form.get(), Qt::Key_F3);
    QVERIFY(!h.form->item(forms::kButtonsMenu)->isVisible());
    QCOMPARE(h.form->Edit12, QString("0"));
    QTest::keyClick(h.form.get(), Qt::Key_F5);
    QCOMPARE(h.form->Edit12, QString("1"));
    QVERIFY(!h.find<QToolButton>("SpeedButton1")->autoRaise());
    QTest::keyClick(h.form.get(), Qt::Key_F5);
    QVERIFY(h.find<QToolButton>("SpeedButton1")->autoRaise());

    QTest::keyClick(h.form.get(), Qt::Key_F4);
    QCOMPARE(h.form->Edit10, QString("0"));
    QVERIFY(h.form->isVisible());
    QTest::keyClick(h.form.get(), Qt::Key_F12);
    QVERIFY(!h.form->isVisible());
}

void MainWindowTest::shortcutsNeedEnabledParents() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    // F1 goes through the hidden N34 to the enabled N5; after the cycle has
    // reached the normal mode, its own item is the disabled one.
    h.form->Invoke(forms::kNormalItem);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("обычный"));
    h.form->Invoke(forms::kSemiAutomaticItem);
    h.form->Invoke(forms::kNormalItem);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("обычный"));
    QCOMPARE(h.form->isItemEnabled(forms::kNormalItem), false);
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("автомат"));
}

void MainWindowTest::rightClickOpensThePopupEverywhere() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    QMenu* popup = h.form->popupMenu();
    auto rightClick = [&](QWidget* widget, QPoint at) {
        QTest::mouseClick(widget, Qt::RightButton, {}, at);
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->pos(), widget->mapToGlobal(at));
        popup->hide();
    };
    rightClick(h.find("ClientArea"), {168, 190});
    rightClick(h.find<QPlainTextEdit>("Memo1")->viewport(), {20, 20});
    rightClick(h.find<QListWidget>("ListBox2")->viewport(), {5, 5});
    rightClick(h.find("Button2"), {5, 5});
    rightClick(h.find("SpeedButton12"), {3, 3});
    rightClick(h.find("SpeedButton69"), {3, 3});
    rightClick(h.find("Image1"), {3, 3});
    rightClick(h.find("Label4"), {3, 3});
    rightClick(h.find("GroupBox3"), {3, 100});

    QTest::mouseClick(h.find("ClientArea"), Qt::LeftButton, {}, {168, 190});
    QTest::qWait(20);
    QVERIFY(!popup->isVisible());
}

void MainWindowTest::errorBoxShowsTheTextWithAFullStop() {
    QString caption, text;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    // Answers the box as soon as it is up.
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->buttons().size();
        box->accept();
    });
    answer.start();
    forms::ShowErrorBox("Cannot open file \"/x/Text/Text12.dat\". No such file or directory");
    QCOMPARE(caption, QString("ТАЙНОВИД"));
    QCOMPARE(text, QString("Cannot open file \"/x/Text/Text12.dat\". No such file or directory."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
}

// Every caption and text of every window fits its box, in the fonts the
// set-up installs, with the room the style draws around it.
void MainWindowTest::noTextIsClipped() {
    forms::InstallFontSubstitutes();
    Harness h;
    TForm2 form2([](const QString&) {});
    TForm3 form3;
    TForm4 form4;
    for (QWidget* window : std::initializer_list<QWidget*>{h.form.get(), &form2, &form3, &form4})
        window->show();
    QVERIFY(QTest::qWaitForWindowExposed(&form4));
    QStringList clipped;
    auto check = [&](const QWidget* widget, const QString& text, int room, int needed) {
        if (needed > room)
            clipped << QStringLiteral("%1 \"%2\": %3 px in %4")
                           .arg(widget->objectName(), text)
                           .arg(needed)
                           .arg(room);
    };
    for (QWidget* window : std::initializer_list<QWidget*>{h.form.get(), &form2, &form3, &form4}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
            check(label, label->text(), label->contentsRect().width(), width);
            // Nor may the label run into the frame of what holds it.
            const QRect inside = label->parentWidget()->contentsRect();
            check(label, label->text(), inside.right() - label->x(), width);
        }
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (button->text().isEmpty())
                continue;
            const int bevel =
                button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            check(button, button->text(), button->width() - 2 * bevel,
                  QFontMetrics(button->font()).horizontalAdvance(button->text()));
        }
        // Text areas without scroll bars show their whole text.
        for (const QTextEdit* memo : window->findChildren<QTextEdit*>()) {
            if (memo->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
                continue;
            const QSizeF text = memo->document()->size();
            check(memo, memo->toPlainText(), memo->viewport()->height(), qCeil(text.height()));
            check(memo, memo->toPlainText(), memo->viewport()->width(),
                  qCeil(memo->document()->idealWidth()));
        }
        for (const QGroupBox* group : window->findChildren<QGroupBox*>()) {
            if (!group->title().isEmpty())
                check(group, group->title(), group->width(),
                      QFontMetrics(group->font()).horizontalAdvance(group->title()));
        }
    }
    // The glyphs, with the margins the style draws item texts with.
    auto* list = h.find<QListWidget>("ListBox2");
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (const char* glyph : {"___________", "____      ____"})
        check(list, glyph, list->viewport()->width(),
              QFontMetrics(list->font()).horizontalAdvance(glyph) + 2 * margin);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
}

void MainWindowTest::shortcutsWorkBesideInformationWindowsButNotUnderAModal() {
    Harness h;
    TForm2 form2([](const QString&) {});
    TForm3 form3;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    const double& table = h.form->settingsValues().TableState;
    for (QWidget* window : std::initializer_list<QWidget*>{&form2, &form3}) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        const double before = table;
        QTest::keyClick(window, Qt::Key_F3);
        QCOMPARE(table, before == 2 ? 1.0 : 2.0);
    }

    QDialog modal(&form3);
    double during = 0;
    bool visibleDuring = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(&modal, Qt::Key_F3);
        QTest::keyClick(&modal, Qt::Key_F12);
        during = table;
        visibleDuring = h.form->isVisible();
        modal.accept();
    });
    const double before = table;
    modal.exec();
    QCOMPARE(during, before);
    QVERIFY(visibleDuring);

    form3.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form3));
    QTest::keyClick(&form3, Qt::Key_F12);
    QVERIFY(!h.form->isVisible());
}

void MainWindowTest::onlyTheCheckedViewItemHasAMark() {
    Harness h;
    auto marks = [&] {
        QStringList marked;
        for (const char* name : {"N36", "N37", "N39", "N40"}) {
            // A mark, or an empty tick box, is drawn for every checkable item.
            const QAction* action = h.form->item(name);
            if (action->isCheckable())
                marked << QString::fromLatin1(name) + (action->isChecked() ? "" : "?");
        }
        return marked.join(' ');
    };
    QCOMPARE(marks(), QString("N36 N39"));
    h.form->item("N40")->trigger();
    QCOMPARE(marks(), QString("N37 N40"));
    h.form->item(forms::kReducedViewItem)->trigger();  // choosing the view in force keeps its mark
    QCOMPARE(marks(), QString("N37 N40"));
    h.form->item(forms::kFullViewItem)->trigger();
    QCOMPARE(marks(), QString("N36 N39"));
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
