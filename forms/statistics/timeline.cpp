// Painting the rows of the timeline in sight, and the timeline's picture.
#include "forms/statistics/timeline.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

#include "divination/hexagrams.h"

namespace forms::statistics {

namespace {

constexpr qreal kFigureWidth = 22;
constexpr qreal kFigureHeight = 30;
constexpr qreal kGap = 8;

QString ShortDate(qint64 moment) {
    // "8 дек 2026": the day the row begins with, short enough for its margin.
    const QString full = MomentText(moment);
    const qsizetype comma = full.indexOf(QLatin1Char(','));
    QString date = comma > 0 ? full.left(comma) : full;
    const QStringList words = date.split(QLatin1Char(' '));
    if (words.size() == 3)
        date = words[0] + QLatin1Char(' ') + words[1].left(3) + QLatin1Char(' ') + words[2];
    return date;
}

}  // namespace

QString MomentText(qint64 moment) {
    return QString::fromStdString(
        journal::RussianDateTime(journal::LocalTimestamp(static_cast<std::time_t>(moment))));
}

Timeline::Timeline(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    verticalScrollBar()->setSingleStep(kRowHeight / 3);
    setMinimumSize(320, 200);
}

void Timeline::setPoints(const std::vector<journal::Statistics::Point>* points) {
    points_ = points;
    verticalScrollBar()->setValue(0);
    updateScrollBar();
    viewport()->update();
}

int Timeline::count() const {
    return points_ ? static_cast<int>(points_->size()) : 0;
}

int Timeline::perRowAt(int width) const {
    return std::max(1, (width - kDateWidth - 8) / kSlotWidth);
}

int Timeline::perRow() const {
    return perRowAt(viewport()->width());
}

int Timeline::firstShown() const {
    return std::min(count(), verticalScrollBar()->value() / kRowHeight * perRow());
}

void Timeline::scrollToEntry(int index) {
    verticalScrollBar()->setValue(index / perRow() * kRowHeight);
}

void Timeline::updateScrollBar() {
    const int rows = (count() + perRow() - 1) / perRow();
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, rows * kRowHeight - viewport()->height()));
}

void Timeline::resizeEvent(QResizeEvent* event) {
    // Keep the first entry in sight in sight when the rows wrap anew.
    const int first = points_ ? firstShown() : 0;
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
    scrollToEntry(first);
}

void Timeline::paintRows(QPainter& painter, Span span, int perRow, int firstRow, int lastRow,
                         qreal top, qreal width) const {
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int first = span.start + row * perRow;
        if (first >= span.end)
            break;
        const qreal y = top + (row - firstRow) * kRowHeight;
        painter.setPen(QColor(0x50, 0x50, 0x50));
        painter.drawText(QRectF(4, y + 4, kDateWidth - 8, 18), Qt::AlignLeft | Qt::AlignVCenter,
                         ShortDate((*points_)[first].moment));
        painter.setPen(QPen(QColor(0xE4, 0xE4, 0xE4), 1));
        painter.drawLine(QPointF(0, y + kRowHeight - 0.5), QPointF(width, y + kRowHeight - 0.5));
        const int last = std::min(span.end, first + perRow);
        for (int i = first; i < last; ++i) {
            const divination::LineValues& values = (*points_)[i].values;
            const qreal x = kDateWidth + (i - first) * kSlotWidth + (kSlotWidth - kFigureWidth) / 2;
            PaintSmallFigure(painter, QRectF(x, y + 6, kFigureWidth, kFigureHeight), values);
            const int second = divination::RelatingHexagram(values);
            const QRectF below(x, y + 6 + kFigureHeight + kGap, kFigureWidth, kFigureHeight);
            if (second) {
                PaintSmallFigure(painter, below, divination::RestingValues(second));
            } else {
                painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1));
                painter.drawLine(QPointF(below.left() + 6, below.center().y()),
                                 QPointF(below.right() - 6, below.center().y()));
            }
        }
    }
}

void Timeline::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    if (!count()) {
        painter.setPen(QColor(0x50, 0x50, 0x50));
        painter.drawText(viewport()->rect(), Qt::AlignCenter, QStringLiteral("Записей нет"));
        return;
    }
    const int offset = verticalScrollBar()->value();
    const int firstRow = offset / kRowHeight;
    const int lastRow = (offset + viewport()->height()) / kRowHeight;
    paintRows(painter, {0, count()}, perRow(), firstRow, lastRow, firstRow * kRowHeight - offset,
              viewport()->width());
}

int Timeline::entryAt(const QPoint& point) const {
    if (point.x() < kDateWidth)
        return -1;
    const int row = (point.y() + verticalScrollBar()->value()) / kRowHeight;
    const int column = (point.x() - kDateWidth) / kSlotWidth;
    if (column >= perRow())
        return -1;
    const int index = row * perRow() + column;
    return index < count() ? index : -1;
}

bool Timeline::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = entryAt(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            return true;
        }
        const journal::Statistics::Point& point = (*points_)[index];
        QString text =
            MomentText(point.moment) + QLatin1Char('\n') +
            QString::fromStdString(divination::NumberAndName(divination::HexagramOf(point.values)));
        if (const int second = divination::RelatingHexagram(point.values))
            text +=
                QStringLiteral(" → ") + QString::fromStdString(divination::NumberAndName(second));
        QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QSize Timeline::pictureSize() const {
    const int width = std::max(640, viewport()->width());
    const int shown = std::min(kMostInPicture, count() - firstShown());
    const int rows = std::max(1, (shown + perRowAt(width) - 1) / perRowAt(width));
    return {width, kLegendHeight + 8 + rows * kRowHeight};
}

void Timeline::paintPicture(QPainter& painter) const {
    const QSize size = pictureSize();
    PaintTrigramLegend(painter, QRectF(8, 4, size.width() - 16, kLegendHeight));
    const int start = firstShown();
    const Span span{start, std::min(count(), start + kMostInPicture)};
    const int per = perRowAt(size.width());
    paintRows(painter, span, per, 0, (span.end - span.start + per - 1) / per - 1, kLegendHeight + 8,
              size.width());
}

}  // namespace forms::statistics
