// «Статистика» over a journal in memory: each chart's table holds the
// chart's own numbers, the counts are those of the casts kept, the verdict
// on the line values, charts saved as PNG and SVG whole or not at all, the
// controls a keyboard and a screen reader reach, and one cast as a picture.
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <deque>
#include <random>

#include "divination/changes.h"
#include "divination/hexagrams.h"
#include "forms/document/cast_picture.h"
#include "forms/kit/hexagram_figure.h"
#include "forms/statistics/chart.h"
#include "forms/statistics/charts.h"
#include "forms/statistics/statistics_window.h"
#include "forms/statistics/timeline.h"
#include "harness.h"

using forms::StatisticsWindow;
using testing_support::WorkingFolder;

namespace {

std::string Name(int n) {
    return std::string(divination::kHexagramNames.at(n - 1).name);
}

divination::LineValues Values(const std::string& digits) {
    divination::LineValues values{};
    for (int i = 0; i < 6; ++i)
        values[i] = digits[i] - '0';
    return values;
}

journal::NewCast ByHand(const std::string& castAt, const std::string& lines,
                        const std::string& question = "",
                        divination::Method method = divination::Method::HeadsAndTails) {
    return {castAt, method, Values(lines), std::nullopt, question, "", std::nullopt};
}

// An automatic cast whose coins give the values: odd coins are heads.
journal::NewCast ByCoins(const std::string& castAt, const std::string& lines) {
    journal::NewCast cast = ByHand(castAt, lines, "монеты", divination::Method::Coins);
    cast.coins.emplace();
    for (int line = 0; line < 6; ++line) {
        const int heads = cast.values[line] == 9   ? 3
                          : cast.values[line] == 7 ? 2
                          : cast.values[line] == 8 ? 1
                                                   : 0;
        for (int coin = 0; coin < 3; ++coin)
            (*cast.coins)[3 * line + coin] = coin < heads ? 1 : 2;
    }
    return cast;
}

QVariant Cell(QTableView* table, int row, int column) {
    return table->model()->index(row, column).data();
}

}  // namespace

class StatisticsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkingFolder> folder;
    std::unique_ptr<journal::Journal> journal;
    std::unique_ptr<StatisticsWindow> window;
    QStringList errors;
    std::deque<QString> files;

    // 988878: hexagram 3, line 1 changes, its second 8. 777777: 1, no change.
    void recordCasts() {
        journal->Record(ByHand("2026-11-30T09:00:00+03:00", "777777", "дорога домой"));
        journal->Record(ByHand("2026-12-06T09:00:00+03:00", "988878", "дорога в город"));
        journal->Record(ByHand("2026-12-07T10:30:00+03:00", "988878", "работа"));
        journal->Record(
            ByHand("2026-12-08T21:14:05+03:00", "787878", "", divination::Method::OwnThrow));
        journal->Record(ByCoins("2026-12-09T08:00:00+03:00", "678987"));
    }

