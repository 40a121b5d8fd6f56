#include "ReportCommand.h"

#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "model/TMine.h"
#include "report/TTopologyReport.h"
#include "storage/TMineDocument.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"


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
    TReportDocument report;
    TTopologyReport(*doc.Mine(), choice).Build(report, TQtTextMetrics());
    const QString path = in.Operand(QStringLiteral("OUT"));
    const std::unique_ptr<TSafeFile> out = ToolMain::OpenOutput(path);
    try {
        ReportOutput::WritePdf(report, *out);
    } catch (const AppError &e) {
        if (!out->Failed())
            throw TFileError(path, e.message(), e.message(), true);
    }
    out->Commit();
    return ToolMain::kOk;
}
