// The document of casts. Each entry is first said as a list of pieces (a
// title, fields, the figure, headings, paragraphs); the rich document and the
// plain text are two ways of setting the same pieces, so a print, a PDF, an
// HTML file and a text file never say different things.
#include "forms/document/cast_document.h"
#include "forms/document/document_pages.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <exception>
#include <map>
#include <set>
#include <string>

#include "base/error.h"
#include "base/text_file.h"
#include "divination/hexagrams.h"
#include "divination/line_texts.h"
#include "forms/kit/hexagram_figure.h"

namespace forms {

namespace {

// The figure's place on the page, in the document's pixels; drawn at twice
// that so that print and PDF keep it sharp.
constexpr QSize kFigureSize{150, 132};
constexpr qreal kFigureScale = 2;

// Title: the entry's date (h1). Heading: its hexagram (h2). Subheading: the
// heading over the line texts and the reading's own title (h2). Section: a
// section of the reading (h2). LineHeading: one line's text (h3). The
// «Толкование» window sets its texts in the same order.
enum class Kind {
    Title,
    Field,
    Figure,
    Heading,
    LineHeading,
    Subheading,
    Section,
    Paragraph,
    Notice
};

int HeadingLevel(Kind kind) {
    switch (kind) {
        case Kind::Title:
            return 1;
        case Kind::Heading:
        case Kind::Subheading:
        case Kind::Section:
            return 2;
        case Kind::LineHeading:
            return 3;
        default:
            return 0;
    }
}

struct Piece {
    Kind kind;
    QString text;
    divination::LineValues values{};  // Figure only
};

QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The text files one document reads, each read once however many entries
// name it: a journal printed whole names the same readings again and again.
class TextFiles {
public:
    struct Loaded {
        std::string text;
        QString error;  // the failure's own text; empty when read
    };

