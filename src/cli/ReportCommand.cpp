#include "ReportCommand.h"

#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "model/TMine.h"
#include "report/TTopologyReport.h"
#include "storage/TMineDocument.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <optional>


int ReportCommand::Run(const ToolMain::TInvocation &in)
{
    const QStringList parts = in.Option(QStringLiteral("--parts"), QStringLiteral("title,nodes,branches")).split(QLatin1Char(','));
    TReportChoice choice;
    choice.TitlePage = false;
    bool nodes = false, branches = false;
    for (const QString &part : parts) {
        if (part == QLatin1String("title"))
            choice.TitlePage = true;
        else if (part == QLatin1String("nodes"))
            nodes = true;
        else if (part == QLatin1String("branches"))
            branches = true;
        else
            return ToolMain::Usage(QStringLiteral("unknown part \"%1\" (title, nodes, branches)").arg(part));
    }
    choice.Tables = nodes || branches;
    choice.Lists = nodes && branches ? TReportChoice::AllLists
        : nodes                      ? TReportChoice::NodeList
                                     : TReportChoice::BranchList;

    TMineDocument doc;
    ToolMain::LoadMine(doc, in.Operand(QStringLiteral("FILE")));
    doc.Mine()->ResolveIncidence();
    const QString path = in.Operand(QStringLiteral("OUT"));
    const std::unique_ptr<TSafeFile> out = ToolMain::OpenOutput(path);
    // Each page is written as soon as it is composed: a report of a million elements holds one
    // page at a time. A refusal of the composition is the report's own error, not the file's.
    std::optional<AppError> refused;
    try {
        const TQtTextMetrics metrics;
        TReportDocument report;
        const TTopologyReport topology(*doc.Mine(), choice);
        ReportOutput::WritePdf(TTopologyReport::DocumentTitle(*doc.Mine()), [&](const TPageSink &sink) {
            try {
                topology.Build(report, metrics, sink);
            } catch (const AppError &e) {
                refused = e;
            }
        }, *out);
    } catch (const AppError &e) {
        if (!out->Failed())
            throw TFileError(path, e.message(), e.message(), true);
    }
    if (refused)
        throw *refused;
    out->Commit();
    // The PDF is written: the report's pages and the mine go with the process.
    return ToolMain::Finish(ToolMain::kOk);
}
