// The journal window over a journal in memory, every dialog answered by the
// test: the list and its pages, search and filter, editing in place, and
// the commands that delete.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "journal_window_fixture.h"

using namespace journal_window_test;

class JournalWindowTest : public QObject {
    Q_OBJECT

private slots:
    void listShowsNewestFirstAndOpensByKey();
    void searchNarrowsAsYouType_data();
    void searchNarrowsAsYouType();
    void editingInPlaceReachesTheJournal();
    void deletingAsksFirst_data();
    void deletingAsksFirst();
    void journalCommandsReachTheJournal();
    void listFetchesInPages();
    void unavailableJournalShowsAnEmptyList();

private:
    WorkingFolder folder_;
};

void JournalWindowTest::listShowsNewestFirstAndOpensByKey() {
    Fixture f;
    RecordThree(f.journal);
    f.open();
    QCOMPARE(f.window->windowTitle(), QString("Журнал гаданий"));
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 3"));
    QCOMPARE(f.questions(),
             QStringList({"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"}));
    QCOMPARE(f.cell(0, 0), QString("8 декабря 2026, 21:14"));
    QCOMPARE(f.cell(0, 2), QString("3. Начальная трудность → 8. Приближение"));
    QCOMPARE(f.cell(2, 2), QString("1. Творчество"));
    QCOMPARE(f.window->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QString("Когда"));
    // Every control a screen reader meets has a Russian name.
    QStringList unnamed;
    const QList<QWidget*> controls = f.window->findChildren<QWidget*>();
    for (QWidget* control : controls)
        if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(f.window.get()) &&
            control->accessibleName().isEmpty() && !control->objectName().startsWith("qt_"))
            unnamed << control->objectName() + ":" + control->metaObject()->className();
    QCOMPARE(unnamed, QStringList());

    // Return on the list opens the current entry; Ctrl+R shows its reading.
    f.list()->setFocus();
    f.select({1});
    QTest::keyClick(f.list(), Qt::Key_Return);
    QTest::keyClick(f.list(), Qt::Key_R, Qt::ControlModifier);
    // Of several selected, the current one opens.
    f.select({0, 1});
    QTest::keyClick(f.list(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(f.opened, std::vector<std::int64_t>({2, 3}));
    QCOMPARE(f.readings, std::vector<int>{63});

    // A new cast shows at the top after refresh; the selection stays.
    f.journal.Record(Cast("2026-12-09T08:00:00+03:00", "888888", "Новое"));
    f.window->refresh();
    QCOMPARE(f.questions().first(), QString("Новое"));
    QList<int> selected;
    for (const QModelIndex& index : f.list()->selectionModel()->selectedRows())
        selected << index.row();
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, QList<int>({1, 2}));
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 4"));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::searchNarrowsAsYouType_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("hexagram");  // the filter's index: 0 for all
    QTest::addColumn<QStringList>("shown");
    const QStringList trees{"Ёлка во дворе", "Елка в лесу"};
    QTest::newRow("ё typed") << "ёлк" << 0 << trees;
    QTest::newRow("е typed, other case") << "ЕЛК" << 0 << trees;
    QTest::newRow("the note") << "осень" << 0 << QStringList{"Ёлка во дворе"};
    QTest::newRow("second hexagram's name") << "прибл" << 0 << QStringList{"Стоит ли начинать?"};
    QTest::newRow("every word needed") << "новый дом" << 0 << QStringList{"Переезд в новый дом"};
    QTest::newRow("one word missing") << "новый сад" << 0 << QStringList{};
    QTest::newRow("filter alone") << "" << 3 << QStringList{"Стоит ли начинать?"};
    QTest::newRow("filter and search") << "ёлка" << 1 << QStringList{"Ёлка во дворе"};
    QTest::newRow("filter, search elsewhere") << "ёлка" << 3 << QStringList{};
}

