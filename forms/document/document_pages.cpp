// What a document's pages need beyond its pieces: HTML that holds its
// figures, the PDF's language, and headings kept with the text they head.
#include "forms/document/document_pages.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <algorithm>
#include <map>
#include <set>

namespace forms {

// The document's HTML with its figures inside it, so the file stands alone.
QByteArray SelfContainedHtml(QTextDocument& document) {
    QString html = document.toHtml();
    std::set<QString> replaced;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (!replaced.insert(name).second)
                continue;
            const QImage image =
                document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            html.replace(QStringLiteral("src=\"%1\"").arg(name),
                         QStringLiteral("src=\"data:image/png;base64,%1\"")
                             .arg(QString::fromLatin1(png.toBase64())));
        }
    }
    // The language for a screen reader; headings kept with what follows
    // them when the page is printed from a browser.
    html.replace(QStringLiteral("<html>"), QStringLiteral("<html lang=\"ru\">"));
    const qsizetype style = html.indexOf(QStringLiteral("</style>"));
    if (style >= 0)
        html.insert(style, QStringLiteral("h1, h2, h3 { page-break-after: avoid; }\n"
                                          "img { page-break-inside: avoid; }\n"));
    return html.toUtf8();
}

// Qt's PDF writer names no language, and a screen reader then guesses. The
// catalog is written again with /Lang as an incremental update appended to
// the file, the way a PDF is amended: every byte Qt wrote stays where it is.
// A file laid out otherwise than this reads it is left as it is.
QByteArray WithLanguage(const QByteArray& pdf, const QByteArray& language) {
    // The tokens of the cross-reference table and trailer: numbers, names,
    // brackets; no strings are in them but the /ID's hex ones.
    const auto tokensFrom = [&](qsizetype at, qsizetype end) {
        QList<QByteArray> tokens;
        for (const QByteArray& token : pdf.mid(at, end - at).simplified().split(' '))
            if (!token.isEmpty())
                tokens << token;
        return tokens;
    };
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    if (startxref < 0)
        return pdf;
    const QList<QByteArray> tail = tokensFrom(startxref, pdf.size());
    bool ok = false;
    const qsizetype xrefAt = tail.size() >= 2 ? tail[1].toLongLong(&ok) : 0;
    if (!ok || xrefAt <= 0 || xrefAt >= startxref || !pdf.mid(xrefAt).startsWith("xref"))
        return pdf;
    const qsizetype trailerAt = pdf.indexOf("trailer", xrefAt);
    if (trailerAt < 0 || trailerAt > startxref)
        return pdf;
    // Where each object stands, by the table.
    std::map<long long, qsizetype> offsets;
    const QList<QByteArray> table = tokensFrom(xrefAt + 4, trailerAt);
    for (qsizetype i = 0; i + 1 < table.size();) {
        const long long first = table[i].toLongLong(&ok);
        const long long count = ok ? table[i + 1].toLongLong(&ok) : 0;
        if (!ok || count < 0 || i + 2 + 3 * count > table.size())
            return pdf;
        for (long long k = 0; k < count; ++k) {
            const qsizetype entry = i + 2 + 3 * k;
            if (table[entry + 2] == "n")
                offsets[first + k] = table[entry].toLongLong();
        }
        i += 2 + 3 * count;
    }
    const QString trailer =
        QString::fromLatin1(pdf.mid(trailerAt, startxref - trailerAt)).simplified();
    const QRegularExpression rootPattern(QStringLiteral("/Root (\\d+) (\\d+) R"));
    const QRegularExpression sizePattern(QStringLiteral("/Size (\\d+)"));
    const QRegularExpression infoPattern(QStringLiteral("/Info \\d+ \\d+ R"));
    const QRegularExpression idPattern(QStringLiteral("/ID ?\\[[^\\]]*\\]"));
    const QRegularExpressionMatch root = rootPattern.match(trailer);
    const QRegularExpressionMatch size = sizePattern.match(trailer);
    if (!root.hasMatch() || !size.hasMatch())
        return pdf;
    const long long rootNumber = root.captured(1).toLongLong();
    const auto found = offsets.find(rootNumber);
    if (found == offsets.end())
        return pdf;
    const QByteArray objectHead =
        root.captured(1).toLatin1() + ' ' + root.captured(2).toLatin1() + " obj";
    if (!pdf.mid(found->second).startsWith(objectHead))
        return pdf;
    // The catalog's dictionary, nested ones and all; one with a string in it
    // is not Qt's and stays.
    const qsizetype open = pdf.indexOf("<<", found->second);
    const qsizetype endobj = pdf.indexOf("endobj", found->second);
    if (open < 0 || endobj < 0 || open > endobj)
        return pdf;
    qsizetype close = -1;
    int depth = 0;
    for (qsizetype i = open; i + 1 < endobj; ++i) {
        if (pdf[i] == '(')
            return pdf;
        if (pdf[i] == '<' && pdf[i + 1] == '<') {
            ++depth;
            ++i;
        } else if (pdf[i] == '>' && pdf[i + 1] == '>') {
            ++i;
            if (--depth == 0) {
                close = i - 1;
                break;
            }
        }
    }
    const QByteArray body = close > open ? pdf.mid(open + 2, close - open - 2) : QByteArray();
    if (close < 0 || body.contains("/Lang"))
        return pdf;

    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qsizetype objectAt = out.size();
    out += objectHead + "\n<<" + body + "/Lang (" + language + ")\n>>\nendobj\n";
    const qsizetype newXref = out.size();
    out += "xref\n" + QByteArray::number(rootNumber) + " 1\n" +
           QByteArray::number(objectAt).rightJustified(10, '0') + ' ' +
           root.captured(2).toLatin1().rightJustified(5, '0') + " n \n";
    out += "trailer\n<<\n/Size " +
           QByteArray::number(std::max(size.captured(1).toLongLong(), rootNumber + 1)) +
           "\n/Root " + root.captured(1).toLatin1() + ' ' + root.captured(2).toLatin1() + " R\n";
    if (const QRegularExpressionMatch info = infoPattern.match(trailer); info.hasMatch())
        out += info.captured(0).toLatin1() + '\n';
    if (const QRegularExpressionMatch id = idPattern.match(trailer); id.hasMatch())
        out += id.captured(0).toLatin1() + '\n';
    out += "/Prev " + QByteArray::number(xrefAt) + "\n>>\nstartxref\n" +
           QByteArray::number(newXref) + "\n%%EOF\n";
    return out;
}

