// A hexagram drawn as the tradition draws it: line 1 at the bottom, each line
// numbered as in the glyph list, changing lines in their own colour with the
// tradition's marks (○ on a changing solid line, × on a changing broken one).
// Drawn as shapes, so it is sharp at any scale.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QWidget>

#include "divination/changes.h"

class QPainter;

namespace forms {

inline const QColor kChangingLineColor(0xB0, 0x1E, 0x1E);

void PaintFigure(QPainter& painter, const QRectF& area, const divination::LineValues& values);

QImage FigureImage(const divination::LineValues& values, QSize logicalSize, qreal devicePixelRatio);

// The spoken form: «Черта 3: сплошная, изменяющаяся».
QString LineDescription(int lineNumber, int value);

// The figure as a widget, with a screen reader's description of every line.
class HexagramFigure : public QWidget {
public:
    explicit HexagramFigure(QWidget* parent = nullptr);
    void setValues(const divination::LineValues& values);
    QSize sizeHint() const override { return {150, 132}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    divination::LineValues values_{};
};

}  // namespace forms
