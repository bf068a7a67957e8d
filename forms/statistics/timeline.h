// The timeline: the shown entries in date order, each the figure of the
// cast over the figure of its second hexagram, the trigrams in their
// colours, wrapped in rows so a series of readings is seen at once. Only the
// rows in sight are painted, so a hundred thousand entries cost what a
// screenful does.
#pragma once

#include <QAbstractScrollArea>

#include <vector>

#include "forms/statistics/chart.h"
#include "journal/journal.h"

namespace forms::statistics {

class Timeline : public QAbstractScrollArea, public Chart {
public:
    // The most entries a picture of the timeline holds, from the first row
    // in sight.
    static constexpr int kMostInPicture = 2000;
    static constexpr int kSlotWidth = 30;
    static constexpr int kRowHeight = 84;
    static constexpr int kDateWidth = 96;

    explicit Timeline(QWidget* parent = nullptr);
    // Points into the window's statistics, which outlive the timeline's use.
    void setPoints(const std::vector<journal::Statistics::Point>* points);

    // Entries in a row at the present width, and the first entry in sight.
    int perRow() const;
    int firstShown() const;
    // Scrolls so the row holding entry `index` is at the top.
    void scrollToEntry(int index);

    QSize sizeHint() const override { return {640, 420}; }
    QSize pictureSize() const override;
    void paintPicture(QPainter& painter) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    int count() const;
    int perRowAt(int width) const;
    void updateScrollBar();
    // Entries start…end − 1, `perRow` a row from `start`: rows first…last,
    // the first of them painted at `top`.
    struct Span {
        int start = 0, end = 0;
    };
    void paintRows(QPainter& painter, Span span, int perRow, int firstRow, int lastRow, qreal top,
                   qreal width) const;
    // The entry under a point of the viewport, or −1.
    int entryAt(const QPoint& point) const;

    const std::vector<journal::Statistics::Point>* points_ = nullptr;
};

// "8 декабря 2026, 21:14" for a moment, as the journal shows a cast's time.
QString MomentText(qint64 moment);

}  // namespace forms::statistics
