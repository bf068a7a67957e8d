// What each page of «Статистика» shows: its chart and its table filled from
// the same numbers, and the words for the topic a query is.
#include <QDate>
#include <QLabel>
#include <QLocale>

#include "divination/hexagrams.h"
#include "divination/odds.h"
#include "forms/statistics/chart.h"
#include "forms/statistics/charts.h"
#include "forms/statistics/statistics_window.h"
#include "forms/statistics/timeline.h"

namespace forms {

using namespace statistics;

namespace {

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

QString HexagramName(int n) {
    return n >= 1 && n <= 64 ? Utf8(divination::NumberAndName(n)) : QStringLiteral("—");
}

double Share(qint64 part, qint64 whole) {
    return whole > 0 ? double(part) / double(whole) : 0;
}

// "2026-12" → «декабрь 2026», or «дек 2026» where room is short.
QString MonthText(const std::string& month, bool brief) {
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    const QDate date = QDate::fromString(Utf8(month) + QStringLiteral("-01"), Qt::ISODate);
    if (!date.isValid())
        return Utf8(month);
    const QString name = brief ? russian.standaloneMonthName(date.month(), QLocale::ShortFormat)
                               : russian.standaloneMonthName(date.month());
    return name + QLatin1Char(' ') + QString::number(date.year());
}

// «1 черта», «3 черты», «446 черт».
QString LinesText(qint64 n) {
    const qint64 last = n % 10, lastTwo = n % 100;
    const bool one = last == 1 && lastTwo != 11;
    const bool few = last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14);
    return Count(n) + (one   ? QStringLiteral(" черта")
                       : few ? QStringLiteral(" черты")
                             : QStringLiteral(" черт"));
}

std::array<qint64, 64> Counts64(const std::array<std::int64_t, 64>& counts) {
    std::array<qint64, 64> result{};
    std::copy(counts.begin(), counts.end(), result.begin());
    return result;
}

}  // namespace

void StatisticsWindow::fillHexagramPages() {
    const qint64 entries = statistics_.entries;
    hexagramMap_->setCounts(Counts64(statistics_.hexagrams));
    secondMap_->setCounts(Counts64(statistics_.seconds));
    for (const Page page : {Hexagrams, Seconds}) {
        const auto& counts = page == Hexagrams ? statistics_.hexagrams : statistics_.seconds;
        pages_[page].model->reset(64, [&counts, entries](int row, int column) -> QVariant {
            const int n = row + 1;
            switch (column) {
                case 0:
                    return n;
                case 1:
                    return Utf8(std::string(divination::kHexagramNames[row].name));
                case 2:
                    return qint64(counts[row]);
                default:
                    return Percent(Share(counts[row], entries));
            }
        });
    }
}

void StatisticsWindow::fillValuesPage() {
    struct Row {
        divination::Method method;
        int value;
        qint64 count, lines;
        double expected;  // negative: none
    };
    auto rows = std::make_shared<std::vector<Row>>();
    BarData bars;
    bars.percent = true;
    QStringList verdicts;
    for (const auto& [method, counts] : statistics_.values) {
        const divination::ValueFit fit = divination::FitValues(method, counts);
        const auto shares = divination::ExpectedShares(method);
        for (int i = 0; i < 4; ++i) {
            const double expected = shares ? (*shares)[i] : -1;
            rows->push_back({method, 6 + i, counts[i], fit.lines, expected});
            bars.categories << QString::number(6 + i);
            bars.values.push_back(Share(counts[i], fit.lines));
            bars.expected.push_back(expected);
            bars.colors.push_back(divination::IsChanging(6 + i) ? QColor(0xB0, 0x1E, 0x1E)
                                                                : QColor(0x31, 0x82, 0xBD));
        }
        bars.groups.push_back({QString::fromUtf8(divination::MethodName(method)), 4});
        verdicts << QStringLiteral("<b>%1</b> (%2): %3")
                        .arg(QString::fromUtf8(divination::MethodName(method)),
                             LinesText(fit.lines), Utf8(fit.sentence).toHtmlEscaped());
    }
    valuesChart_->setData(std::move(bars));
    verdicts_->setText(verdicts.isEmpty() ? QStringLiteral("Черт для проверки нет.")
                                          : verdicts.join(QStringLiteral("<br>")));
    pages_[Values].model->reset(int(rows->size()), [rows](int r, int column) -> QVariant {
        const Row& row = (*rows)[r];
        switch (column) {
            case 0:
                return QString::fromUtf8(divination::MethodName(row.method));
            case 1:
                return row.value;
            case 2:
                return row.count;
            case 3:
                return Percent(Share(row.count, row.lines));
            case 4:
                return row.expected < 0 ? QStringLiteral("нет") : Percent(row.expected);
            default:
                return row.expected < 0
                           ? QVariant(QStringLiteral("—"))
                           : QVariant(QLocale(QLocale::Russian)
                                          .toString(row.expected * double(row.lines), 'f', 1));
        }
    });
}

