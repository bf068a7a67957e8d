// «Статистика»: what the entries the journal window shows have in common,
// so a search is a topic — how often each hexagram came (and each second
// one), the line values against what the method should give with a verdict,
// the changing line positions, the trigrams below and above, the casts by
// month and the timeline of the figures. Every chart has its table beside
// it and saves as PNG and SVG.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <vector>

#include "forms/document/cast_picture.h"
#include "forms/kit/error_report.h"
#include "journal/journal.h"

class QLabel;
class QTabWidget;
class QTableView;

namespace forms::statistics {
class BarChart;
class Chart;
class FunctionTable;
class HexagramMap;
class Timeline;
}  // namespace forms::statistics

namespace forms {

inline const QString kStatisticsTitle = QStringLiteral("Статистика");

class StatisticsWindow : public QDialog {
    Q_OBJECT

public:
    // What the window asks of the rest of the program; tests answer these.
    struct Seams {
        // The journal; nullptr when it can't be had (the caller has said why).
        std::function<journal::Journal*()> journal;
        ErrorReporter reportError;  // default: the error box
        // A file to write; empty when the user cancels. Default: the dialog.
        std::function<QString(const QString& caption, const QString& filter)> chooseFile;
    };

    // The charts by tab, in order.
    enum Page { Hexagrams, Seconds, Values, ChangedLines, Trigrams, Months, Sequence, PageCount };

    explicit StatisticsWindow(Seams seams, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    // Reads the statistics of the entries the query finds and shows them.
    void showFor(const journal::Query& query);
    // Shows statistics already read, with the words that say what they are of.
    void setStatistics(journal::Statistics statistics, const QString& topic);
    const journal::Statistics& statistics() const { return statistics_; }

    // «Сохранить как PNG…» / «…SVG…» of a page's chart.
    void saveChart(Page page, PictureFormat format);

    QTabWidget* tabs() const { return tabs_; }
    QTableView* table(Page page) const;
    statistics::Chart* chart(Page page) const;
    QWidget* chartWidget(Page page) const;
    // The verdicts on the line values, one sentence a method.
    QString verdicts() const;

private:
    struct PageParts {
        QWidget* chart = nullptr;
        statistics::Chart* painting = nullptr;
        statistics::FunctionTable* model = nullptr;
        QTableView* table = nullptr;
        QString title;
    };
    QWidget* makePage(Page page, const char* key, const QString& title, const QString& caption,
                      QWidget* chart, statistics::Chart* painting, const QStringList& headers,
                      bool sortable);
    void fillHexagramPages();
    void fillValuesPage();
    void fillLinePages();
    void fillMonthsAndSequence();

    Seams seams_;
    journal::Statistics statistics_;
    QTabWidget* tabs_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* verdicts_ = nullptr;
    QLabel* status_ = nullptr;
    statistics::HexagramMap* hexagramMap_ = nullptr;
    statistics::HexagramMap* secondMap_ = nullptr;
    statistics::BarChart* valuesChart_ = nullptr;
    statistics::BarChart* linesChart_ = nullptr;
    statistics::BarChart* trigramsChart_ = nullptr;
    statistics::BarChart* monthsChart_ = nullptr;
    statistics::Timeline* timeline_ = nullptr;
    std::vector<PageParts> pages_;
};

// What a query keeps, in words: «поиск «дорога», гексаграмма 29 в гадании».
// Empty for the whole journal.
QString TopicText(const journal::Query& query);

}  // namespace forms
