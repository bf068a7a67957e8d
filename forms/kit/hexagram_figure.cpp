// Painting a hexagram's six lines, for the windows and for print.
#include "forms/kit/hexagram_figure.h"

#include <QPainter>
#include <QStringList>

namespace forms {

void PaintFigure(QPainter& painter, const QRectF& area, const divination::LineValues& values) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal row = area.height() / 6;
    const qreal thickness = row * 0.5;
    const qreal numberWidth = row * 1.1;
    const qreal markWidth = row * 1.1;
    const qreal left = area.left() + numberWidth;
    const qreal width = area.width() - numberWidth - markWidth;
    QFont font = painter.font();
    font.setPixelSize(qMax(8, qRound(row * 0.6)));
    painter.setFont(font);
    for (int line = 1; line <= 6; ++line) {
        const int value = values[line - 1];
        const qreal top = area.top() + (6 - line) * row + (row - thickness) / 2;
        const QColor color =
            divination::IsChanging(value) ? kChangingLineColor : QColor(0x20, 0x20, 0x20);
        painter.setPen(QColor(0x50, 0x50, 0x50));
        painter.drawText(QRectF(area.left(), top - row / 4, numberWidth * 0.8, thickness + row / 2),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(line));
        const QRectF bar(left, top, width, thickness);
        if (!value) {
            // Not cast yet: the place of the line, outlined.
            painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(bar.adjusted(0.5, 0.5, -0.5, -0.5));
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        if (divination::LineOfValue(value) == divination::Line::Solid) {
            painter.drawRect(bar);
        } else {
            const qreal half = width * 0.42;
            painter.drawRect(QRectF(left, top, half, thickness));
            painter.drawRect(QRectF(left + width - half, top, half, thickness));
        }
        if (divination::IsChanging(value)) {
            const QRectF mark(left + width + markWidth * 0.25, top - thickness * 0.1,
                              thickness * 1.2, thickness * 1.2);
            painter.setPen(QPen(color, qMax<qreal>(1.5, thickness * 0.22)));
            painter.setBrush(Qt::NoBrush);
            if (value == divination::kChangingSolid) {
                painter.drawEllipse(mark);
            } else {
                painter.drawLine(mark.topLeft(), mark.bottomRight());
                painter.drawLine(mark.topRight(), mark.bottomLeft());
            }
        }
    }
    painter.restore();
}

QImage FigureImage(const divination::LineValues& values, QSize logicalSize,
                   qreal devicePixelRatio) {
    QImage image(logicalSize * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaintFigure(painter, QRectF(QPointF(0, 0), QSizeF(logicalSize)), values);
    return image;
}

QString LineDescription(int lineNumber, int value) {
    QString text = QStringLiteral("Черта %1: ").arg(lineNumber);
    if (!value)
        return text + QStringLiteral("не брошена");
    text += divination::LineOfValue(value) == divination::Line::Solid
                ? QStringLiteral("сплошная")
                : QStringLiteral("прерывистая");
    if (divination::IsChanging(value))
        text += QStringLiteral(", изменяющаяся");
    return text;
}

HexagramFigure::HexagramFigure(QWidget* parent) : QWidget(parent) {
    setMinimumSize(100, 88);
    setValues({});
}

void HexagramFigure::setValues(const divination::LineValues& values) {
    values_ = values;
    QStringList lines;
    for (int line = 6; line >= 1; --line)
        lines << LineDescription(line, values[line - 1]);
    setAccessibleDescription(lines.join(QStringLiteral("; ")));
    update();
}

void HexagramFigure::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal side = qMin<qreal>(width(), height() * 1.15);
    PaintFigure(painter, QRectF((width() - side) / 2, 0, side, height()), values_);
}

}  // namespace forms