void StatisticsWindow::fillLinePages() {
    const journal::Statistics& s = statistics_;
    BarData lines;
    for (int line = 1; line <= 6; ++line) {
        lines.categories << QString::number(line);
        lines.values.push_back(double(s.changedLines[line - 1]));
    }
    linesChart_->setData(std::move(lines));
    const qint64 entries = s.entries;
    pages_[ChangedLines].model->reset(6, [&s, entries](int row, int column) -> QVariant {
        if (column == 0)
            return row + 1;
        if (column == 1)
            return qint64(s.changedLines[row]);
        return Percent(Share(s.changedLines[row], entries));
    });

    BarData trigrams;
    for (const bool above : {false, true}) {
        for (int trigram = 1; trigram <= 8; ++trigram) {
            trigrams.categories << TrigramName(trigram);
            trigrams.values.push_back(double((above ? s.above : s.below)[trigram - 1]));
            trigrams.colors.push_back(TrigramColor(trigram));
        }
        trigrams.groups.push_back(
            {above ? QStringLiteral("Вверху (черты 4–6)") : QStringLiteral("Внизу (черты 1–3)"),
             8});
    }
    trigramsChart_->setData(std::move(trigrams));
    pages_[Trigrams].model->reset(8, [&s](int row, int column) -> QVariant {
        if (column == 0)
            return TrigramName(row + 1);
        return qint64(column == 1 ? s.below[row] : s.above[row]);
    });
}

void StatisticsWindow::fillMonthsAndSequence() {
    const journal::Statistics& s = statistics_;
    BarData months;
    for (const auto& [month, count] : s.months) {
        months.categories << MonthText(month, true);
        months.values.push_back(double(count));
    }
    monthsChart_->setData(std::move(months));
    pages_[Months].model->reset(int(s.months.size()), [&s](int row, int column) -> QVariant {
        if (column == 0)
            return MonthText(s.months[row].first, false);
        return qint64(s.months[row].second);
    });

    timeline_->setPoints(&s.timeline);
    pages_[Sequence].model->reset(int(s.timeline.size()), [&s](int row, int column) -> QVariant {
        const journal::Statistics::Point& point = s.timeline[row];
        if (column == 0)
            return MomentText(point.moment);
        if (column == 1)
            return HexagramName(divination::HexagramOf(point.values));
        return HexagramName(divination::RelatingHexagram(point.values));
    });
}

QString TopicText(const journal::Query& query) {
    QStringList parts;
    if (!query.text.empty())
        parts << QStringLiteral("поиск «%1»").arg(Utf8(query.text));
    if (query.hexagram) {
        static const std::array<const char*, 6> kPlaces = {"в гадании",      "во второй",
                                                           "во внутренней",  "в противоположной",
                                                           "в перевёрнутой", "в любой роли"};
        parts << QStringLiteral("гексаграмма %1 %2")
                     .arg(query.hexagram)
                     .arg(QString::fromUtf8(kPlaces[static_cast<int>(query.place)]));
    }
    if (query.changingLine)
        parts << QStringLiteral("меняется черта %1").arg(query.changingLine);
    if (query.trigram)
        parts << QStringLiteral("триграмма «%1» %2%3")
                     .arg(TrigramName(query.trigram),
                          query.trigramAbove ? QStringLiteral("вверху") : QStringLiteral("внизу"),
                          query.trigramInSecond ? QStringLiteral(" во второй гексаграмме")
                                                : QString());
    if (query.method)
        parts << QStringLiteral("способ «%1»")
                     .arg(QString::fromUtf8(divination::MethodName(*query.method)));
    if (!query.fromDate.empty())
        parts << QStringLiteral("с %1").arg(Utf8(query.fromDate));
    if (!query.toDate.empty())
        parts << QStringLiteral("по %1").arg(Utf8(query.toDate));
    if (!query.dueBy.empty())
        parts << QStringLiteral("пора вернуться к %1").arg(Utf8(query.dueBy));
    return parts.join(QStringLiteral(", "));
}

}  // namespace forms