void JournalWindowTest::searchNarrowsAsYouType() {
    QFETCH(QString, typed);
    QFETCH(int, hexagram);
    QFETCH(QStringList, shown);
    Fixture f;
    RecordThree(f.journal);
    f.journal.Record(Cast("2026-12-01T12:00:00+03:00", "787878", "Елка в лесу"));
    f.open();
    auto* filter = f.find<QComboBox>("JournalFilter");
    QCOMPARE(filter->count(), 65);
    QCOMPARE(filter->itemText(0), QString("Все гексаграммы"));
    QCOMPARE(filter->itemText(3), QString("3. Начальная трудность"));
    filter->setCurrentIndex(hexagram);
    Type(f.find<QLineEdit>("JournalSearch"), typed);
    // Results come after the typing pause, by themselves.
    QTRY_COMPARE(f.questions(), shown);
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: %1").arg(shown.size()));
}

void JournalWindowTest::editingInPlaceReachesTheJournal() {
    Fixture f;
    RecordThree(f.journal);
    f.open();
    auto* question = f.find<QLineEdit>("JournalQuestion");
    auto* note = f.find<QPlainTextEdit>("JournalNote");
    QVERIFY(!question->isEnabled());
    f.select({2});
    QCOMPARE(question->text(), QString("Ёлка во дворе"));
    QCOMPARE(note->toPlainText(), QString("посадили осенью"));

    question->setFocus();
    question->selectAll();
    Type(question, "Ёлка у дома");
    QTest::keyClick(question, Qt::Key_Return);
    QCOMPARE(f.journal.Find(1)->question, std::string("Ёлка у дома"));
    QCOMPARE(f.cell(2, 1), QString("Ёлка у дома"));
    QVERIFY(f.opened.empty());  // Return in the field ends the edit, nothing more

    // The note is written when focus leaves it, and when another entry is
    // chosen while it still has focus.
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    Type(note, ", весной цвела");
    f.list()->setFocus();
    QCOMPARE(f.journal.Find(1)->note, std::string("посадили осенью, весной цвела"));
    note->setFocus();
    note->moveCursor(QTextCursor::End);
    Type(note, "!");
    f.select({0});
    QCOMPARE(f.journal.Find(1)->note, std::string("посадили осенью, весной цвела!"));
    QCOMPARE(note->toPlainText(), QString());
    QCOMPARE(question->text(), QString("Стоит ли начинать?"));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::deletingAsksFirst_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    const QString two = "Удалить выбранные записи (2)?";
    const QString all = "Удалить все записи журнала? Это действие нельзя отменить.";
    const QStringList three{"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"};
    QTest::newRow("delete, no") << "JournalDelete" << false << two << three;
    QTest::newRow("delete, yes") << "JournalDelete" << true << two
                                 << QStringList{"Переезд в новый дом"};
    QTest::newRow("clear, no") << "JournalClear" << false << all << three;
    QTest::newRow("clear, yes") << "JournalClear" << true << all << QStringList{};
}

void JournalWindowTest::deletingAsksFirst() {
    QFETCH(QString, command);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    Fixture f;
    RecordThree(f.journal);
    f.open();
    f.select({0, 2});
    f.answers = {answer};
    if (command == "JournalDelete") {
        f.list()->setFocus();
        QTest::keyClick(f.list(), Qt::Key_Delete);
    } else {
        f.window->command("JournalClear")->trigger();
    }
    QCOMPARE(f.asked, QStringList{question});
    QCOMPARE(f.questions(), left);
    QCOMPARE(f.journal.Count({}), left.size());
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: %1").arg(left.size()));
    QVERIFY(f.errors.isEmpty());
}