namespace {

// The pages a block's first and last lines stand on, in a document laid
// out in pages of `pageHeight` from its top.
std::pair<int, int> PagesOf(const QTextBlock& block, qreal pageHeight) {
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return {-1, -1};
    const qreal top = layout->position().y();
    const auto page = [&](const QTextLine& line) {
        return static_cast<int>((top + line.y() + line.height() / 2) / pageHeight);
    };
    return {page(layout->lineAt(0)), page(layout->lineAt(layout->lineCount() - 1))};
}

// A heading belongs to what follows it, and so does the figure to the
// hexagram's heading under it.
bool KeepsWithNext(const QTextBlock& block) {
    return block.blockFormat().headingLevel() > 0 ||
           block.text().contains(QChar::ObjectReplacementCharacter);
}

}  // namespace

// The text layout has no "keep with next": a heading or a figure left at
// the foot of a page, its text on the next, is sent to the next page by a
// page break before it (before the headings over it too). A block already
// first on its page stays: nothing would come of moving it.
void KeepHeadingsWithTheirText(QTextDocument& document, qreal pageHeight) {
    // Each move sends at least one block a page on; an entry is a few pages.
    for (int pass = 0; pass < 64; ++pass) {
        document.pageCount();  // laid out now, the lines placed
        bool moved = false;
        for (QTextBlock block = document.begin(); block.isValid() && block.next().isValid();
             block = block.next()) {
            if (!KeepsWithNext(block))
                continue;
            const int page = PagesOf(block, pageHeight).second;
            if (PagesOf(block.next(), pageHeight).first <= page)
                continue;
            QTextBlock start = block;
            while (start.previous().isValid() && KeepsWithNext(start.previous()) &&
                   PagesOf(start.previous(), pageHeight).second == page)
                start = start.previous();
            if (!start.previous().isValid() || PagesOf(start, pageHeight).first != page ||
                PagesOf(start.previous(), pageHeight).second < page)
                continue;
            QTextBlockFormat breakBefore;
            breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(start).mergeBlockFormat(breakBefore);
            moved = true;
            break;
        }
        if (!moved)
            return;
    }
}

}  // namespace forms
