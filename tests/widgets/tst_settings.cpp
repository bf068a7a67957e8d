// Preferences across runs: Save.Bmp created, applied at start, written by
// the toggles and at close; the font, colours and the two views.
#include <QAction>
#include <QFile>
#include <QFontComboBox>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "forms/dialogs/font_chooser.h"
#include "harness.h"

using testing_support::Harness;
using testing_support::WorkingFolder;

namespace {

const QByteArray kDefaultLine =
    " 0.00000000000000E+0000  3.00000000000000E+0000  1.00000000000000E+0000 "
    " 2.00000000000000E+0000  1.10000000000000E+0001  1.00000000000000E+0000 "
    "11 0 12632256 0 Times New Roman\r\n";

QByteArray SaveBmp() {
    QFile file(QStringLiteral("Save.Bmp"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The numbers of the file, in order, and the font name.
QStringList Fields(const QByteArray& line) {
    QStringList fields = QString::fromLatin1(line.trimmed()).split(' ', Qt::SkipEmptyParts);
    return fields;
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void missingFileIsCreatedWithTheDefaultsAndApplied();
    void storedModeAndViewAreApplied();
    void reducedViewTurnsTheNormalModeSemiAutomatic();
    void soundOffAnyNonZeroAndReservedValueKept();
    void invalidNumberIsReportedAndNothingApplied();
    void unreadableFileIsNeverOverwritten();
    void togglesAndCloseWriteTheFile();
    void failedSaveAtCloseIsReportedAndTheWindowCloses();
    void fontDialogCancelStillReadsTheFont();
    void fontDialogConfirmSetsTheReadingArea();
    void colourDialogRemembersTheLastColour();
    void reducedViewKeepsF3Working();
    void storedFontAndColoursReachTheReadingArea();
    void viewChangesCentreTheWindow();
    void checkMarksFollowTheViewNotTheClick();
    void fontOutsideTheCodePageIsRefused();
    void fontChooserKeepsTheGivenNameAndSizeRange();

private:
    WorkingFolder folder_;
};

void SettingsTest::missingFileIsCreatedWithTheDefaultsAndApplied() {
    Harness h;
    QCOMPARE(SaveBmp(), kDefaultLine);
    QVERIFY(h.errors.isEmpty());
    QVERIFY(!h.find("Button2")->isHidden());
    QCOMPARE(h.find("SpeedButton69")->toolTip(), QString("Обычный режим гадания"));
    QVERIFY(h.find<QToolButton>("SpeedButton1")->autoRaise());
    QCOMPARE(h.form->item(forms::kButtonsItem)->text(), QString("показать\tF5"));
    QCOMPARE(h.form->Edit10, QString("1"));
    QVERIFY(h.find("SpeedButton68")->isHidden());
    QCOMPARE(h.find("Memo1")->height(), 180);
    QVERIFY(h.form->item(forms::kFullViewItem)->isChecked());
    auto* memo = h.find<QPlainTextEdit>("Memo1");
    QCOMPARE(memo->font().family(), QString("Times New Roman"));
    QCOMPARE(memo->font().pointSize(), 11);
    QVERIFY(!memo->font().bold() && !memo->font().italic());
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0, 0, 0));
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(192, 192, 192));
}

void SettingsTest::storedModeAndViewAreApplied() {
    Harness h(" 1 1 0 1 11 1 11 0 12632256 0 Times New Roman\r\n");
    QVERIFY(h.errors.isEmpty());
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("автомат"));
    QCOMPARE(h.find("SpeedButton69")->toolTip(), QString("автоматически режим гадания"));
    QVERIFY(!h.find("Button1")->isHidden());
    QCOMPARE(h.form->Edit10, QString("0"));  // sound off
    QVERIFY(!h.find("SpeedButton68")->isHidden());
    QVERIFY(h.find("SpeedButton67")->isHidden());
    QVERIFY(!h.find<QToolButton>("SpeedButton1")->autoRaise());  // raised
    QCOMPARE(h.form->item(forms::kButtonsItem)->text(), QString("скрыть\tF5"));
    // Table hidden: the reading area covers it.
    QCOMPARE(h.find("Memo1")->height(), 525);
    QVERIFY(!h.find("SpeedButton65")->isHidden());
    QVERIFY(!h.form->item(forms::kButtonsMenu)->isVisible());
    QCOMPARE(h.form->item(forms::kTableItem)->text(), QString("показать\tF3"));
}

