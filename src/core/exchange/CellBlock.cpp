#include "exchange/CellBlock.h"

#include "exchange/CsvText.h"

namespace CellBlock {

QString Tsv(const TRows &rows)
{
    QString out;
    for (const QStringList &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out.append(u'\t');
            out.append(CsvText::Quote(row[i], u'\t'));
        }
        out.append(u'\n');
    }
    return out;
}

namespace {

void AppendRow(QString &out, const QStringList &row, QLatin1StringView cell)
{
    out.append(QLatin1String("<tr>"));
    for (const QString &text : row) {
        QString escaped = text.toHtmlEscaped();
        // Line breaks of every convention: CR LF, LF, and the lone CR of old files.
        escaped.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
        escaped.replace(u'\n', QLatin1String("<br>"));
        escaped.replace(u'\r', QLatin1String("<br>"));
        out.append(u'<').append(cell).append(u'>').append(escaped);
        out.append(QLatin1String("</")).append(cell).append(u'>');
    }
    out.append(QLatin1String("</tr>\n"));
}

} // namespace

QString Html(const QStringList &header, const TRows &rows)
{
    QString out = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table border=\"1\">\n");
    if (!header.isEmpty())
        AppendRow(out, header, QLatin1StringView("th"));
    for (const QStringList &row : rows)
        AppendRow(out, row, QLatin1StringView("td"));
    out.append(QLatin1String("</table></body></html>\n"));
    return out;
}

TRows FromTsv(const QString &text)
{
    TRows rows;
    CsvText::TReader reader(text, u'\t', CsvText::TQuotes::Lenient);
    CsvText::TRecord record;
    while (reader.Next(record))
        rows.append(record.Fields);
    return rows;
}

} // namespace CellBlock