    const Loaded& get(const std::string& windowsPath) {
        auto found = files_.find(windowsPath);
        if (found == files_.end()) {
            Loaded loaded;
            try {
                loaded.text = base::LoadText(windowsPath);
            } catch (const std::exception& error) {
                loaded.error = QString::fromUtf8(error.what());
            }
            found = files_.emplace(windowsPath, std::move(loaded)).first;
        }
        return found->second;
    }

private:
    std::map<std::string, Loaded> files_;
};

// One line in the document for a file that could not be read: the entry
// goes on with what it has.
Piece UnreadNotice(const QString& error) {
    return {Kind::Notice, QStringLiteral("Текст не прочитан: ") + error + QLatin1Char('.')};
}

// The texts that answer, in the order and under the headings the
// interpretation gives, as «Толкование» sets them.
void AddAnsweringLines(std::vector<Piece>& pieces, const divination::Interpretation& reading,
                       TextFiles& files) {
    for (const divination::AnswerBlock& block : divination::AnswerBlocks(reading)) {
        switch (block.kind) {
            case divination::AnswerBlock::Kind::Heading:
                pieces.push_back({Kind::Subheading, Utf8(block.text)});
                break;
            case divination::AnswerBlock::Kind::Sentence:
                pieces.push_back({Kind::Paragraph, Utf8(block.text)});
                break;
            case divination::AnswerBlock::Kind::Line: {
                const TextFiles::Loaded& file =
                    files.get(divination::LineTextsFilePath(block.hexagram));
                if (!file.error.isEmpty())
                    pieces.push_back(UnreadNotice(file.error));
                const divination::LineTexts texts = divination::ParseLineTexts(file.text);
                // A file cut short still names the line by the tradition's heading.
                const size_t index = static_cast<size_t>(block.line - 1);
                QString heading = index < texts.lines.size()
                                      ? Utf8(texts.lines[index].heading)
                                      : Utf8(divination::LineHeading(block.hexagram, block.line));
                if (block.hexagram != reading.hexagram)
                    heading += QStringLiteral(" (гексаграмма %1)").arg(block.hexagram);
                pieces.push_back({Kind::LineHeading, heading});
                if (index < texts.lines.size() && !texts.lines[index].text.empty())
                    pieces.push_back({Kind::Paragraph, Utf8(texts.lines[index].text)});
                break;
            }
            case divination::AnswerBlock::Kind::Judgement: {
                const TextFiles::Loaded& file =
                    files.get(divination::ReadingFilePath(block.hexagram));
                pieces.push_back({Kind::LineHeading, Utf8(block.text)});
                if (!file.error.isEmpty())
                    pieces.push_back(UnreadNotice(file.error));
                else
                    pieces.push_back(
                        {Kind::Paragraph, Utf8(divination::ReadingSection(
                                              file.text, divination::kJudgementHeading))});
                break;
            }
        }
    }
}

// The hexagrams seen beside the cast, as «Толкование» lists them.
void AddRelated(std::vector<Piece>& pieces, const divination::Interpretation& reading) {
    auto field = [&](const QString& what, int hexagram) {
        pieces.push_back({Kind::Field, what + Utf8(divination::NumberAndName(hexagram))});
    };
    field(QStringLiteral("Противоположная гексаграмма: "), reading.opposite);
    field(reading.invertedIsItself ? QStringLiteral("Перевёрнутая (читается так же): ")
                                   : QStringLiteral("Перевёрнутая гексаграмма: "),
          reading.inverted);
    for (const divination::Step& step : reading.steps)
        field(QStringLiteral("Шаг перемены, черта %1: ").arg(step.line), step.hexagram);
}

void AddReading(std::vector<Piece>& pieces, int hexagram, TextFiles& files) {
    const TextFiles::Loaded& file = files.get(divination::ReadingFilePath(hexagram));
    if (!file.error.isEmpty()) {
        pieces.push_back(UnreadNotice(file.error));
        return;
    }
    // Its first line is the reading's own title.
    bool first = true;
    for (const QString& line : Utf8(file.text).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        const Kind kind = first                                              ? Kind::Subheading
                          : divination::IsSectionHeading(line.toStdString()) ? Kind::Section
                                                                             : Kind::Paragraph;
        pieces.push_back({kind, line});
        first = false;
    }
}

std::vector<Piece> EntryPieces(const consultation::Entry& entry, TextFiles& files) {
    std::vector<Piece> pieces;
    if (!entry.castAt.empty())
        pieces.push_back({Kind::Title, Utf8(journal::RussianDateTime(entry.castAt))});
    if (!entry.question.empty())
        pieces.push_back({Kind::Field, QStringLiteral("Вопрос: ") + Utf8(entry.question)});
    if (!entry.note.empty())
        pieces.push_back({Kind::Field, QStringLiteral("Заметка: ") + Utf8(entry.note)});
    const divination::Interpretation& reading = entry.interpretation;
    if (!reading.complete()) {
        pieces.push_back({Kind::Notice, QStringLiteral("Гексаграмма этого гадания не известна.")});
        return pieces;
    }
    pieces.push_back({Kind::Figure, {}, reading.subject.values});
    pieces.push_back({Kind::Heading, QStringLiteral("Гексаграмма ") +
                                         Utf8(divination::NumberAndName(reading.hexagram))});
    if (reading.second)
        pieces.push_back({Kind::Field, QStringLiteral("Вторая гексаграмма: ") +
                                           Utf8(divination::NumberAndName(reading.second))});
    pieces.push_back({Kind::Field, QStringLiteral("Ядерная гексаграмма: ") +
                                       Utf8(divination::NumberAndName(reading.nuclear))});
    AddRelated(pieces, reading);
    AddAnsweringLines(pieces, reading, files);
    AddReading(pieces, reading.hexagram, files);
    return pieces;
}

// Every entry's pieces, or nothing when the progress stopped the work.
std::optional<std::vector<std::vector<Piece>>> AllPieces(
    const std::vector<consultation::Entry>& casts, const DocumentProgress& progress) {
    TextFiles files;
    std::vector<std::vector<Piece>> entries;
    entries.reserve(casts.size());
    const int total = static_cast<int>(casts.size());
    for (int i = 0; i < total; ++i) {
        entries.push_back(EntryPieces(casts[static_cast<size_t>(i)], files));
        if (progress && !progress(i + 1, total))
            return std::nullopt;
    }
    return entries;
}

QString FigureName(const divination::LineValues& values) {
    QString name = QStringLiteral("figure-");
    for (int value : values)
        name += QString::number(value);
    return name;
}

QTextCharFormat CharFormat(qreal pointSize, bool bold, bool italic = false) {
    QTextCharFormat format;
    format.setFontPointSize(pointSize);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    return format;
}

std::unique_ptr<QTextDocument> SetDocument(const std::vector<std::vector<Piece>>& entries,
                                           const QString& title) {
    auto document = std::make_unique<QTextDocument>();
    document->setMetaInformation(QTextDocument::DocumentTitle, title);
    // A face with Cyrillic that the PDF writer can embed.
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(11);
    document->setDefaultFont(font);

    QTextCursor cursor(document.get());
    bool firstBlock = true;
    auto startBlock = [&](const QTextBlockFormat& block, const QTextCharFormat& chars) {
        if (firstBlock) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(chars);
            firstBlock = false;
        } else {
            cursor.insertBlock(block, chars);
        }
    };
    std::set<QString> figures;
    for (size_t entry = 0; entry < entries.size(); ++entry) {
        bool entryStart = true;
        for (const Piece& piece : entries[entry]) {
            QTextBlockFormat block;
            QTextCharFormat chars = CharFormat(11, false);
            block.setBottomMargin(4);
            block.setHeadingLevel(HeadingLevel(piece.kind));
            switch (HeadingLevel(piece.kind)) {
                case 1:
                    block.setBottomMargin(8);
                    chars = CharFormat(16, true);
                    break;
                case 2:
                    block.setTopMargin(10);
                    chars = CharFormat(13, true);
                    break;
                case 3:
                    block.setTopMargin(8);
                    chars = CharFormat(11, true);
                    break;
                default:
                    if (piece.kind == Kind::Notice)
                        chars = CharFormat(11, false, true);
                    break;
            }
            // Each entry begins a page: an entry is a reading long.
            if (entryStart && entry > 0)
                block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            entryStart = false;
            startBlock(block, chars);
            if (piece.kind == Kind::Figure) {
                const QString name = FigureName(piece.values);
                if (figures.insert(name).second)
                    document->addResource(QTextDocument::ImageResource, QUrl(name),
                                          FigureImage(piece.values, kFigureSize, kFigureScale));
                QTextImageFormat image;
                image.setName(name);
                image.setWidth(kFigureSize.width());
                image.setHeight(kFigureSize.height());
                cursor.insertImage(image);
            } else {
                // A note's own line breaks stay breaks inside its paragraph.
                QString text = piece.text;
                text.replace(QLatin1Char('\n'), QChar::LineSeparator);
                cursor.insertText(text, chars);
            }
        }
    }
    return document;
}

// Lines 6 down to 1, as the figure stands: number, the line in dashes, the
// tradition's mark on a changing line.
QString TextFigure(const divination::LineValues& values) {
    QStringList rows;
    for (int line = 6; line >= 1; --line) {
        const int value = values[line - 1];
        const bool solid = divination::LineOfValue(value) == divination::Line::Solid;
        QString row = QString::number(line) + QStringLiteral("  ") +
                      (solid ? QStringLiteral("—————————") : QStringLiteral("———   ———"));
        if (value == divination::kChangingSolid)
            row += QStringLiteral("  ○");
        else if (value == divination::kChangingBroken)
            row += QStringLiteral("  ×");
        rows << row;
    }
    return rows.join(QLatin1Char('\n'));
}

QString SetText(const std::vector<std::vector<Piece>>& entries) {
    QStringList parts;
    for (const std::vector<Piece>& pieces : entries) {
        QString entry;
        Kind previous = Kind::Title;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const Piece& piece = pieces[i];
            // Fields stand together under what they belong to, a line's text
            // right under its heading; everything else, the reading's own
            // blocks too, is a paragraph of its own.
            const bool underPrevious =
                (piece.kind == Kind::Field &&
                 (previous == Kind::Field || previous == Kind::Heading)) ||
                (piece.kind == Kind::Paragraph && previous == Kind::LineHeading);
            if (i > 0)
                entry += underPrevious ? QStringLiteral("\n") : QStringLiteral("\n\n");
            // Headings underlined, the entry's own title double.
            static const QChar kUnderline[] = {u' ', u'=', u'-', u'~'};
            if (const int level = HeadingLevel(piece.kind); level > 0)
                entry +=
                    piece.text + QLatin1Char('\n') + QString(piece.text.size(), kUnderline[level]);
            else if (piece.kind == Kind::Figure)
                entry += TextFigure(piece.values);
            else
                entry += piece.text;
            previous = piece.kind;
        }
        parts << entry + QLatin1Char('\n');
    }
    return parts.join(QStringLiteral("\n\n"));
}

