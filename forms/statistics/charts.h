// The charts painted by hand: the 8 × 8 map of the hexagrams laid out as
// the program's table, and bars with the expected share marked beside each.
#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "forms/statistics/chart.h"

namespace forms::statistics {

// How often each hexagram came, on the table's grid: a row for each upper
// trigram, a column for each lower one, darker for more.
class HexagramMap : public QWidget, public Chart {
public:
    explicit HexagramMap(QWidget* parent = nullptr);
    void setCounts(const std::array<qint64, 64>& counts);
    const std::array<qint64, 64>& counts() const { return counts_; }

    QSize sizeHint() const override { return {560, 520}; }
    QSize minimumSizeHint() const override { return {320, 300}; }
    QSize pictureSize() const override { return {640, 600}; }
    void paintPicture(QPainter& painter) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paint(QPainter& painter, const QRectF& area) const;
    std::array<qint64, 64> counts_{};
};

// One bar a category; a group's label under its bars; a mark of the
// expected value where there is one.
struct BarData {
    QStringList categories;
    std::vector<double> values;
    std::vector<double> expected;  // empty, or one per category (negative: none)
    std::vector<QColor> colors;    // empty, or one per category
    struct Group {
        QString label;
        int size = 0;
    };
    std::vector<Group> groups;  // empty, or the categories in runs
    bool percent = false;       // the values are shares, shown as per cent
};

class BarChart : public QWidget, public Chart {
public:
    explicit BarChart(QWidget* parent = nullptr);
    void setData(BarData data);
    const BarData& data() const { return data_; }

    QSize sizeHint() const override { return {560, 360}; }
    QSize minimumSizeHint() const override { return {300, 220}; }
    QSize pictureSize() const override;
    void paintPicture(QPainter& painter) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paint(QPainter& painter, const QRectF& area) const;
    BarData data_;
};

}  // namespace forms::statistics
