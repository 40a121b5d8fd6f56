#include "ReportCommand.h"

#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "model/TMine.h"
#include "report/TTopologyReport.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"


int ReportCommand::Run(const QStringList &args, QString &usage)
{
    QStringList files;
    QStringList parts{QStringLiteral("title"), QStringLiteral("nodes"), QStringLiteral("branches")};
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--parts")) {
            if (i + 1 == args.size()) {
                usage = QStringLiteral("--parts takes a list");
                return -1;
            }
            parts = args[++i].split(QLatin1Char(','));
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2) {
        usage = QStringLiteral("report takes FILE and OUT.pdf");
        return -1;
    }
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
        else {
            usage = QStringLiteral("unknown part \"%1\" (title, nodes, branches)").arg(part);
            return -1;
        }
    }
    choice.Tables = nodes || branches;
    choice.Lists = nodes && branches ? TReportChoice::AllLists
        : nodes                      ? TReportChoice::NodeList
                                     : TReportChoice::BranchList;

    TMineDocument doc;
    TMineFile::Load(doc, files[0]);
    doc.Mine()->ResolveIncidence();
    TReportDocument report;
    TTopologyReport(*doc.Mine(), choice).Build(report, TQtTextMetrics());
    ReportOutput::WritePdf(report, files[1]);
    return 0;
}
