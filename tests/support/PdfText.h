#pragma once
// A PDF read back as a reader sees it, through poppler's pdfinfo and pdftotext: page count,
// title, the lines of each page and where each word stands.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace pdftext {

struct Word {
    QString Text;
    double X, Y;   // top left, centimetres from the paper's corner
};

struct Pdf {
    int Pages = 0;
    QList<QStringList> Lines;   // per page, non-empty lines with single spaces
    QList<QList<Word>> Words;   // per page
    QString Title;
};

inline QString Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline Pdf Read(const QString &path)
{
    Pdf pdf;
    const QString info = Run(QStringLiteral("pdfinfo"), {path});
    pdf.Pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
    pdf.Title = QRegularExpression(QStringLiteral("Title:\\s+(.*)\\n")).match(info).captured(1);
    const QStringList pages = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
                                  .split(QLatin1Char('\f'));
    for (int p = 0; p < pdf.Pages; ++p) {
        QStringList lines;
        for (const QString &line : pages.value(p).split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty())
                lines << line.simplified();
        }
        pdf.Lines << lines;
    }
    const QString html = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>([^<]*)</word>"));
    for (const QString &page : html.split(QStringLiteral("<page")).mid(1)) {
        QList<Word> words;
        for (auto m = word.globalMatch(page); m.hasNext();) {
            const auto w = m.next();
            words << Word{w.captured(3), w.captured(1).toDouble() * 2.54 / 72, w.captured(2).toDouble() * 2.54 / 72};
        }
        pdf.Words << words;
    }
    return pdf;
}

} // namespace pdftext
