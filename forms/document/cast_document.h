// Casts on paper and in files: one document per set of casts, each with its
// date, question and note, the figure, the hexagrams, the texts of the lines
// that answer and the reading. The journal window prints and exports it; the
// main window does the same for the cast on the screen.
#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "consultation/consultation.h"

class QPrinter;
class QTextDocument;

namespace forms {

enum class DocumentFormat { Pdf, Html, Text };

// Called after each entry is made (printed, for print and PDF) with how many
// are done of how many; false stops the work. Empty: nothing is asked.
using DocumentProgress = std::function<bool(int done, int total)>;

// By the file's suffix, any case: .pdf, .html or .htm, .txt; nothing for
// another suffix.
std::optional<DocumentFormat> FormatOfPath(const QString& path);

// The documents' title: for one cast with its hexagram, the hexagram and
// the date where it has one («Гексаграмма 3. Начальная трудность — 8 декабря
// 2026, 21:14»); else «Журнал гаданий». A PDF and an HTML page carry it, with
// the program as their creator and Russian as their language.
QString CastsTitle(const std::vector<consultation::Entry>& casts);

// The whole document, as the HTML export writes it (each entry after the
// first begins a page); nullptr when the progress stopped it. A text file
// that can't be read leaves a line naming the error in its place.
std::unique_ptr<QTextDocument> BuildCastDocument(const std::vector<consultation::Entry>& casts,
                                                 const DocumentProgress& progress = {});

// The same content as plain text, the figures drawn with dashes; nothing
// when the progress stopped it.
std::optional<QString> CastsPlainText(const std::vector<consultation::Entry>& casts,
                                      const DocumentProgress& progress = {});

// Writes the casts to `path` through a temporary beside it that replaces the
// file only when whole. Returns false when the progress stopped it: nothing
// is written then. Throws base::Error «Не удалось сохранить файл "<path>".
// <reason>» when the file can't be written; no part of it is left.
bool ExportCasts(const std::vector<consultation::Entry>& casts, const QString& path,
                 DocumentFormat format, const DocumentProgress& progress = {});

// Prints on a printer already set up, each entry from a new page, the pages
// numbered; false when the progress stopped it (the print is aborted).
bool PrintCasts(const std::vector<consultation::Entry>& casts, QPrinter& printer,
                const DocumentProgress& progress = {});

}  // namespace forms