// Draws the entries page by page. Each entry begins a page anyway, so each
// is laid out as a document of its own: a long print reports progress after
// every entry and can stop there. The pages are numbered at their foot.
// Returns false when the progress stopped it.
bool PaintEntries(const std::vector<std::vector<Piece>>& entries, QPagedPaintDevice& device,
                  QPrinter* printer, const DocumentProgress& progress) {
    QPainter painter;
    if (!painter.begin(&device))
        throw base::Error("Не удалось начать печать");
    QFont numberFont(QStringLiteral("DejaVu Serif"));
    numberFont.setPointSizeF(9);
    const QFontMetricsF numberMetrics(numberFont, &device);
    const QSizeF body(device.width(), device.height());
    const qreal footer = numberMetrics.height() * 2;
    const QSizeF pageSize(body.width(), body.height() - footer);
    // The range chosen in the print dialog; 0 for every page.
    const int fromPage = printer ? printer->fromPage() : 0;
    const int toPage = printer ? printer->toPage() : 0;
    int pageNumber = 0;
    bool firstPage = true;
    const int total = static_cast<int>(entries.size());
    for (int entry = 0; entry < total; ++entry) {
        const std::unique_ptr<QTextDocument> document =
            SetDocument({entries[static_cast<size_t>(entry)]}, {});
        // Laid out in the device's own pixels, fonts and figures scaled to it.
        document->documentLayout()->setPaintDevice(&device);
        document->setDocumentMargin(0);
        document->setPageSize(pageSize);
        KeepHeadingsWithTheirText(*document, pageSize.height());
        for (int page = 0; page < document->pageCount(); ++page) {
            ++pageNumber;
            if ((fromPage > 0 && pageNumber < fromPage) || (toPage > 0 && pageNumber > toPage))
                continue;
            if (!firstPage)
                device.newPage();
            firstPage = false;
            painter.save();
            const QRectF shown(QPointF(0, page * pageSize.height()), pageSize);
            painter.translate(0, -shown.top());
            // Only this page's lines: a line that opens the next page starts
            // on this one's lower edge and would be drawn there too, hidden
            // by the clip but found by a search and read out.
            painter.setClipRect(shown);
            document->drawContents(&painter, shown.adjusted(0, 0, 0, -1));
            painter.restore();
            painter.setFont(numberFont);
            painter.setPen(Qt::black);
            painter.drawText(QRectF(0, pageSize.height(), body.width(), footer),
                             Qt::AlignHCenter | Qt::AlignBottom, QString::number(pageNumber));
        }
        if (progress && !progress(entry + 1, total)) {
            if (printer)
                printer->abort();
            painter.end();
            return false;
        }
    }
    painter.end();
    return true;
}

