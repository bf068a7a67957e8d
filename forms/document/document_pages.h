// The pages of a document: HTML that holds its figures, the PDF's language,
// and headings kept with the text they head.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace forms {

// The document's HTML with its figures inside it, so the file stands alone.
QByteArray SelfContainedHtml(QTextDocument& document);

// The PDF with `/Lang` added as an incremental update; a file it can't
// read is given back as it came.
QByteArray WithLanguage(const QByteArray& pdf, const QByteArray& language);

// Moves a heading or a figure left at the foot of a page, with the headings
// just above it, to the next page.
void KeepHeadingsWithTheirText(QTextDocument& document, qreal pageHeight);

}  // namespace forms
