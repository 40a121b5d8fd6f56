#include "DxfCommands.h"

#include "AppError.h"
#include "TerminalText.h"
#include "ToolMain.h"
#include "checks/TMessageSink.h"
#include "checks/TTopologyCheck.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "model/TMine.h"
#include "storage/CodePage.h"
#include "storage/TMineDocument.h"
#include "storage/TSafeFile.h"

#include <QFileInfo>
#include <climits>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

using ToolMain::Write;

// The check's findings on stderr, one line each, as render prints them.
class TStderrSink : public TMessageSink {
public:
    void ClearMessages() override {}
    void AddMessage(const QString &text, std::optional<TErrorInfo>) override
    {
        Write(stderr, TerminalText::Escaped(text).toUtf8() + '\n');
        ++m_count;
    }
    int MessageCount() const override { return m_count; }

private:
    int m_count = 0;
};

// A number typed for an option, with "," or "." as the decimal point.
std::optional<double> Number(QString text, double low, double high)
{
    text.replace(u',', u'.');
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < low || v > high)
        return std::nullopt;
    return v;
}

} // namespace

namespace DxfCommands {

int Import(const ToolMain::TInvocation &in)
{
    DxfReader::TOptions read;
    TDxfImportOptions build;
    if (in.Has(QStringLiteral("--split-at-junctions")) && in.Has(QStringLiteral("--no-split")))
        return ToolMain::Usage(QStringLiteral("--split-at-junctions and --no-split exclude each other"));
    build.SplitAtJunctions = !in.Has(QStringLiteral("--no-split"));
    if (in.Has(QStringLiteral("--tolerance"))) {
        const auto t = Number(in.Option(QStringLiteral("--tolerance")), 1e-6, 100);
        if (!t)
            return ToolMain::Usage(QStringLiteral("--tolerance takes metres, more than 0 and at most 100"));
        build.Tolerance = *t;
    }
    if (in.Has(QStringLiteral("--chord"))) {
        const auto c = Number(in.Option(QStringLiteral("--chord")), 0.01, 1000);
        if (!c)
            return ToolMain::Usage(QStringLiteral("--chord takes metres from 0.01 to 1000"));
        read.Chord = *c;
    }
    if (in.Has(QStringLiteral("--names-from-text"))) {
        const auto d = Number(in.Option(QStringLiteral("--names-from-text")), 1e-6, 1000);
        if (!d)
            return ToolMain::Usage(QStringLiteral("--names-from-text takes metres, more than 0 and at most 1000"));
        build.NamesDistance = *d;
    }
    if (in.Has(QStringLiteral("--first"))) {
        bool ok = false;
        const int first = in.Option(QStringLiteral("--first")).toInt(&ok);
        if (!ok || first < 1)
            return ToolMain::Usage(QStringLiteral("--first takes a whole number from 1 to %1").arg(INT_MAX));
        build.First = first;
    }
    if (in.Has(QStringLiteral("--layers"))) {
        QStringList layers = in.Option(QStringLiteral("--layers")).split(u',');
        for (QString &l : layers)
            l = l.trimmed();
        layers.removeAll(QString());
        if (layers.isEmpty())
            return ToolMain::Usage(QStringLiteral("--layers takes layer names separated by commas"));
        build.Layers = layers;
    }
    const QString source = in.Operand(QStringLiteral("IN")), out = in.Operand(QStringLiteral("OUT"));
    // Without --title the mine is named like its file: everything before the last dot.
    const QString title =
        in.Option(QStringLiteral("--title"), ToolMain::IsStream(out) ? QString() : QFileInfo(out).completeBaseName());
    if (const qsizetype bad = CodePage::First1251Misfit(title); bad >= 0) {
        const bool pair = title[bad].isHighSurrogate() && bad + 1 < title.size() && title[bad + 1].isLowSurrogate();
        throw AppError(QStringLiteral("--title: символ \"%1\" не помещается в кодовую страницу Windows-1251")
                           .arg(title.mid(bad, pair ? 2 : 1)));
    }

    const TDxfDrawing drawing = ToolMain::IsStream(source)
                                    ? DxfReader::Read(ToolMain::ReadStandardInput(DxfReader::kMaxBytes), source, read)
                                    : DxfReader::ReadFile(source, read);
    TMineDocument doc;
    TDxfImportReport report;
    try {
        report = DxfNetwork::Build(*doc.Mine(), drawing, build);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("%1: %2").arg(source, e.message()));
    }
    doc.Mine()->SetTitle(title);
    ToolMain::SaveMine(doc, out);

    // Layer and entity names come from the file: what could steer the terminal is shown as \xHH.
    // With the document on standard output, the summary goes beside the findings.
    QString text = TerminalText::Escaped(report.Summary()) + u'\n';
    for (const QString &note : report.Notes)
        text += TerminalText::Escaped(note) + u'\n';
    Write(ToolMain::IsStream(out) ? stderr : stdout, text.toUtf8());

    TStderrSink sink;
    TTopologyCheck check(*doc.Mine(), sink);
    return ToolMain::Finish(check.CheckAll().Passed() ? ToolMain::kOk : kCheckFound);
}

int Export(const ToolMain::TInvocation &in)
{
    TDxfExportOptions options;
    if (in.Has(QStringLiteral("--labels"))) {
        const QStringList kinds{QStringLiteral("none"), QStringLiteral("branches"), QStringLiteral("nodes")};
        const qsizetype labels = kinds.indexOf(in.Option(QStringLiteral("--labels")));
        if (labels < 0)
            return ToolMain::Usage(QStringLiteral("--labels takes none, branches or nodes"));
        options.Labels = quint8(labels);
    }
    TMineDocument doc;
    ToolMain::LoadMine(doc, in.Operand(QStringLiteral("IN")));
    const QString out = in.Operand(QStringLiteral("OUT"));
    TDxfExportReport report;
    const std::unique_ptr<TSafeFile> file = ToolMain::OpenOutput(out);
    DxfWriter::Write(*doc.Mine(), *file, options, &report);
    file->Commit();   // raises what any write failed with
    QString text = report.Summary() + u'\n';
    for (const QString &note : report.Renamed)
        text += TerminalText::Escaped(note) + u'\n';
    Write(ToolMain::IsStream(out) ? stderr : stdout, text.toUtf8());
    for (const QString &left : report.LeftOut)
        Write(stderr, TerminalText::Escaped(left).toUtf8() + '\n');
    return ToolMain::Finish(ToolMain::kOk);
}

} // namespace DxfCommands
