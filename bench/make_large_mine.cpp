// make-large-mine: writes the load benchmarks' large mine (LargeMine.h) with N nodes and N
// branches, for timing the command-line tool from outside:
//   make-large-mine N OUT.mdf
#include "AppError.h"
#include "LargeMine.h"
#include "storage/TMineFile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int n = args.size() == 3 ? args[1].toInt(&ok) : 0;
    if (!ok || n < 1) {
        std::fputs("usage: make-large-mine N OUT.mdf\n", stderr);
        return 64;
    }
    try {
        TMineDocument doc;
        largemine::Build(doc, n);
        TMineFile::Save(doc, args[2]);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 2;
    }
    return 0;
}
