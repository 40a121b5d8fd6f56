#include "CsvCommands.h"

#include "AppError.h"
#include "exchange/NetworkCsv.h"
#include "model/TMine.h"
#include "storage/CodePage.h"
#include "storage/TMineDocument.h"

#include <QFileInfo>

namespace CsvCommands {

int Export(const ToolMain::TInvocation &in)
{
    TMineDocument doc;
    ToolMain::LoadMine(doc, in.Operand(QStringLiteral("FILE")));
    NetworkCsv::Export(*doc.Mine(), in.Operand(QStringLiteral("DIR")));
    return ToolMain::kOk;
}

int Import(const ToolMain::TInvocation &in)
{
    const QString out = in.Operand(QStringLiteral("OUT"));
    // Without --title the mine is named like its file: everything before the last dot.
    const QString title =
        in.Option(QStringLiteral("--title"), ToolMain::IsStream(out) ? QString() : QFileInfo(out).completeBaseName());
    const qsizetype bad = CodePage::First1251Misfit(title);
    if (bad >= 0) {
        // The whole character: one beyond the first plane is two halves of a surrogate pair.
        const bool pair = title[bad].isHighSurrogate() && bad + 1 < title.size() && title[bad + 1].isLowSurrogate();
        throw AppError(QStringLiteral("--title: символ \"%1\" не помещается в кодовую страницу Windows-1251")
                           .arg(title.mid(bad, pair ? 2 : 1)));
    }
    TMineDocument doc;
    const QString nodes = in.Operand(QStringLiteral("NODES"));
    const QString branches = in.Operand(QStringLiteral("BRANCHES"));
    if (ToolMain::IsStream(nodes) || ToolMain::IsStream(branches)) {
        const auto read = [](const QString &operand) {
            return ToolMain::IsStream(operand) ? ToolMain::ReadStandardInput() : NetworkCsv::ReadFile(operand);
        };
        const QByteArray nodesBytes = read(nodes);
        const QByteArray branchesBytes = read(branches);
        NetworkCsv::Read(*doc.Mine(), nodesBytes, nodes, branchesBytes, branches);
    } else {
        NetworkCsv::Import(*doc.Mine(), nodes, branches);
    }
    doc.Mine()->SetTitle(title);
    ToolMain::SaveMine(doc, out);
    return ToolMain::kOk;
}

} // namespace CsvCommands
