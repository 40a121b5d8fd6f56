// make-large-mine: writes the load benchmarks' large mine (LargeMine.h) with N nodes and N
// branches, for timing the command-line tool from outside:
//   make-large-mine N OUT.mdf [EVERY]
// With EVERY the mine is the same but for one value in EVERY nodes and EVERY branches (each such
// node 1 m further along X, each such branch 0.5 m2 more section): the copy a comparison is
// timed against (100 gives 1% of them changed).
#include "AppError.h"
#include "LargeMine.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineFile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false, everyOk = true;
    const int n = args.size() == 3 || args.size() == 4 ? args[1].toInt(&ok) : 0;
    const int every = args.size() == 4 ? args[3].toInt(&everyOk) : 0;
    if (!ok || n < 1 || !everyOk || every < 0) {
        std::fputs("usage: make-large-mine N OUT.mdf [EVERY]\n", stderr);
        return 64;
    }
    try {
        TMineDocument doc;
        largemine::Build(doc, n);
        TMine &mine = *doc.Mine();
        for (int i = every; every > 0 && i <= mine.Uzels().Count(); i += every)
            mine.Uzels().Items(i)->SetCoordinate(1, mine.Uzels().Items(i)->X() + 1.0f);
        for (int i = every; every > 0 && i <= mine.Branches().Count(); i += every)
            mine.Branches().Items(i)->SetSection(mine.Branches().Items(i)->Section() + 0.5f);
        TMineFile::Save(doc, args[2]);
    } catch (const AppError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 2;
    }
    return 0;
}