void JournalWindowTest::journalCommandsReachTheJournal() {
    Fixture f;
    RecordThree(f.journal);
    f.journal.SetRecording(false);
    f.open();
    auto* recording = f.find<QCheckBox>("JournalRecording");
    QVERIFY(!recording->isChecked());
    QTest::mouseClick(recording, Qt::LeftButton);
    QVERIFY(f.journal.Recording());

    // A copy, the journal cleared, the copy merged back.
    const QString copy = folder_.absolute("copy.db");
    QFile::remove(copy);
    f.files = {copy, copy, copy};
    f.answers = {true};
    f.window->command("JournalBackup")->trigger();
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(),
             "Записей: 3. Копия журнала сохранена в \"" + copy + "\"");
    f.window->command("JournalClear")->trigger();
    QCOMPARE(f.window->model()->rowCount(), 0);
    f.window->command("JournalRestore")->trigger();
    QCOMPARE(f.informed, QStringList{"Добавлено записей: 3"});
    QCOMPARE(f.questions(),
             QStringList({"Стоит ли начинать?", "Переезд в новый дом", "Ёлка во дворе"}));
    f.window->command("JournalRestore")->trigger();  // nothing new the second time
    QCOMPARE(f.informed.last(), QString("Добавлено записей: 0"));

    // The library's own message for a copy that can't be read.
    f.files = {folder_.absolute("no-such.db")};
    f.window->command("JournalRestore")->trigger();
    QCOMPARE(f.errors.size(), 1);
    QVERIFY2(f.errors[0].contains("\"" + folder_.absolute("no-such.db") + "\""),
             qPrintable(f.errors[0]));
    QCOMPARE(f.informed.size(), 2);
}

void JournalWindowTest::listFetchesInPages() {
    Fixture f;
    // 500 casts a minute apart, in an order the ids do not follow.
    for (int i = 0; i < 500; ++i) {
        const int minute = (i * 7) % 500;
        f.journal.Record(Cast(QString("2026-01-%1T%2:%3:00+03:00")
                                  .arg(1 + minute / 60 / 24, 2, 10, QChar('0'))
                                  .arg(minute / 60 % 24, 2, 10, QChar('0'))
                                  .arg(minute % 60, 2, 10, QChar('0'))
                                  .toStdString(),
                              "777777", std::to_string(minute)));
    }
    f.open();
    forms::JournalModel* model = f.window->model();
    QCOMPARE(model->rowCount(), 100);
    QCOMPARE(f.find<QLabel>("JournalStatus")->text(), QString("Записей: 500"));
    // Scrolling to the end brings the next page, not the rest.
    f.list()->scrollToBottom();
    QTRY_COMPARE(model->rowCount(), 200);
    while (model->canFetchMore({}))
        model->fetchMore({});
    QCOMPARE(model->rowCount(), 500);
    for (int row = 0; row < 500; ++row)
        QCOMPARE(f.cell(row, 1), QString::number(499 - row));
}

void JournalWindowTest::unavailableJournalShowsAnEmptyList() {
    forms::JournalWindow::Seams seams;
    QStringList errors;
    seams.reportError = [&](const QString& text) { errors << text; };
    int asked = 0;
    seams.journal = [&]() -> journal::Journal* {
        ++asked;
        return nullptr;
    };
    forms::JournalWindow window(seams);
    QCOMPARE(asked, 0);  // nothing opened before the window is shown
    window.show();
    QCOMPARE(asked, 1);
    QCOMPARE(window.model()->rowCount(), 0);
    QCOMPARE(window.findChild<QLabel*>("JournalStatus")->text(), QString("Журнал недоступен"));
    for (const char* name : {"JournalExport", "JournalPrint", "JournalClear", "JournalRestore"})
        QVERIFY2(!window.command(name)->isEnabled(), name);
    QVERIFY(!window.findChild<QCheckBox*>("JournalRecording")->isEnabled());
    window.refresh();  // asked again: it may be had now
    QCOMPARE(asked, 2);
    QVERIFY(errors.isEmpty());
}

QTEST_MAIN(JournalWindowTest)
#include "tst_journal_window.moc"
