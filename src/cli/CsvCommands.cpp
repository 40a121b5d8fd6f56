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
    NetworkCsv::TFormat format;
    const QString separator = in.Option(QStringLiteral("--separator"), QStringLiteral(","));
    if (separator != QLatin1String(",") && separator != QLatin1String(";"))
        return ToolMain::Usage(QStringLiteral("--separator must be , or ;"));
    format.Separator = separator == QLatin1String(";") ? ';' : ',';
    format.DecimalComma = in.Has(QStringLiteral("--decimal-comma"));
    TMineDocument doc;
    ToolMain::LoadMine(doc, in.Operand(QStringLiteral("FILE")));
    NetworkCsv::Export(doc, in.Operand(QStringLiteral("DIR")), format);
    return ToolMain::kOk;
}

int Import(const ToolMain::TInvocation &in)
{
    const QString out = in.Operand(QStringLiteral("OUT"));
    const bool titled = in.Has(QStringLiteral("--title"));
    const QString title = in.Option(QStringLiteral("--title"));
    const qsizetype bad = CodePage::First1251Misfit(title);
    if (bad >= 0) {
        // The whole character: one beyond the first plane is two halves of a surrogate pair.
        const bool pair = title[bad].isHighSurrogate() && bad + 1 < title.size() && title[bad + 1].isLowSurrogate();
        throw AppError(QStringLiteral("--title: символ \"%1\" не помещается в кодовую страницу Windows-1251")
                           .arg(title.mid(bad, pair ? 2 : 1)));
    }
    const NetworkCsv::TSources sources{in.Operand(QStringLiteral("NODES")), in.Operand(QStringLiteral("BRANCHES")),
                                       in.Option(QStringLiteral("--stoppings")), in.Option(QStringLiteral("--people")),
                                       in.Option(QStringLiteral("--document"))};
    TMineDocument doc;
    doc.Mine()->SetTitle(QString());
    NetworkCsv::Read(doc, sources, [](const QString &file) {
        return ToolMain::IsStream(file) ? ToolMain::ReadStandardInput() : NetworkCsv::ReadFile(file);
    });
    // --title first, then the document file's title; without either the mine is named like its
    // file: everything before the last dot.
    if (titled)
        doc.Mine()->SetTitle(title);
    else if (doc.Mine()->Title().isEmpty() && !ToolMain::IsStream(out))
        doc.Mine()->SetTitle(QFileInfo(out).completeBaseName());
    ToolMain::SaveMine(doc, out);
    return ToolMain::kOk;
}

} // namespace CsvCommands
