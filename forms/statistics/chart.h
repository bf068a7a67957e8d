// What every chart of «Статистика» shares: the picture it saves, the table
// that says the same numbers for a screen reader and the keyboard, and the
// trigrams' names and colours the charts mark them by.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

#include "divination/changes.h"

class QPainter;
class QRectF;

namespace forms::statistics {

// A chart painted the same on the screen and into a picture file.
class Chart {
public:
    virtual ~Chart() = default;
    // The size a picture of it takes, in logical pixels.
    virtual QSize pictureSize() const = 0;
    virtual void paintPicture(QPainter& painter) const = 0;
};

// A table read cell by cell when the view asks: the timeline's 100,000
// rows cost nothing until they are seen. A cell gives a number (sorted as
// one) or a text.
class FunctionTable : public QAbstractTableModel {
public:
    using Cell = std::function<QVariant(int row, int column)>;

    explicit FunctionTable(QStringList headers, QObject* parent = nullptr);
    void reset(int rows, Cell cell);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList headers_;
    int rows_ = 0;
    Cell cell_;
};

// «Небо», «Озеро», … for the trigrams 1…8 as the table numbers them.
QString TrigramName(int trigram);

// Eight colours told apart also by those who do not see red and green
// (after Okabe and Ito), each trigram's own.
QColor TrigramColor(int trigram);

// The trigram's three lines, line 1 at the bottom, in its colour.
void PaintTrigram(QPainter& painter, const QRectF& area, int trigram);

// A small figure for the timeline: each trigram's lines in its colour, a
// dark dot on each changing line.
void PaintSmallFigure(QPainter& painter, const QRectF& area, const divination::LineValues& values);

// A row of the eight trigrams with their names, as a legend.
void PaintTrigramLegend(QPainter& painter, const QRectF& area);
inline constexpr int kLegendHeight = 26;

// "12 345", a count as Russian groups its digits.
QString Count(qint64 count);
// "12,5 %".
QString Percent(double share);

}  // namespace forms::statistics