void SettingsTest::reducedViewTurnsTheNormalModeSemiAutomatic() {
    Harness h(" 0 3 1 2 11 2 11 0 12632256 0 Times New Roman\r\n");
    QCOMPARE(h.find("ClientArea")->height(), 332);
    QCOMPARE(h.find("Memo1")->height(), 325);
    QVERIFY(h.find<QGroupBox>("GroupBox2")->isHidden());
    QCOMPARE(h.find("GroupBox1")->y(), 0);
    QCOMPARE(h.find("GroupBox3")->height(), 329);
    QCOMPARE(h.find("Image2")->y(), 258);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("полуавтомат"));
    QVERIFY(!h.form->item(forms::kNormalItem)->isVisible());
    QVERIFY(!h.form->item("N21")->isVisible());
    QVERIFY(!h.form->item(forms::kTableMenu)->isVisible());
    QVERIFY(h.form->item(forms::kReducedViewItem)->isChecked() && h.form->item("N40")->isChecked());
    QCOMPARE(Fields(SaveBmp()).at(1), QString("2.00000000000000E+0000"));
    // The casting panel covers the title picture: none of the orange of its
    // lower word shows beside the glyph list.
    auto orangePixels = [&] {
        const QImage left = h.find("GroupBox3")->grab().toImage();
        int count = 0;
        for (int y = 170; y < 198; ++y) {
            for (int x = 0; x < left.width(); ++x) {
                if (x >= 43 && x <= 116)
                    continue;
                const QColor c = left.pixelColor(x, y);
                count += c.red() > 200 && c.green() > 60 && c.green() < 180 && c.blue() < 80;
            }
        }
        return count;
    };
    QCOMPARE(orangePixels(), 0);
    // The mode button now alternates the two automatic modes.
    h.form->Invoke(forms::kNextModeItem);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("автомат"));
    h.form->Invoke(forms::kNextModeItem);
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("полуавтомат"));
    // Back to the full view: the mode stays, "обычный" returns.
    h.form->Invoke("N39");
    QCOMPARE(h.find("ClientArea")->height(), 532);
    QVERIFY(!h.find("GroupBox2")->isHidden());
    QCOMPARE(h.find("Memo1")->height(), 180);
    QVERIFY(h.form->item(forms::kNormalItem)->isVisible());
    QCOMPARE(h.find<QToolButton>("SpeedButton69")->text(), QString("полуавтомат"));
    QVERIFY(orangePixels() > 100);  // the title picture is back in view
}

void SettingsTest::soundOffAnyNonZeroAndReservedValueKept() {
    Harness h(" 2 3 1 2 7.5 1 11 0 12632256 0 Times New Roman\r\n");
    QCOMPARE(h.form->Edit10, QString("0"));
    h.form->close();
    const QStringList fields = Fields(SaveBmp());
    QCOMPARE(fields.at(0), QString("1.00000000000000E+0000"));
    QCOMPARE(fields.at(4), QString("7.50000000000000E+0000"));

    // -0 is zero: sound on and raised buttons, written back as 0.
    Harness minusZero("-0 3 -0 2 11 1 11 0 12632256 0 Times New Roman\r\n");
    QCOMPARE(minusZero.form->Edit10, QString("1"));
    QVERIFY(!minusZero.find<QToolButton>("SpeedButton1")->autoRaise());
    QCOMPARE(minusZero.form->settingsValues().ButtonsFlat, 0.0);
    QCOMPARE(minusZero.form->settingsValues().SoundOff, 0.0);
}