private slots:
    void init() {
        folder = std::make_unique<WorkingFolder>();
        journal = std::make_unique<journal::Journal>(journal::Journal::OpenInMemory(Name));
        recordCasts();
        errors.clear();
        files.clear();
        StatisticsWindow::Seams seams;
        seams.journal = [this] { return journal.get(); };
        seams.reportError = [this](const QString& text) { errors << text; };
        seams.chooseFile = [this](const QString&, const QString&) {
            const QString file = files.empty() ? QString() : files.front();
            if (!files.empty())
                files.pop_front();
            return file;
        };
        window = std::make_unique<StatisticsWindow>(seams);
        window->showFor({});
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        journal.reset();
        folder.reset();
    }

    void countsAreThoseOfTheCastsKept() {
        auto* map = static_cast<forms::statistics::HexagramMap*>(
            window->chartWidget(StatisticsWindow::Hexagrams));
        QCOMPARE(map->counts()[3 - 1], 2);
        QCOMPARE(map->counts()[1 - 1], 1);
        auto* seconds = static_cast<forms::statistics::HexagramMap*>(
            window->chartWidget(StatisticsWindow::Seconds));
        QCOMPARE(seconds->counts()[8 - 1], 2);
        auto* lines = static_cast<forms::statistics::BarChart*>(
            window->chartWidget(StatisticsWindow::ChangedLines));
        // Line 1 changes in both 988878 and in 678987, line 4 in 678987 alone.
        QCOMPARE(lines->data().values, (std::vector<double>{3, 0, 0, 1, 0, 0}));
        QVERIFY(window->findChild<QLabel*>("summary")->text().startsWith("Записей: 5"));
    }

    void everyTableHoldsItsChartsNumbers() {
        for (const auto page : {StatisticsWindow::Hexagrams, StatisticsWindow::Seconds}) {
            auto* map = static_cast<forms::statistics::HexagramMap*>(window->chartWidget(page));
            QTableView* table = window->table(page);
            QCOMPARE(table->model()->rowCount(), 64);
            for (int row = 0; row < 64; ++row) {
                const int n = Cell(table, row, 0).toInt();
                QCOMPARE(Cell(table, row, 2).toLongLong(), map->counts()[n - 1]);
            }
        }
        for (const auto page : {StatisticsWindow::ChangedLines, StatisticsWindow::Months}) {
            auto* bars = static_cast<forms::statistics::BarChart*>(window->chartWidget(page));
            QTableView* table = window->table(page);
            QCOMPARE(table->model()->rowCount(), int(bars->data().values.size()));
            for (int row = 0; row < table->model()->rowCount(); ++row)
                QCOMPARE(Cell(table, row, 1).toDouble(), bars->data().values[row]);
        }
        auto* months = static_cast<forms::statistics::BarChart*>(
            window->chartWidget(StatisticsWindow::Months));
        QCOMPARE(months->data().values, (std::vector<double>{1, 4}));
        QCOMPARE(Cell(window->table(StatisticsWindow::Months), 1, 0).toString(), "декабрь 2026");
        auto* trigrams = static_cast<forms::statistics::BarChart*>(
            window->chartWidget(StatisticsWindow::Trigrams));
        QTableView* table = window->table(StatisticsWindow::Trigrams);
        for (int row = 0; row < 8; ++row) {
            const QString name = Cell(table, row, 0).toString();
            const int trigram = trigrams->data().categories.indexOf(name) + 1;
            QCOMPARE(Cell(table, row, 1).toDouble(), trigrams->data().values[trigram - 1]);
            QCOMPARE(Cell(table, row, 2).toDouble(), trigrams->data().values[8 + trigram - 1]);
        }
    }

    void theValuesTableSaysTheBarsShares() {
        auto* bars = static_cast<forms::statistics::BarChart*>(
            window->chartWidget(StatisticsWindow::Values));
        QTableView* table = window->table(StatisticsWindow::Values);
        // Coins, heads and tails, one's own throw: four values each.
        QCOMPARE(table->model()->rowCount(), 12);
        QCOMPARE(int(bars->data().values.size()), 12);
        for (int group = 0; group < 3; ++group) {
            qint64 lines = 0;
            for (int i = 0; i < 4; ++i)
                lines += Cell(table, 4 * group + i, 2).toLongLong();
            QCOMPARE(lines, group == 1 ? 18 : 6);
            for (int i = 0; i < 4; ++i) {
                const int row = 4 * group + i;
                QCOMPARE(Cell(table, row, 1).toInt(), 6 + i);
                QCOMPARE(bars->data().values[row],
                         double(Cell(table, row, 2).toLongLong()) / double(lines));
            }
        }
        // The heads and tails expected: 7 and 8 half each, nine lines of 18.
        QCOMPARE(bars->data().expected[5], 0.5);
        QCOMPARE(Cell(table, 5, 5).toString(), "9,0");
        QCOMPARE(Cell(table, 8, 4).toString(), "нет");
    }

    void theVerdictsNameEachMethod() {
        const QString verdicts = window->verdicts();
        // Heads and tails gave 9s: a value it can't give.
        QVERIFY2(verdicts.contains("Заметно отличается: при этом способе изменяющихся черт не"),
                 qPrintable(verdicts));
        QVERIFY2(verdicts.contains("Судить рано"), qPrintable(verdicts));  // six coin lines
        QVERIFY2(verdicts.contains("сравнивать не с чем"), qPrintable(verdicts));
    }

    void aSearchIsATopic() {
        journal::Query query;
        query.text = "дорога";
        window->showFor(query);
        QCOMPARE(window->statistics().entries, 2);
        QVERIFY(window->findChild<QLabel*>("summary")->text().contains("поиск «дорога»"));
        QCOMPARE(window->table(StatisticsWindow::Sequence)->model()->rowCount(), 2);
        QCOMPARE(Cell(window->table(StatisticsWindow::Sequence), 1, 1).toString(),
                 QString::fromStdString(divination::NumberAndName(3)));
        QCOMPARE(Cell(window->table(StatisticsWindow::Sequence), 1, 2).toString(),
                 QString::fromStdString(divination::NumberAndName(8)));
        QCOMPARE(Cell(window->table(StatisticsWindow::Sequence), 0, 2).toString(), "—");
    }

    void theTimelineListsTheEntriesInDateOrder() {
        QTableView* table = window->table(StatisticsWindow::Sequence);
        QCOMPARE(table->model()->rowCount(), 5);
        QCOMPARE(Cell(table, 0, 0).toString(),
                 QString::fromStdString(journal::RussianDateTime(
                     journal::LocalTimestamp(window->statistics().timeline[0].moment))));
        for (int row = 1; row < 5; ++row)
            QVERIFY(window->statistics().timeline[row - 1].moment <
                    window->statistics().timeline[row].moment);
    }

    void theTimelinePaintsFromTheRowInSight() {
        journal::Statistics many;
        for (int i = 0; i < 5000; ++i)
            many.timeline.push_back({i + 1, 1767225600 + i * 600, Values("988878")});
        many.entries = 5000;
        window->setStatistics(std::move(many), {});
        auto* timeline = static_cast<forms::statistics::Timeline*>(
            window->chartWidget(StatisticsWindow::Sequence));
        window->tabs()->setCurrentIndex(StatisticsWindow::Sequence);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(timeline->firstShown(), 0);
        timeline->scrollToEntry(1000);
        QCOMPARE(timeline->firstShown(), 1000 / timeline->perRow() * timeline->perRow());
        // A picture holds at most its share, from the row in sight.
        const int rows = (forms::statistics::Timeline::kMostInPicture + timeline->perRow() - 1) /
                         timeline->perRow();
        QVERIFY(timeline->pictureSize().height() <=
                forms::statistics::kLegendHeight + 8 +
                    (rows + 1) * forms::statistics::Timeline::kRowHeight);
    }

    void chartsSaveAsPngAndSvg() {
        for (int page = 0; page < StatisticsWindow::PageCount; ++page) {
            const auto which = static_cast<StatisticsWindow::Page>(page);
            const QString png = folder->absolute(QStringLiteral("chart%1.png").arg(page));
            const QString svg = folder->absolute(QStringLiteral("chart%1.svg").arg(page));
            files = {png, svg};
            window->saveChart(which, forms::PictureFormat::Png);
            window->saveChart(which, forms::PictureFormat::Svg);
            QVERIFY(errors.isEmpty());
            const QImage image(png);
            QVERIFY(!image.isNull());
            QCOMPARE(image.size(), window->chart(which)->pictureSize() * 2);
            QFile file(svg);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            QVERIFY(text.contains("<svg"));
            QVERIFY(text.contains(window->tabs()->tabText(page)));
        }
        QVERIFY(window->findChild<QLabel*>("status")->text().startsWith("Сохранено в"));
    }

    void theSaveButtonsAskForTheFile() {
        const QString png = folder->absolute("by-button.png");
        files = {png};
        window->findChild<QPushButton*>("savePng_lines")->click();
        QVERIFY(!QImage(png).isNull());
        files = {};  // cancelled: nothing is written, nothing said
        window->findChild<QPushButton*>("saveSvg_lines")->click();
        QVERIFY(errors.isEmpty());
    }

    void aFailedSaveNamesTheFileAndLeavesNothing() {
        const QString path = folder->absolute("no-such-folder/map.png");
        files = {path};
        window->saveChart(StatisticsWindow::Hexagrams, forms::PictureFormat::Png);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("map.png") && errors[0].startsWith("Не удалось сохранить файл"),
                 qPrintable(errors[0]));
        QVERIFY(!QFile::exists(path));
    }

    void keyboardAndScreenReaderReachEveryChartsTable() {
        for (int page = 0; page < StatisticsWindow::PageCount; ++page) {
            QTableView* table = window->table(static_cast<StatisticsWindow::Page>(page));
            QVERIFY(table->focusPolicy() & Qt::TabFocus);
            QVERIFY(table->accessibleName().startsWith("Таблица: "));
            QVERIFY(!window->chartWidget(static_cast<StatisticsWindow::Page>(page))
                         ->accessibleName()
                         .isEmpty());
        }
        for (QPushButton* button : window->findChildren<QPushButton*>())
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        QCOMPARE(window->findChildren<QPushButton*>().size(), 2 * StatisticsWindow::PageCount);
    }

    void topicsSayWhatTheQueryKeeps() {
        journal::Query query;
        QCOMPARE(forms::TopicText(query), QString());
        query.text = "дом";
        query.hexagram = 29;
        query.changingLine = 5;
        query.method = divination::Method::Coins;
        QCOMPARE(forms::TopicText(query),
                 "поиск «дом», гексаграмма 29 в гадании, меняется черта 5, способ «Три монеты»");
    }

    void aCastSavesAsAPicture() {
        consultation::Entry entry{
            divination::Interpret(divination::Subject::OfEntry(Values("988878"))),
            "2026-12-08T21:14:05+03:00", "Стоит ли начинать?", ""};
        const QString png = folder->absolute("cast.png");
        const QString svg = folder->absolute("cast.svg");
        forms::WriteCastPicture(entry, png, forms::PictureFormat::Png);
        forms::WriteCastPicture(entry, svg, forms::PictureFormat::Svg);
        const QImage image(png);
        QCOMPARE(image.size(), forms::CastPictureSize(entry) * 2);
        // The changing line's colour is there, in the figure of the cast.
        bool changing = false;
        for (int y = 0; y < image.height() && !changing; ++y)
            for (int x = 0; x < image.width() / 2 && !changing; ++x)
                changing = image.pixelColor(x, y) == forms::kChangingLineColor;
        QVERIFY(changing);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains("Начальная трудность"));
        QVERIFY(text.contains("Стоит ли начинать?"));
        QVERIFY(text.contains("8 декабря 2026"));
        QVERIFY(text.contains(QString::fromStdString(divination::NumberAndName(8))));
        QCOMPARE(forms::PictureFormatOfPath("A.SVG"), forms::PictureFormat::Svg);
        QCOMPARE(forms::PictureFormatOfPath("a.jpg"), std::nullopt);
    }

    void aCastNotWholeIsNoPicture() {
        consultation::Entry entry{
            divination::Interpret(divination::Subject::OfCast(Values("980000"))), "", "", ""};
        const QString path = folder->absolute("half.png");
        QVERIFY_THROWS_EXCEPTION(base::Error,
                                 forms::WriteCastPicture(entry, path, forms::PictureFormat::Png));
        QVERIFY(!QFile::exists(path));
    }

    // With TAYNOVID_SCREENSHOTS=<folder>: the window as a user sees it, over
    // a small journal of coin casts, its map and its timeline.
    void screenshots() {
        const QString into = qEnvironmentVariable("TAYNOVID_SCREENSHOTS");
        if (into.isEmpty())
            QSKIP("TAYNOVID_SCREENSHOTS names no folder");
        std::mt19937 random(7);
        for (int n = 0; n < 240; ++n) {
            std::string lines;
            for (int line = 0; line < 6; ++line) {
                const int heads = int(random() % 2 + random() % 2 + random() % 2);
                lines += char('0' + (heads == 3 ? 9 : heads == 2 ? 7 : heads == 1 ? 8 : 6));
            }
            journal->Record(
                ByCoins(journal::LocalTimestamp(1767225600 + n * 86400 * 5 / 4), lines));
        }
        window->showFor({});
        window->resize(1100, 700);
        const QString suffix = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2
                                   ? QStringLiteral("@2x.png")
                                   : QStringLiteral(".png");
        for (const auto& [page, name] :
             {std::pair{StatisticsWindow::Hexagrams, "statistics"},
              std::pair{StatisticsWindow::Sequence, "statistics-timeline"}}) {
            window->tabs()->setCurrentIndex(page);
            QTest::qWait(50);
            QVERIFY(window->grab().save(into + QLatin1Char('/') + name + suffix));
        }
        window->tabs()->setCurrentIndex(StatisticsWindow::Values);
        QTest::qWait(50);
        QVERIFY(window->grab().save(into + QStringLiteral("/statistics-values") + suffix));
    }
};

QTEST_MAIN(StatisticsWindowTest)
#include "tst_statistics_window.moc"
