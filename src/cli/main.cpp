// tarvel-mdf: the mine file from the command line. Exit codes: 0 success, 1 findings,
// 2 a file that cannot be read or written, 64 a usage error.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    err << "usage: tarvel-mdf <command> FILE...\n";
    return 64;
}
