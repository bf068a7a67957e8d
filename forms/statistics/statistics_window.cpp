// «Статистика»: its tabs, each a chart with its table and its two save
// buttons; reading the statistics of a query; saving a chart as a picture.
#include "forms/statistics/statistics_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "forms/kit/widgets.h"
#include "forms/statistics/chart.h"
#include "forms/statistics/charts.h"
#include "forms/statistics/timeline.h"

namespace forms {

using namespace statistics;

namespace {

// Draws the trigrams' legend over the timeline.
class Legend : public QWidget {
public:
    explicit Legend(QWidget* parent) : QWidget(parent) {
        setMinimumHeight(kLegendHeight);
        setMaximumHeight(kLegendHeight);
        QStringList names;
        for (int trigram = 1; trigram <= 8; ++trigram)
            names << TrigramName(trigram);
        SetAccessibleText(this, QStringLiteral("Цвета триграмм"), names.join(QStringLiteral(", ")));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintTrigramLegend(painter, QRectF(rect()).adjusted(4, 0, -4, 0));
    }
};

}  // namespace

StatisticsWindow::StatisticsWindow(Seams seams, QWidget* parent)
    : QDialog(parent), seams_(std::move(seams)) {
    if (!seams_.reportError)
        seams_.reportError = ShowErrorBox;
    if (!seams_.chooseFile)
        seams_.chooseFile = [this](const QString& caption, const QString& filter) {
            return forms::ChooseFile(this, caption, filter, true);
        };
    setWindowTitle(kStatisticsTitle);
    setObjectName(QStringLiteral("statisticsWindow"));
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(980, 640);

    auto* layout = new QVBoxLayout(this);
    summary_ = Named(new QLabel(this), "summary");
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    summary_->setFocusPolicy(Qt::StrongFocus);
    SetAccessibleText(summary_, QStringLiteral("О чём статистика"));
    layout->addWidget(summary_);
    tabs_ = Named(new QTabWidget(this), "tabs");
    SetAccessibleText(tabs_, QStringLiteral("Диаграммы"));
    layout->addWidget(tabs_, 1);
    status_ = Named(new QLabel(this), "status");
    layout->addWidget(status_);

    pages_.resize(PageCount);
    const QStringList hexagramHeaders = {QStringLiteral("№"), QStringLiteral("Гексаграмма"),
                                         QStringLiteral("Раз"), QStringLiteral("Доля записей")};
    hexagramMap_ = new HexagramMap;
    makePage(Hexagrams, "hexagrams", QStringLiteral("Гексаграммы"),
             QStringLiteral("Сколько раз выпала каждая гексаграмма. Карта расположена как "
                            "таблица программы: строка — верхняя триграмма, столбец — нижняя."),
             hexagramMap_, hexagramMap_, hexagramHeaders, true);
    secondMap_ = new HexagramMap;
    makePage(Seconds, "seconds", QStringLiteral("Вторые гексаграммы"),
             QStringLiteral("Сколько раз каждая гексаграмма была второй, в которую переходит "
                            "гадание с изменяющимися чертами."),
             secondMap_, secondMap_, hexagramHeaders, true);
    valuesChart_ = new BarChart;
    QWidget* values = makePage(
        Values, "values", QStringLiteral("Значения черт"),
        QStringLiteral("Доли значений 6, 7, 8, 9 по способам гадания; тёмная черта — доля, "
                       "которую должен давать способ."),
        valuesChart_, valuesChart_,
        {QStringLiteral("Способ"), QStringLiteral("Значение"), QStringLiteral("Черт"),
         QStringLiteral("Доля"), QStringLiteral("Ожидаемая доля"),
         QStringLiteral("Ожидалось черт")},
        false);
    verdicts_ = Named(new QLabel(values), "verdicts");
    verdicts_->setWordWrap(true);
    verdicts_->setTextFormat(Qt::RichText);
    verdicts_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    verdicts_->setFocusPolicy(Qt::StrongFocus);
    SetAccessibleText(verdicts_, QStringLiteral("Вывод о значениях черт"));
    static_cast<QVBoxLayout*>(values->layout())->insertWidget(1, verdicts_);
    linesChart_ = new BarChart;
    makePage(
        ChangedLines, "lines", QStringLiteral("Изменяющиеся черты"),
        QStringLiteral("Сколько раз менялась черта на каждом месте, от первой (нижней) до "
                       "шестой."),
        linesChart_, linesChart_,
        {QStringLiteral("Черта"), QStringLiteral("Менялась раз"), QStringLiteral("Доля записей")},
        true);
    trigramsChart_ = new BarChart;
    makePage(Trigrams, "trigrams", QStringLiteral("Триграммы"),
             QStringLiteral("Какие триграммы выпадали внизу (черты 1–3) и вверху (черты 4–6)."),
             trigramsChart_, trigramsChart_,
             {QStringLiteral("Триграмма"), QStringLiteral("Внизу"), QStringLiteral("Вверху")},
             true);
    monthsChart_ = new BarChart;
    makePage(Months, "months", QStringLiteral("По месяцам"),
             QStringLiteral("Сколько гаданий было в каждом месяце."), monthsChart_, monthsChart_,
             {QStringLiteral("Месяц"), QStringLiteral("Гаданий")}, false);
    timeline_ = new Timeline;
    auto* sequence = new QWidget;
    auto* sequenceLayout = new QVBoxLayout(sequence);
    sequenceLayout->setContentsMargins(0, 0, 0, 0);
    sequenceLayout->addWidget(new Legend(sequence));
    sequenceLayout->addWidget(timeline_, 1);
    makePage(Sequence, "timeline", QStringLiteral("Лента"),
             QStringLiteral("Записи по порядку дат: в каждой паре сверху гадание, снизу его "
                            "вторая гексаграмма; черты окрашены по триграммам, точка — "
                            "изменяющаяся черта."),
             sequence, timeline_,
             {QStringLiteral("Дата"), QStringLiteral("Гексаграмма"), QStringLiteral("Вторая")},
             false);
    pages_[Sequence].chart = timeline_;
    SetAccessibleText(timeline_, QStringLiteral("Лента гаданий"),
                      QStringLiteral("Те же записи перечислены в таблице рядом"));
    setStatistics({}, {});
}

StatisticsWindow::~StatisticsWindow() = default;

QWidget* StatisticsWindow::makePage(Page page, const char* key, const QString& title,
                                    const QString& caption, QWidget* chart, Chart* painting,
                                    const QStringList& headers, bool sortable) {
    const QByteArray name(key);
    auto* widget = new QWidget(tabs_);
    widget->setObjectName(QString::fromLatin1("page_" + name));
    auto* layout = new QVBoxLayout(widget);
    auto* about = new QLabel(caption, widget);
    about->setWordWrap(true);
    layout->addWidget(about);
    auto* splitter = new QSplitter(Qt::Horizontal, widget);
    chart->setParent(splitter);
    chart->setObjectName(QString::fromLatin1("chart_" + name));
    SetAccessibleText(chart, title, caption + QStringLiteral(" Те же числа — в таблице рядом."));
    splitter->addWidget(chart);
    auto* model = new FunctionTable(headers, widget);
    auto* table = new QTableView(splitter);
    table->setObjectName(QString::fromLatin1("table_" + name));
    if (sortable) {
        auto* proxy = new QSortFilterProxyModel(widget);
        proxy->setSourceModel(model);
        table->setModel(proxy);
        table->setSortingEnabled(true);
        table->sortByColumn(-1, Qt::AscendingOrder);
    } else {
        table->setModel(model);
    }
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->horizontalHeader()->setStretchLastSection(true);
    SetAccessibleText(table, QStringLiteral("Таблица: ") + title,
                      QStringLiteral("Числа диаграммы «%1»").arg(title));
    splitter->addWidget(table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({560, 400});
    layout->addWidget(splitter, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg}) {
        const bool png = format == PictureFormat::Png;
        auto* button = new QPushButton(
            png ? QStringLiteral("Сохранить как PNG…") : QStringLiteral("Сохранить как SVG…"),
            widget);
        button->setObjectName(QString::fromLatin1((png ? "savePng_" : "saveSvg_") + name));
        SetAccessibleText(button, button->text(),
                          QStringLiteral("Сохранить диаграмму «%1» в файл").arg(title));
        connect(button, &QPushButton::clicked, this,
                [this, page, format] { saveChart(page, format); });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    tabs_->addTab(widget, title);
    pages_[page] = {chart, painting, model, table, title};
    return widget;
}

void StatisticsWindow::showFor(const journal::Query& query) {
    RunGuarded(seams_.reportError, [&] {
        journal::Journal* journal = seams_.journal ? seams_.journal() : nullptr;
        if (!journal) {
            setStatistics({}, TopicText(query));
            summary_->setText(QStringLiteral("Журнал недоступен: статистики нет."));
        } else {
            setStatistics(journal->Stats(query), TopicText(query));
        }
        show();
        raise();
        activateWindow();
    });
}

void StatisticsWindow::setStatistics(journal::Statistics statistics, const QString& topic) {
    statistics_ = std::move(statistics);
    QString summary = QStringLiteral("Записей: %1").arg(Count(statistics_.entries));
    summary +=
        topic.isEmpty() ? QStringLiteral(" — весь журнал.") : QStringLiteral(" — ") + topic + '.';
    summary_->setText(summary);
    status_->clear();
    fillHexagramPages();
    fillValuesPage();
    fillLinePages();
    fillMonthsAndSequence();
    // The small tables fit their contents; the timeline's, of any length,
    // takes widths for its longest date and names without reading each row.
    for (int page = 0; page < PageCount; ++page)
        if (page != Sequence)
            pages_[page].table->resizeColumnsToContents();
    const QFontMetrics metrics = pages_[Sequence].table->fontMetrics();
    pages_[Sequence].table->setColumnWidth(
        0, metrics.horizontalAdvance(QStringLiteral("28 сентября 2026, 21:14")) + 16);
    pages_[Sequence].table->setColumnWidth(
        1, metrics.horizontalAdvance(QStringLiteral("64. Ещё не конец")) + 16);
}

QTableView* StatisticsWindow::table(Page page) const {
    return pages_[page].table;
}

Chart* StatisticsWindow::chart(Page page) const {
    return pages_[page].painting;
}

QWidget* StatisticsWindow::chartWidget(Page page) const {
    return pages_[page].chart;
}

QString StatisticsWindow::verdicts() const {
    return verdicts_->text();
}

void StatisticsWindow::saveChart(Page page, PictureFormat format) {
    const PageParts& parts = pages_[page];
    const bool png = format == PictureFormat::Png;
    const QString path = seams_.chooseFile(
        QStringLiteral("Сохранить диаграмму «%1»").arg(parts.title),
        png ? QStringLiteral("Рисунок PNG (*.png)") : QStringLiteral("Рисунок SVG (*.svg)"));
    if (path.isEmpty())
        return;
    RunGuarded(seams_.reportError, [&] {
        WritePicture(path, format, parts.painting->pictureSize(),
                     parts.title + QStringLiteral(" — ТАЙНОВИД"),
                     [&](QPainter& painter) { parts.painting->paintPicture(painter); });
        status_->setText(QStringLiteral("Сохранено в \"%1\"").arg(QDir::toNativeSeparators(path)));
    });
}

}  // namespace forms
