// Painting the hexagram map and the bar charts, on the screen and into files.
#include "forms/statistics/charts.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "divination/hexagrams.h"

namespace forms::statistics {

namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kGrid(0xD8, 0xD8, 0xD8);

QFont Pixels(const QFont& base, int pixels, bool bold = false) {
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// White to a deep blue, one hue so the order reads also without colour.
QColor Shade(double level) {
    level = std::clamp(level, 0.0, 1.0);
    const QColor low(0xF7, 0xFB, 0xFF), high(0x08, 0x30, 0x6B);
    auto mix = [&](int a, int b) { return qRound(a + (b - a) * level); };
    return QColor(mix(low.red(), high.red()), mix(low.green(), high.green()),
                  mix(low.blue(), high.blue()));
}

// A round step for the value axis: 1, 2 or 5 times a power of ten.
double NiceStep(double top, int ticks) {
    const double raw = std::max(top / ticks, 1e-9);
    const double power = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

}  // namespace

HexagramMap::HexagramMap(QWidget* parent) : QWidget(parent) {
    setMinimumSize(minimumSizeHint());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void HexagramMap::setCounts(const std::array<qint64, 64>& counts) {
    counts_ = counts;
    update();
}

void HexagramMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    paint(painter, rect());
}

void HexagramMap::paintPicture(QPainter& painter) const {
    paint(painter, QRectF(QPointF(0, 0), pictureSize()));
}

void HexagramMap::paint(QPainter& painter, const QRectF& area) const {
    // Above the columns each lower trigram with its name, left of the rows
    // each upper one: the grid reads without the legend.
    const qreal unit = std::min(area.width(), area.height());
    const qreal top = unit * 0.13, left = unit * 0.2;
    const qreal cell = std::min((area.width() - left) / 8, (area.height() - top) / 8);
    const QPointF origin(area.left() + (area.width() - left - 8 * cell) / 2 + left,
                         area.top() + top);
    const qint64 most = std::max<qint64>(1, *std::max_element(counts_.begin(), counts_.end()));
    const QFont base = painter.font();
    painter.setFont(Pixels(base, std::max(9, qRound(cell * 0.17))));
    const qreal side = cell * 0.36;
    for (int i = 1; i <= 8; ++i) {
        const qreal x = origin.x() + (i - 1) * cell;
        PaintTrigram(painter, QRectF(x + (cell - side) / 2, origin.y() - side * 1.3, side, side),
                     i);
        const qreal y = origin.y() + (i - 1) * cell;
        PaintTrigram(painter, QRectF(origin.x() - side * 1.3, y + (cell - side) / 2, side, side),
                     i);
        painter.setPen(kInk);
        painter.drawText(QRectF(x, area.top(), cell, origin.y() - side * 1.3 - area.top()),
                         Qt::AlignHCenter | Qt::AlignBottom, TrigramName(i));
        painter.drawText(QRectF(area.left(), y, origin.x() - side * 1.5 - area.left(), cell),
                         Qt::AlignRight | Qt::AlignVCenter, TrigramName(i));
    }
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 8; ++column) {
            const int hexagram = divination::HexagramAt(row, column);
            const qint64 count = counts_[hexagram - 1];
            const double level = count ? 0.12 + 0.88 * double(count) / double(most) : 0;
            const QRectF box(origin.x() + (column - 1) * cell, origin.y() + (row - 1) * cell, cell,
                             cell);
            painter.setPen(QPen(kGrid, 1));
            painter.setBrush(Shade(level));
            painter.drawRect(box);
            const QColor text = level > 0.45 ? QColor(Qt::white) : kInk;
            painter.setPen(text);
            painter.setFont(Pixels(base, std::max(8, qRound(cell * 0.2))));
            painter.drawText(box.adjusted(cell * 0.08, cell * 0.04, 0, 0),
                             Qt::AlignLeft | Qt::AlignTop, QString::number(hexagram));
            painter.setFont(Pixels(base, std::max(9, qRound(cell * 0.28)), true));
            painter.drawText(box.adjusted(0, cell * 0.18, 0, 0), Qt::AlignCenter, Count(count));
        }
    }
    painter.setFont(base);
}

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(minimumSizeHint());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BarChart::setData(BarData data) {
    data_ = std::move(data);
    update();
}

