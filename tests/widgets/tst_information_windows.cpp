// The notice window and the two information windows, and how the main
// window opens them.
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "forms/main/information_windows.h"
#include "forms/main/notice_window.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

class InformationWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void noticeOpensAtItsPlaceAndKeepsTypedText();
    void noticeClosesByItsButtonOrCloseBox();
    void introductionIsLoadedAtCreation();
    void missingIntroductionIsReportedAndNotShown();
    void aboutWindowShowsItsLinesAndPicture();
    void informationWindowsAreCentredOnceThenKeepTheirPlace();

private:
    WorkingFolder folder_;
};

void InformationWindowsTest::noticeOpensAtItsPlaceAndKeepsTypedText() {
    TForm4 notice;
    QCOMPARE(notice.windowTitle(), QString("Обратите внимание!!!"));
    QCOMPARE(notice.size(), QSize(386, 102));
    QCOMPARE(notice.pos(), QPoint(305, 222));
    QCOMPARE(notice.memo()->toPlainText(), QString("\nВАША ГЕКСАГРАММА ГОТОВА !!!"));
    QVERIFY(!notice.memo()->isReadOnly());
    QCOMPARE(notice.memo()->alignment(), Qt::AlignHCenter);
    QCOMPARE(notice.findChild<QPushButton*>("Button1")->geometry(), QRect(72, 76, 249, 24));

    // The answers never return early, so the modal showing always ends.
    bool wasVisible = false;
    QWidget* focused = nullptr;
    QTimer::singleShot(0, [&] {
        wasVisible = notice.isVisible();
        focused = notice.focusWidget();
        QTest::keyClicks(notice.memo(), "ok");
        notice.findChild<QPushButton*>("Button1")->click();
    });
    notice.exec();
    QVERIFY(wasVisible);
    QCOMPARE(focused, notice.memo());
    QVERIFY(notice.memo()->toPlainText().endsWith("ok"));
    notice.move(100, 120);
    QPoint placeWhenShown;
    QTimer::singleShot(0, [&] {
        placeWhenShown = notice.pos();
        notice.findChild<QPushButton*>("Button1")->click();
    });
    notice.exec();
    QCOMPARE(placeWhenShown, QPoint(100, 120));
    QVERIFY(notice.memo()->toPlainText().endsWith("ok"));
}

void InformationWindowsTest::noticeClosesByItsButtonOrCloseBox() {
    TForm4 notice;
    QTimer::singleShot(0, [&] { notice.close(); });
    notice.exec();  // returns: the close box ends the modal showing as "Спасибо" does
    QVERIFY(!notice.isVisible());
    QVERIFY(notice.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(notice.windowFlags() & Qt::WindowMinimizeButtonHint));
}

void InformationWindowsTest::introductionIsLoadedAtCreation() {
    folder_.write("Text/Text65.dat", "\xC3\xE0\xE4\xE0\xEB\xEA\xE0\r\n\r\n\xEE \xED\xE5\xE9");
    QStringList errors;
    TForm2 form2([&](const QString& e) { errors << e; });
    QVERIFY(errors.isEmpty());
    QCOMPARE(form2.text(), QString("Гадалка\n\nо ней"));
    QCOMPARE(form2.windowTitle(), QString("О ГАДАЛКЕ"));
    QCOMPARE(form2.size(), QSize(651, 354));
    QCOMPARE(form2.findChild<QWidget*>("Memo1")->geometry(), QRect(0, 0, 651, 317));
    QCOMPARE(form2.findChild<QPushButton*>("Button1")->text(), QString("СПАСИБО"));
    QVERIFY(!(form2.windowFlags() & Qt::WindowCloseButtonHint));

    // "О гадалке" reloads the file before each showing; twice is one window.
    Harness h;
    TForm3 form3;
    TForm4 form4;
    h.form->setCompanions(&form2, &form3, &form4);
    folder_.write("Text/Text65.dat", "\xED\xEE\xE2\xEE\xE5");
    h.form->item(forms::kAboutFortuneTellerItem)->trigger();
    QCOMPARE(form2.text(), QString("новое"));
    QVERIFY(form2.isVisible());
    h.form->item(forms::kAboutFortuneTellerItem)->trigger();
    QVERIFY(form2.isVisible());
    form2.findChild<QPushButton*>("Button1")->click();
    QVERIFY(!form2.isVisible());
    QVERIFY(h.errors.isEmpty());
}

void InformationWindowsTest::missingIntroductionIsReportedAndNotShown() {
    folder_.remove("Text/Text65.dat");
    QStringList errors;
    TForm2 form2([&](const QString& e) { errors << e; });
    const QString expected = "Cannot open file \"" + folder_.absolute("Text/Text65.dat") +
                             "\". No such file or directory";
    QCOMPARE(errors, QStringList{expected});
    QCOMPARE(form2.text(), QString());

    Harness h;
    TForm3 form3;
    TForm4 form4;
    h.form->setCompanions(&form2, &form3, &form4);
    h.form->item(forms::kAboutFortuneTellerItem)->trigger();
    QCOMPARE(h.errors, QStringList{expected});
    QVERIFY(!form2.isVisible());
}

void InformationWindowsTest::aboutWindowShowsItsLinesAndPicture() {
    TForm3 form3;
    QCOMPARE(form3.windowTitle(), QString("О ПРОГРАММЕ"));
    QCOMPARE(form3.size(), QSize(637, 292));
    const QStringList lines = form3.text().split('\n');
    QCOMPARE(lines.size(), 17);
    QCOMPARE(lines[0], QString());
    QCOMPARE(lines[2], QString(66, '-'));
    QCOMPARE(lines[3], QString("\"ТАЙНОВИД\""));
    QCOMPARE(lines[4], QString("версия от 04.12.2001 г."));
    QCOMPARE(lines[5], QString(66, '-'));
    QCOMPARE(lines[6], QString("автор программы"));
    QVERIFY(lines[8].startsWith("email: "));
    QCOMPARE(lines[9], QString(50, '-'));
    auto* image = form3.findChild<QLabel*>("Image1");
    QCOMPARE(image->geometry(), QRect(514, 0, 122, 169));
    // Drawn when the window is first shown.
    QVERIFY(image->pixmap().isNull());
    form3.showAndRaise();
    const QPixmap picture = image->pixmap();
    QVERIFY(!picture.isNull());
    // 309 × 436 scaled into 122 × 169 with its proportions kept.
    QCOMPARE(picture.height(), 169);
    QVERIFY(qAbs(picture.width() - 120) <= 1);
    QCOMPARE(form3.findChild<QPushButton*>("Button1")->geometry(), QRect(514, 256, 121, 33));
}

void InformationWindowsTest::informationWindowsAreCentredOnceThenKeepTheirPlace() {
    TForm3 form3;
    form3.showAndRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&form3));
    const QRect screen = form3.screen()->availableGeometry();
    QVERIFY(qAbs(form3.frameGeometry().center().x() - screen.center().x()) <= 1);
    form3.close();
    form3.move(10, 20);
    form3.showAndRaise();
    QCOMPARE(form3.pos(), QPoint(10, 20));
}

QTEST_MAIN(InformationWindowsTest)
#include "tst_information_windows.moc"
