#include "CsvCommands.h"

#include "AppError.h"
#include "exchange/NetworkCsv.h"
#include "model/TMine.h"
#include "storage/CodePage.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QFileInfo>

namespace CsvCommands {

int Run(const QStringList &args, QString &problem)
{
    const QString command = args.value(0);
    QStringList operands;
    QString title;
    bool titled = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (command == QLatin1String("import-csv") && args[i] == QLatin1String("--title")) {
            if (titled || i + 1 >= args.size()) {
                problem = QStringLiteral("--title takes one TEXT");
                return 0;
            }
            title = args[++i];
            titled = true;
        } else {
            operands << args[i];
        }
    }

    if (command == QLatin1String("export-csv")) {
        if (operands.size() != 2) {
            problem = QStringLiteral("export-csv takes FILE and DIR");
            return 0;
        }
        TMineDocument doc;
        TMineFile::Load(doc, operands[0]);
        NetworkCsv::Export(*doc.Mine(), operands[1]);
        return 0;
    }

    if (operands.size() != 3) {
        problem = QStringLiteral("import-csv takes NODES.csv, BRANCHES.csv and OUT.mdf");
        return 0;
    }
    if (!titled)
        title = QFileInfo(operands[2]).completeBaseName();
    const qsizetype bad = CodePage::First1251Misfit(title);
    if (bad >= 0)
        throw AppError(QStringLiteral("--title: символ \"%1\" не помещается в кодовую страницу Windows-1251")
                           .arg(title.mid(bad, 1)));
    TMineDocument doc;
    NetworkCsv::Import(*doc.Mine(), operands[0], operands[1]);
    doc.Mine()->SetTitle(title);
    TMineFile::Save(doc, operands[2]);
    return 0;
}

} // namespace CsvCommands
