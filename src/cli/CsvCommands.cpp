#include "CsvCommands.h"

#include "AppError.h"
#include "exchange/NetworkCsv.h"
#include "model/TMine.h"
#include "storage/CodePage.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QFileInfo>

namespace CsvCommands {

int Export(const ToolMain::TInvocation &in)
{
    TMineDocument doc;
    TMineFile::Load(doc, in.Operand(QStringLiteral("FILE")));
    NetworkCsv::Export(*doc.Mine(), in.Operand(QStringLiteral("DIR")));
    return ToolMain::kOk;
}

int Import(const ToolMain::TInvocation &in)
{
    const QString out = in.Operand(QStringLiteral("OUT"));
    // Without --title the mine is named like its file: everything before the last dot.
    const QString title = in.Option(QStringLiteral("--title"), QFileInfo(out).completeBaseName());
    const qsizetype bad = CodePage::First1251Misfit(title);
    if (bad >= 0) {
        // The whole character: one beyond the first plane is two halves of a surrogate pair.
        const bool pair = title[bad].isHighSurrogate() && bad + 1 < title.size() && title[bad + 1].isLowSurrogate();
        throw AppError(QStringLiteral("--title: символ \"%1\" не помещается в кодовую страницу Windows-1251")
                           .arg(title.mid(bad, pair ? 2 : 1)));
    }
    TMineDocument doc;
    NetworkCsv::Import(*doc.Mine(), in.Operand(QStringLiteral("NODES")), in.Operand(QStringLiteral("BRANCHES")));
    doc.Mine()->SetTitle(title);
    TMineFile::Save(doc, out);
    return ToolMain::kOk;
}

} // namespace CsvCommands