base::Error SaveError(const QString& path, const QString& reason) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return base::Error(
        QStringLiteral("Не удалось сохранить файл \"%1\". %2").arg(shown, reason).toStdString());
}

// Each export is told apart by its title: a screen reader, a file manager
// and the PDF viewer's tab show it.
QString Creator() {
    return QStringLiteral("ТАЙНОВИД " TAYNOVID_VERSION);
}

}  // namespace

QString CastsTitle(const std::vector<consultation::Entry>& casts) {
    if (casts.size() != 1 || !casts.front().interpretation.complete())
        return QStringLiteral("Журнал гаданий");
    const consultation::Entry& entry = casts.front();
    QString title = QStringLiteral("Гексаграмма ") +
                    Utf8(divination::NumberAndName(entry.interpretation.hexagram));
    if (!entry.castAt.empty())
        title += QStringLiteral(" — ") + Utf8(journal::RussianDateTime(entry.castAt));
    return title;
}

std::optional<DocumentFormat> FormatOfPath(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return DocumentFormat::Pdf;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return DocumentFormat::Html;
    if (suffix == QLatin1String("txt"))
        return DocumentFormat::Text;
    return std::nullopt;
}

std::unique_ptr<QTextDocument> BuildCastDocument(const std::vector<consultation::Entry>& casts,
                                                 const DocumentProgress& progress) {
    const auto entries = AllPieces(casts, progress);
    if (!entries)
        return nullptr;
    return SetDocument(*entries, CastsTitle(casts));
}

