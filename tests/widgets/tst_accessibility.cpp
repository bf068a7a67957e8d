// What a screen reader finds in the windows: every button, picture, list,
// list row and text area has a name, and the names follow what is shown.
#include <QAccessible>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "forms/main/information_windows.h"
#include "forms/main/notice_window.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

// Buttons, pictures, lists and their rows, texts and windows.
const QList<QAccessible::Role> kNamed = {
    QAccessible::PushButton, QAccessible::ButtonMenu, QAccessible::Graphic,
    QAccessible::List,       QAccessible::ListItem,   QAccessible::EditableText,
    QAccessible::StaticText, QAccessible::Dialog,     QAccessible::Window};

// The controls from node down, hidden ones too, that a screen reader could
// not name; `seen` counts all that need a name.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed, int& seen) {
    if (kNamed.contains(node->role())) {
        ++seen;
        if (node->text(QAccessible::Name).trimmed().isEmpty()) {
            const QObject* object = node->object();
            unnamed << (object && !object->objectName().isEmpty() ? object->objectName()
                                                                  : QString::number(node->role()));
        }
    }
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            CollectUnnamed(child, unnamed, seen);
}

QStringList Unnamed(QWidget* window, int atLeast) {
    QStringList unnamed;
    int seen = 0;
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed, seen);
    if (seen < atLeast)
        unnamed << QStringLiteral("only %1 controls found").arg(seen);
    return unnamed;
}

QAccessibleInterface* Reader(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString NameOf(QObject* object) {
    return Reader(object)->text(QAccessible::Name);
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasAName();
    void namesFollowTheState();

private:
    WorkingFolder folder_;
};

void AccessibilityTest::everyControlHasAName() {
    Harness h;
    // Three lines so that the list has rows and a marker is lit.
    for (const char* button : {"Button3", "Button2", "Button3"})
        QTest::mouseClick(h.find(button), Qt::LeftButton);
    // 64 + 5 speed buttons, 6 buttons, 22 pictures, the list and its rows…
    QCOMPARE(Unnamed(h.form.get(), 100), QStringList());

    TForm2 form2([](const QString&) {});
    TForm3 form3;
    TForm4 form4;
    for (QWidget* window : std::initializer_list<QWidget*>{&form2, &form3, &form4})
        QCOMPARE(Unnamed(window, 3), QStringList());
    QCOMPARE(NameOf(&form4), QString("Обратите внимание"));
    QCOMPARE(NameOf(form3.findChild<QWidget*>("Image1")), QString("ТАЙНОВИД"));

    QCOMPARE(NameOf(h.find("SpeedButton2")), QString("Гексаграмма 10"));
    QCOMPARE(NameOf(h.find("SpeedButton64")), QString("Гексаграмма 2"));
    QCOMPARE(NameOf(h.find("Image28")), QString("Монета 2: орёл"));
    QCOMPARE(NameOf(h.find("Image30")), QString("Монета 2: решка"));
    QCOMPARE(NameOf(h.find("SpeedButton66")), QString("Скрыть таблицу"));
    QCOMPARE(NameOf(h.find("SpeedButton67")), QString("Выключить звук"));
}

void AccessibilityTest::namesFollowTheState() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    auto* list = h.find<QListWidget>("ListBox2");
    QCOMPARE(NameOf(list), QString("Черты гексаграммы"));
    QWidget* marker = h.find("Image23");  // column marker of trigram 6
    QVERIFY(Reader(marker)->state().invisible);

    // Broken, solid, broken: trigram 6 over the table, one row per line.
    for (const char* button : {"Button3", "Button2", "Button3"})
        QTest::mouseClick(h.find(button), Qt::LeftButton);
    QAccessibleInterface* rows = Reader(list);
    QStringList spoken;
    for (int i = 0; i < rows->childCount(); ++i)
        spoken << rows->child(i)->text(QAccessible::Name);
    QCOMPARE(spoken,
             (QStringList{"Черта 1: прерывистая", "Черта 2: сплошная", "Черта 3: прерывистая"}));
    QVERIFY(!Reader(marker)->state().invisible);
    QCOMPARE(NameOf(marker), QString("Отмечен столбец 6 (Верх)"));
    QCOMPARE(Reader(marker)->text(QAccessible::Description),
             QString("триграмма 6: прерывистая, сплошная, прерывистая"));

    // The mode button says the mode it now shows.
    QWidget* mode = h.find("SpeedButton69");
    QCOMPARE(NameOf(mode), QString("Режим гадания: обычный"));
    h.form->Invoke(forms::kNextModeItem);
    QCOMPARE(NameOf(mode), QString("Режим гадания: автомат"));
    QCOMPARE(Reader(mode)->text(QAccessible::Description), QString("Автоматический режим гадания"));
    QVERIFY(Reader(marker)->state().invisible);  // the mode change cleared the cast

    // Hiding the table brings up the button that shows it, named by its hint.
    h.form->Invoke(forms::kTableItem);
    QVERIFY(!Reader(h.find("SpeedButton65"))->state().invisible);
    QCOMPARE(NameOf(h.find("SpeedButton65")), QString("Показать таблицу"));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
