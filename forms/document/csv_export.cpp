// Journal entries as CSV: the `casts` columns as the journal gives them and
// the related hexagrams as the interpretation finds them.
#include "forms/document/csv_export.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include "base/error.h"
#include "divination/hexagrams.h"
#include "divination/interpretation.h"

namespace forms {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Numbers joined by single spaces, as the journal's own columns hold them.
template <typename Numbers>
QString Joined(const Numbers& numbers) {
    QStringList parts;
    for (int number : numbers)
        parts << QString::number(number);
    return parts.join(QLatin1Char(' '));
}

// A hexagram's number, empty for none (no line changes, no second one).
QString Number(int n) {
    return n == 0 ? QString() : QString::number(n);
}

// The name alone, without its number: the numbers of the cast and its
// second hexagram have columns of their own.
QString Name(int n) {
    return n >= 1 && n <= 64 ? Text(std::string(divination::kHexagramNames[n - 1].name))
                             : QString();
}

QStringList Row(const journal::Cast& cast) {
    const divination::Interpretation reading =
        divination::Interpret(divination::Subject::OfEntry(cast.values));
    QString lines;
    for (int value : cast.values)
        lines += QString::number(value);
    return {QString::number(cast.id),
            Text(cast.castAt),
            QString::number(CsvModeNumber(cast.method)),
            lines,
            cast.coins ? Joined(*cast.coins) : QString(),
            Number(reading.hexagram),
            Number(reading.second),
            Text(cast.question),
            Text(cast.note),
            QString::number(cast.moment),
            cast.totals ? Joined(*cast.totals) : QString(),
            Text(cast.outcome),
            Text(cast.returnOn),
            Name(reading.hexagram),
            Name(reading.second),
            Name(reading.nuclear),
            Name(reading.opposite),
            Name(reading.inverted)};
}

void AppendRow(QString& out, const QStringList& fields) {
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += CsvField(fields[i]);
    }
    out += QStringLiteral("\r\n");
}

base::Error SaveError(const QString& path, const QString& reason) {
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    return base::Error(
        QStringLiteral("Не удалось сохранить файл \"%1\". %2").arg(shown, reason).toStdString());
}

}  // namespace

QStringList CsvColumns() {
    return {"id",           "cast_at",       "mode",         "lines",         "coins",
            "hexagram",     "relating",      "question",     "note",          "moment",
            "totals",       "outcome",       "return_on",    "hexagram_name", "relating_name",
            "nuclear_name", "opposite_name", "inverted_name"};
}

int CsvModeNumber(divination::Method method) {
    return journal::MethodNumber(method);
}

QString CsvField(const QString& value) {
    static const QString special = QStringLiteral(",\"\r\n");
    const bool quoted =
        std::any_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); });
    if (!quoted)
        return value;
    QString doubled = value;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QByteArray CsvOfCasts(const std::vector<journal::Cast>& casts) {
    QString out;
    AppendRow(out, CsvColumns());
    for (const journal::Cast& cast : casts)
        AppendRow(out, Row(cast));
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

void WriteCsv(const std::vector<journal::Cast>& casts, const QString& path) {
    const QByteArray bytes = CsvOfCasts(casts);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SaveError(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw SaveError(path, reason);
    }
    if (!file.commit())
        throw SaveError(path, file.errorString());
}

}  // namespace forms