std::optional<QString> CastsPlainText(const std::vector<consultation::Entry>& casts,
                                      const DocumentProgress& progress) {
    const auto entries = AllPieces(casts, progress);
    if (!entries)
        return std::nullopt;
    return SetText(*entries);
}

bool ExportCasts(const std::vector<consultation::Entry>& casts, const QString& path,
                 DocumentFormat format, const DocumentProgress& progress) {
    QByteArray bytes;
    std::optional<std::vector<std::vector<Piece>>> entries;
    // Text and HTML are made whole before the file is opened; a PDF is
    // drawn into the temporary, which a stop throws away. No trace either way.
    if (format == DocumentFormat::Text) {
        const std::optional<QString> text = CastsPlainText(casts, progress);
        if (!text)
            return false;
        bytes = text->toUtf8();
    } else if (format == DocumentFormat::Html) {
        const std::unique_ptr<QTextDocument> document = BuildCastDocument(casts, progress);
        if (!document)
            return false;
        bytes = SelfContainedHtml(*document);
    } else {
        entries = AllPieces(casts, {});
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SaveError(path, file.errorString());
    if (format == DocumentFormat::Pdf) {
        // Drawn whole before the language is added at its end.
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setTitle(CastsTitle(casts));
        writer.setCreator(Creator());
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 15, 15, 12), QPageLayout::Millimeter);
        if (!PaintEntries(*entries, writer, nullptr, progress))
            return false;  // the temporary goes with `file`
        file.write(WithLanguage(pdf, "ru"));
    } else {
        file.write(bytes);
    }
    if (!file.commit())
        throw SaveError(path, file.errorString());
    return true;
}

bool PrintCasts(const std::vector<consultation::Entry>& casts, QPrinter& printer,
                const DocumentProgress& progress) {
    const auto entries = AllPieces(casts, {});
    printer.setDocName(CastsTitle(casts));
    printer.setCreator(Creator());
    if (!PaintEntries(*entries, printer, &printer, progress))
        return false;
    // Printed into a file: the language added as to an export.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QFile printed(printer.outputFileName());
        if (printed.open(QIODevice::ReadOnly)) {
            const QByteArray pdf = printed.readAll();
            printed.close();
            const QByteArray amended = WithLanguage(pdf, "ru");
            QSaveFile file(printer.outputFileName());
            if (amended != pdf && file.open(QIODevice::WriteOnly)) {
                file.write(amended);
                file.commit();
            }
        }
    }
    return true;
}

}  // namespace forms
