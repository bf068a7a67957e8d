// The table model read on demand, the trigrams' names, colours and figures.
#include "forms/statistics/chart.h"

#include <QLocale>
#include <QPainter>

namespace forms::statistics {

FunctionTable::FunctionTable(QStringList headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)) {}

void FunctionTable::reset(int rows, Cell cell) {
    beginResetModel();
    rows_ = rows;
    cell_ = std::move(cell);
    endResetModel();
}

int FunctionTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int FunctionTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant FunctionTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !cell_)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return cell_(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const QVariant value = cell_(index.row(), index.column());
        return value.typeId() == QMetaType::QString
                   ? QVariant(int(Qt::AlignLeft | Qt::AlignVCenter))
                   : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
    }
    return {};
}

QVariant FunctionTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < headers_.size() ? headers_[section] : QVariant();
}

QString TrigramName(int trigram) {
    static const std::array<const char*, 8> kNames = {"Небо",  "Озеро", "Огонь", "Гром",
                                                      "Ветер", "Вода",  "Гора",  "Земля"};
    return trigram >= 1 && trigram <= 8 ? QString::fromUtf8(kNames[trigram - 1]) : QString();
}

QColor TrigramColor(int trigram) {
    // Okabe–Ito's eight, black lightened to a slate so the changing lines'
    // dark dots stand out on every one.
    static const std::array<QRgb, 8> kColors = {0x56B4E9, 0x0072B2, 0xD55E00, 0xCC79A7,
                                                0x009E73, 0x4D5A6A, 0xE69F00, 0xF0E442};
    return trigram >= 1 && trigram <= 8 ? QColor(kColors[trigram - 1]) : QColor(Qt::gray);
}

namespace {

// One line as a bar, solid or broken, with a thin dark edge so the light
// colours hold on white.
void PaintBar(QPainter& painter, const QRectF& bar, bool solid, const QColor& color) {
    painter.setPen(QPen(QColor(0, 0, 0, 90), 0.6));
    painter.setBrush(color);
    if (solid) {
        painter.drawRect(bar);
    } else {
        const qreal half = bar.width() * 0.42;
        painter.drawRect(QRectF(bar.left(), bar.top(), half, bar.height()));
        painter.drawRect(QRectF(bar.right() - half, bar.top(), half, bar.height()));
    }
}

}  // namespace

void PaintTrigram(QPainter& painter, const QRectF& area, int trigram) {
    // TrigramNumber: 1 + 4·(line 1 broken) + 2·(line 2 broken) + (line 3 broken).
    const int bits = trigram - 1;
    const qreal row = area.height() / 3;
    for (int line = 1; line <= 3; ++line) {
        const bool broken = (bits >> (3 - line)) & 1;
        const QRectF bar(area.left(), area.top() + (3 - line) * row + row * 0.2, area.width(),
                         row * 0.6);
        PaintBar(painter, bar, !broken, TrigramColor(trigram));
    }
}

void PaintSmallFigure(QPainter& painter, const QRectF& area, const divination::LineValues& values) {
    const divination::Lines lines = divination::LinesOf(values);
    const int below = divination::FirstTrigram(lines);
    const int above = divination::SecondTrigram(lines);
    const qreal row = area.height() / 6;
    for (int line = 1; line <= 6; ++line) {
        const int value = values[line - 1];
        if (!divination::IsLineValue(value))
            continue;
        const QRectF bar(area.left(), area.top() + (6 - line) * row + row * 0.18, area.width(),
                         row * 0.64);
        PaintBar(painter, bar, divination::LineOfValue(value) == divination::Line::Solid,
                 TrigramColor(line <= 3 ? below : above));
        if (divination::IsChanging(value)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x10, 0x10, 0x10));
            const qreal r = row * 0.36;
            painter.drawEllipse(bar.center(), r, r);
        }
    }
}

void PaintTrigramLegend(QPainter& painter, const QRectF& area) {
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    const qreal step = area.width() / 8;
    for (int trigram = 1; trigram <= 8; ++trigram) {
        const qreal left = area.left() + (trigram - 1) * step;
        PaintTrigram(painter, QRectF(left + 2, area.top() + 4, 22, area.height() - 8), trigram);
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawText(QRectF(left + 28, area.top(), step - 30, area.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, TrigramName(trigram));
    }
}

QString Count(qint64 count) {
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    return russian.toString(count);
}

QString Percent(double share) {
    static const QLocale russian(QLocale::Russian, QLocale::Russia);
    return russian.toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

}  // namespace forms::statistics