void SettingsTest::unreadableFileIsNeverOverwritten() {
    // Too large to be a settings line: reported, and no save writes the
    // variables that were never loaded over it.
    const QByteArray large(1024 * 1024 + 1, ' ');
    Harness h(large);
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.errors[0].startsWith("Cannot read file"));
    h.form->Invoke(forms::kSoundItem);
    h.form->close();
    QCOMPARE(SaveBmp(), large);
}

void SettingsTest::invalidNumberIsReportedAndNothingApplied() {
    Harness h(" 1 1 0 1 eleven 2 11 0 12632256 0 Arial\r\n");
    QCOMPARE(h.errors, QStringList{"Invalid numeric input"});
    // The window keeps its built state.
    QVERIFY(!h.find("Button2")->isHidden());
    QVERIFY(!h.find("SpeedButton67")->isHidden());
    QVERIFY(!h.find("SpeedButton68")->isHidden());
    QCOMPARE(h.find("ClientArea")->height(), 532);
    // The reading area keeps its built font, 15 pixels: 11 points.
    h.fontAnswers = {std::nullopt};
    h.form->Invoke(forms::kFontItem);
    QCOMPARE(h.form->settingsValues().FontSize, 11);
    QCOMPARE(h.form->settingsValues().FontName, std::string("Times New Roman"));
    // What was read is what the next save writes.
    h.form->close();
    const QStringList fields = Fields(SaveBmp());
    QCOMPARE(fields.at(1), QString("1.00000000000000E+0000"));
    QCOMPARE(fields.last(), QString("Roman"));
}

void SettingsTest::togglesAndCloseWriteTheFile() {
    Harness h;
    QFile::remove("Save.Bmp");
    h.form->Invoke(forms::kSoundItem);
    QCOMPARE(Fields(SaveBmp()).at(0), QString("1.00000000000000E+0000"));
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    QTest::keyClick(h.form.get(), Qt::Key_F3);
    QCOMPARE(Fields(SaveBmp()).at(3), QString("1.00000000000000E+0000"));
    QTest::keyClick(h.form.get(), Qt::Key_F3);
    QCOMPARE(Fields(SaveBmp()).at(3), QString("2.00000000000000E+0000"));
    QTest::mouseClick(h.find("SpeedButton69"), Qt::LeftButton);
    QCOMPARE(Fields(SaveBmp()).at(1), QString("1.00000000000000E+0000"));
    QTest::keyClick(h.form.get(), Qt::Key_F5);
    QCOMPARE(Fields(SaveBmp()).at(2), QString("0.00000000000000E+0000"));
    // The font reaches the file at the next save: closing.
    h.fontAnswers = {QFont("Liberation Serif", 14)};
    h.form->Invoke("N23");
    QVERIFY(!SaveBmp().contains("14"));
    h.form->close();
    QVERIFY(SaveBmp().endsWith(" 14 0 12632256 0 Liberation Serif\r\n"));
}

void SettingsTest::failedSaveAtCloseIsReportedAndTheWindowCloses() {
    Harness h;
    h.form->show();
    QFile::remove("Save.Bmp");
    QDir().mkdir("Save.Bmp");
    h.form->close();
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.errors[0].startsWith("Cannot write file \"" + folder_.absolute("Save.Bmp")));
    QVERIFY(!h.form->isVisible());
    QDir().rmdir("Save.Bmp");
}

