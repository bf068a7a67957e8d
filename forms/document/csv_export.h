// Journal entries as a CSV file (RFC 4180, UTF-8): the columns of the
// journal's `casts` table, then the related hexagrams by name.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

#include "journal/journal.h"

namespace forms {

// The header row, in order.
QStringList CsvColumns();

// The `mode` column: the journal's own numbers for the methods, as README's
// table of `casts` gives them (1 automatic … 6 own throw by stalk totals).
int CsvModeNumber(divination::Method method);

// One field as RFC 4180 wants it: quoted, quotes doubled, when it holds a
// comma, a quote, a CR or an LF; else as it is.
QString CsvField(const QString& value);

// The whole file: a UTF-8 byte order mark (without it LibreOffice Calc and
// Excel take the bytes for the system's code page and garble Cyrillic), the
// header row, one row per entry, every row ended by CR LF.
QByteArray CsvOfCasts(const std::vector<journal::Cast>& casts);

// Writes CsvOfCasts whole or not at all: into a file beside the target,
// renamed over it once complete. Throws base::Error «Не удалось сохранить
// файл "<path>". <reason>».
void WriteCsv(const std::vector<journal::Cast>& casts, const QString& path);

}  // namespace forms
