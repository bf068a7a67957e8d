// Painting one cast for a picture file, and the whole-or-nothing writer of
// PNG and SVG files.
#include "forms/document/cast_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "base/error.h"
#include "divination/hexagrams.h"
#include "forms/kit/hexagram_figure.h"
#include "journal/journal.h"

namespace forms {

namespace {

constexpr int kWidth = 520;
constexpr int kMargin = 24;
constexpr int kFigureHeight = 150;
constexpr int kFigureWidth = 170;

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

base::Error SaveError(const QString& path, const QString& reason) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return base::Error(
        QStringLiteral("Не удалось сохранить файл \"%1\". %2").arg(shown, reason).toStdString());
}

QFont Font(int pixels, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString Title(const consultation::Entry& entry) {
    return QStringLiteral("Гексаграмма ") +
           Utf8(divination::NumberAndName(entry.interpretation.hexagram));
}

QString Question(const consultation::Entry& entry) {
    return entry.question.empty() ? QString() : QStringLiteral("Вопрос: ") + Utf8(entry.question);
}

// The height the question's text takes when wrapped to the picture's width.
qreal QuestionHeight(const consultation::Entry& entry) {
    const QString question = Question(entry);
    if (question.isEmpty())
        return 0;
    const QFontMetricsF metrics(Font(15));
    return metrics
               .boundingRect(QRectF(0, 0, kWidth - 2 * kMargin, 10000),
                             Qt::TextWordWrap | Qt::AlignLeft, question)
               .height() +
           12;
}

}  // namespace

std::optional<PictureFormat> PictureFormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return PictureFormat::Png;
    if (suffix == QLatin1String("svg"))
        return PictureFormat::Svg;
    return std::nullopt;
}

void WritePicture(const QString& path, PictureFormat format, QSize size, const QString& title,
                  const std::function<void(QPainter&)>& paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SaveError(path, file.errorString());
    if (format == PictureFormat::Png) {
        QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            paint(painter);
        }
        if (!image.save(&file, "PNG"))
            throw SaveError(path, file.errorString());
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(title);
        svg.setDescription(QStringLiteral("ТАЙНОВИД"));
        QPainter painter;
        if (!painter.begin(&svg))
            throw SaveError(path, file.errorString());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        paint(painter);
        painter.end();
    }
    if (!file.commit())
        throw SaveError(path, file.errorString());
}

QSize CastPictureSize(const consultation::Entry& entry) {
    const qreal top = kMargin + 34 + (entry.castAt.empty() ? 0 : 24) + QuestionHeight(entry);
    return {kWidth, qRound(top + kFigureHeight + 60 + kMargin)};
}

void PaintCastPicture(QPainter& painter, const consultation::Entry& entry) {
    const divination::Interpretation& reading = entry.interpretation;
    const qreal width = kWidth - 2 * kMargin;
    qreal y = kMargin;
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.setFont(Font(22, true));
    painter.drawText(QRectF(kMargin, y, width, 30), Qt::AlignLeft | Qt::AlignVCenter, Title(entry));
    y += 34;
    painter.setFont(Font(15));
    if (!entry.castAt.empty()) {
        painter.setPen(QColor(0x50, 0x50, 0x50));
        painter.drawText(QRectF(kMargin, y, width, 22), Qt::AlignLeft | Qt::AlignVCenter,
                         Utf8(journal::RussianDateTime(entry.castAt)));
        y += 24;
    }
    if (const qreal height = QuestionHeight(entry)) {
        painter.setPen(QColor(0x20, 0x20, 0x20));
        painter.drawText(QRectF(kMargin, y, width, height), Qt::TextWordWrap | Qt::AlignLeft,
                         Question(entry));
        y += height;
    }
    y += 8;
    const QRectF cast(kMargin, y, kFigureWidth, kFigureHeight);
    PaintFigure(painter, cast, reading.subject.values);
    painter.setFont(Font(14));
    painter.setPen(QColor(0x20, 0x20, 0x20));
    const QRectF caption(kMargin, y + kFigureHeight + 8, width, 44);
    if (!reading.second) {
        painter.drawText(caption, Qt::TextWordWrap | Qt::AlignLeft,
                         QStringLiteral("Изменяющихся черт нет: второй гексаграммы нет."));
        return;
    }
    const qreal secondLeft = kWidth - kMargin - kFigureWidth;
    painter.setFont(Font(34));
    painter.drawText(
        QRectF(kMargin + kFigureWidth, y, secondLeft - kMargin - kFigureWidth, kFigureHeight),
        Qt::AlignCenter, QStringLiteral("→"));
    PaintFigure(painter, QRectF(secondLeft, y, kFigureWidth, kFigureHeight),
                divination::RestingValues(reading.second));
    painter.setFont(Font(14));
    painter.drawText(
        caption, Qt::TextWordWrap | Qt::AlignLeft,
        QStringLiteral("Вторая гексаграмма: ") + Utf8(divination::NumberAndName(reading.second)));
}

void WriteCastPicture(const consultation::Entry& entry, const QString& path, PictureFormat format) {
    if (!entry.interpretation.complete())
        throw base::Error(
            "Нечего сохранять: бросьте все шесть черт или откройте гадание из журнала");
    WritePicture(path, format, CastPictureSize(entry), Title(entry),
                 [&](QPainter& painter) { PaintCastPicture(painter, entry); });
}

}  // namespace forms