void SettingsTest::fontDialogCancelStillReadsTheFont() {
    Harness h(" 0 3 1 2 11 1 11 255 12632256 3 Liberation Serif\r\n");
    auto* memo = h.find<QPlainTextEdit>("Memo1");
    QVERIFY(memo->font().bold() && memo->font().italic());
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Text, Qt::green);
    memo->setPalette(palette);
    h.fontAnswers = {std::nullopt};
    h.form->Invoke(forms::kFontItem);
    // The dialog opens with the stored name and size.
    QCOMPARE(h.fontsOffered.at(0).family(), QString("Liberation Serif"));
    QCOMPARE(h.fontsOffered.at(0).pointSize(), 11);
    QCOMPARE(memo->font().family(), QString("Liberation Serif"));
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(h.form->settingsValues().FontStyleCode, 3);
    QCOMPARE(h.form->settingsValues().FontSize, 11);
}

void SettingsTest::fontDialogConfirmSetsTheReadingArea() {
    Harness h;
    QFont chosen("Liberation Sans", 16);
    chosen.setItalic(true);
    h.fontAnswers = {chosen, std::nullopt};
    h.form->Invoke(forms::kFontItem);
    auto* memo = h.find<QPlainTextEdit>("Memo1");
    QCOMPARE(memo->font().family(), QString("Liberation Sans"));
    QCOMPARE(memo->font().pointSize(), 16);
    QCOMPARE(h.form->settingsValues().FontStyleCode, 2);
    QCOMPARE(h.form->settingsValues().FontName, std::string("Liberation Sans"));
    // The dialog keeps the font chosen in it.
    h.form->Invoke(forms::kFontItem);
    QCOMPARE(h.fontsOffered.at(1).family(), QString("Liberation Sans"));
    QVERIFY(h.fontsOffered.at(1).italic());
}

void SettingsTest::colourDialogRemembersTheLastColour() {
    Harness h;
    h.colorAnswers = {QColor(10, 20, 30), QColor(200, 100, 50), std::nullopt};
    h.form->Invoke(forms::kTextColorItem);
    h.form->Invoke("N45");
    QCOMPARE(h.colorsOffered.at(0), QColor(0, 0, 0));
    QCOMPARE(h.colorsOffered.at(1), QColor(10, 20, 30));
    auto* memo = h.find<QPlainTextEdit>("Memo1");
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(10, 20, 30));
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(200, 100, 50));
    QCOMPARE(h.form->settingsValues().TextColor, 10 | 20 << 8 | 30 << 16);
    QCOMPARE(h.form->settingsValues().AreaColor, 200 | 100 << 8 | 50 << 16);
    h.form->Invoke(forms::kAreaColorItem);  // cancelled: nothing changes
    QCOMPARE(h.colorsOffered.at(2), QColor(200, 100, 50));
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(200, 100, 50));
}

void SettingsTest::reducedViewKeepsF3Working() {
    Harness h;
    h.form->Invoke(forms::kReducedViewItem);
    h.form->show();
    QVERIFY(QTest::qWaitForWindowActive(h.form.get()));
    QTest::keyClick(h.form.get(), Qt::Key_F3);
    QCOMPARE(h.form->settingsValues().TableState, 1.0);
    QCOMPARE(h.find("Memo1")->height(), 525);
    QVERIFY(!h.find("SpeedButton65")->isHidden());
    QCOMPARE(h.find("ClientArea")->height(), 332);
    QVERIFY(h.find("GroupBox2")->isHidden());
    QTest::keyClick(h.form.get(), Qt::Key_F3);
    QCOMPARE(h.find("Memo1")->height(), 180);
    QVERIFY(!h.find("SpeedButton66")->isHidden());
    QVERIFY(h.form->item(forms::kButtonsMenu)->isVisible());
}

void SettingsTest::storedFontAndColoursReachTheReadingArea() {
    Harness h(" 0 3 1 2 11 1 14 16711680 65280 1    Liberation Sans\r\n");
    auto* memo = h.find<QPlainTextEdit>("Memo1");
    QCOMPARE(memo->font().family(), QString("Liberation Sans"));
    QCOMPARE(memo->font().pointSize(), 14);
    QVERIFY(memo->font().bold());
    QCOMPARE(memo->palette().color(QPalette::Text), QColor(0, 0, 255));
    QCOMPARE(memo->palette().color(QPalette::Base), QColor(0, 255, 0));
    QCOMPARE(h.form->settingsValues().FontName, std::string("Liberation Sans"));
}