QSize BarChart::pictureSize() const {
    return {std::max(640, 90 + 26 * int(data_.categories.size())), 400};
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    paint(painter, rect());
}

void BarChart::paintPicture(QPainter& painter) const {
    paint(painter, QRectF(QPointF(0, 0), pictureSize()));
}

void BarChart::paint(QPainter& painter, const QRectF& area) const {
    const int n = int(data_.categories.size());
    const QFont base = painter.font();
    const QFont small = Pixels(base, 11);
    painter.setFont(small);
    const qreal groupsHeight = data_.groups.empty() ? 0 : 20;
    const QRectF plot = area.adjusted(64, 16, -16, -(28 + groupsHeight));
    double top = 0;
    for (std::size_t i = 0; i < data_.values.size(); ++i)
        top = std::max({top, data_.values[i], i < data_.expected.size() ? data_.expected[i] : 0});
    const double step = NiceStep(top > 0 ? top : 1, 5);
    // Headroom above the tallest bar, so a mark of the expected value on it shows.
    top = std::max(step, std::ceil(top * 1.06 / step) * step);
    auto yOf = [&](double v) { return plot.bottom() - plot.height() * v / top; };
    for (double v = 0; v <= top + step / 2; v += step) {
        painter.setPen(QPen(kGrid, 1));
        painter.drawLine(QPointF(plot.left(), yOf(v)), QPointF(plot.right(), yOf(v)));
        painter.setPen(kInk);
        const QString label = data_.percent ? Percent(v) : Count(qRound64(v));
        painter.drawText(QRectF(area.left(), yOf(v) - 8, plot.left() - area.left() - 6, 16),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    if (n == 0) {
        painter.setFont(base);
        return;
    }
    const qreal slot = plot.width() / n;
    // Labels thinned to one in `every` where they would run into each other.
    const qreal labelWidth = QFontMetricsF(small).horizontalAdvance(data_.categories.value(0)) + 8;
    const int every = std::max(1, int(std::ceil(labelWidth / slot)));
    for (int i = 0; i < n; ++i) {
        const qreal left = plot.left() + i * slot;
        const double value = i < int(data_.values.size()) ? data_.values[i] : 0;
        const QRectF bar(left + slot * 0.15, yOf(value), slot * 0.7, plot.bottom() - yOf(value));
        painter.setPen(QPen(QColor(0, 0, 0, 90), 0.6));
        painter.setBrush(i < int(data_.colors.size()) ? data_.colors[i] : QColor(0x31, 0x82, 0xBD));
        painter.drawRect(bar);
        if (i < int(data_.expected.size()) && data_.expected[i] >= 0) {
            // The expected value: a dark tick across the bar's place.
            painter.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::FlatCap));
            const qreal y = yOf(data_.expected[i]);
            painter.drawLine(QPointF(left + slot * 0.05, y), QPointF(left + slot * 0.95, y));
        }
        if (i % every == 0) {
            painter.setPen(kInk);
            painter.drawText(
                QRectF(left - slot * (every - 1) / 2.0, plot.bottom() + 4, slot * every, 18),
                Qt::AlignHCenter | Qt::AlignTop, data_.categories[i]);
        }
    }
    int first = 0;
    painter.setFont(Pixels(base, 12, true));
    for (const BarData::Group& group : data_.groups) {
        const QRectF span(plot.left() + first * slot, plot.bottom() + 24, group.size * slot,
                          groupsHeight);
        painter.setPen(QPen(kGrid, 1));
        if (first > 0)
            painter.drawLine(QPointF(span.left(), plot.top()), QPointF(span.left(), span.bottom()));
        painter.setPen(kInk);
        painter.drawText(span, Qt::AlignCenter | Qt::TextWordWrap, group.label);
        first += group.size;
    }
    painter.setPen(QPen(kInk, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.setFont(base);
}

}  // namespace forms::statistics