void SettingsTest::viewChangesCentreTheWindow() {
    Harness h;
    h.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.form.get()));
    const QPoint centre = h.form->screen()->availableGeometry().center();
    auto centred = [&] {
        return (h.form->frameGeometry().center() - centre).manhattanLength() <= 2;
    };
    h.form->move(0, 0);
    h.form->Invoke(forms::kReducedViewItem);
    QCOMPARE(h.form->height(), h.form->menuBar()->height() + 332);
    QVERIFY(centred());
    h.form->move(10, 10);
    h.form->Invoke(forms::kFullViewItem);
    QVERIFY(centred());
}

void SettingsTest::checkMarksFollowTheViewNotTheClick() {
    Harness h;
    h.form->item(forms::kFullViewItem)->trigger();  // the view in force, chosen again
    QVERIFY(h.form->item(forms::kFullViewItem)->isChecked() && h.form->item("N39")->isChecked());
    // A reduced view whose mode change can't be saved stops before the marks.
    QFile::remove("Save.Bmp");
    QDir().mkdir("Save.Bmp");
    h.form->item("N40")->trigger();
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.form->item(forms::kFullViewItem)->isChecked() && h.form->item("N39")->isChecked());
    QVERIFY(!h.form->item(forms::kReducedViewItem)->isChecked() &&
            !h.form->item("N40")->isChecked());
    QDir().rmdir("Save.Bmp");
    h.form->item("N40")->trigger();
    QVERIFY(!h.form->item(forms::kFullViewItem)->isChecked() && !h.form->item("N39")->isChecked());
    QVERIFY(h.form->item(forms::kReducedViewItem)->isChecked() && h.form->item("N40")->isChecked());
}

void SettingsTest::fontOutsideTheCodePageIsRefused() {
    Harness h;
    h.fontAnswers = {QFont(QString::fromUtf8("文泉驿"), 12)};
    h.form->item("N23")->trigger();
    QCOMPARE(h.errors.size(), 1);
    QVERIFY(h.errors[0].contains("Windows-1251"));
    QCOMPARE(h.find("Memo1")->font().family(), QString("Times New Roman"));
    QCOMPARE(h.form->settingsValues().FontName, std::string("Times New Roman"));
    h.form->Invoke(forms::kSoundItem);  // saving still works
    QCOMPARE(h.errors.size(), 1);
}

void SettingsTest::fontChooserKeepsTheGivenNameAndSizeRange() {
    QFont initial("Times New Roman", 30);
    initial.setBold(true);
    forms::FontChooser chooser(initial);
    auto* size = chooser.findChild<QSpinBox*>("Size");
    QCOMPARE(size->minimum(), 8);
    QCOMPARE(size->maximum(), 24);
    // Shown by its own name, though the list holds only a stand-in for it.
    QCOMPARE(chooser.findChild<QFontComboBox*>("Family")->currentText(),
             QString("Times New Roman"));
    QCOMPARE(chooser.chosenFont().family(), QString("Times New Roman"));
    QCOMPARE(chooser.chosenFont().pointSize(), 24);
    QVERIFY(chooser.chosenFont().bold());
    QVERIFY(!chooser.chosenFont().italic());

    // A name the file holds with a comma and trailing blanks comes back whole
    // when the family is not changed; a typed one loses its outer blanks.
    initial.setFamily("Liberation Serif, Bold  ");
    forms::FontChooser kept(initial);
    QCOMPARE(kept.chosenFont().family(), QString("Liberation Serif, Bold  "));
    kept.findChild<QFontComboBox*>("Family")->setEditText(" DejaVu Sans ");
    QCOMPARE(kept.chosenFont().family(), QString("DejaVu Sans"));
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
