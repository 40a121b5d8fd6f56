// tarvel-mdf: the mine file from the command line.
//   tarvel-mdf info FILE         version, title and element counts
//   tarvel-mdf dump FILE         the whole document as JSON
//   tarvel-mdf from-json IN.json OUT.mdf  a document from the dump's JSON
//   tarvel-mdf convert IN OUT.mdf  read any version, write the current one
//   tarvel-mdf diff A.mdf B.mdf [--json]  what changed from A to B
//   tarvel-mdf check FILE        the editor's topology check; its message list, one line each
//   tarvel-mdf report FILE OUT.pdf [--parts title,nodes,branches]   the topology report as PDF
//   tarvel-mdf render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]
//              [--labels none|branches|nodes] [--colors seams|plan]   the topological scheme
//   tarvel-mdf export-csv FILE DIR                       DIR/nodes.csv and DIR/branches.csv
//   tarvel-mdf import-csv NODES BRANCHES OUT [--title T] a document from two such files
//   tarvel-mdf import-dxf IN.dxf OUT.mdf [options]       a document from a CAD drawing's lines
//   tarvel-mdf export-dxf IN.mdf OUT.dxf [--labels ...]  the network as a CAD drawing
// Output is UTF-8; info and check write the control characters of titles and comments as \xHH,
// and so do the messages on stderr for the file names and texts they carry.
// Pictures and reports are made by tarvel-mdf-pictures in ../libexec/tarvel/ from the tool's
// folder (installed and in the build tree alike), which it hands those command lines to
// (ToolMain.h).
// Exit codes: 0 success, 1 the check found something (check, render, and import-dxf on the
// document it wrote) or the documents differ (diff), 2 a file that cannot be read or written, or
// a value import-csv or from-json or a drawing import-dxf refuses (the message the editor would
// show goes to stderr), 64 a usage error.
#include "AppError.h"
#include "CheckCommand.h"
#include "CsvCommands.h"
#include "DiffCommand.h"
#include "DxfCommands.h"
#include "MdfCommands.h"
#include "TerminalText.h"
#include "ToolMain.h"
#include "exchange/MineJson.h"
#include "exchange/NetworkCsv.h"
#include "storage/TMineDocument.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstring>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

using namespace ToolMain;

namespace {

int Info(const TInvocation &in)
{
    TMineDocument doc;
    LoadMine(doc, in.Operand(QStringLiteral("FILE")));
    Write(stdout, MdfCommands::Info(doc));
    return Finish(kOk);
}

int Dump(const TInvocation &in)
{
    TMineDocument doc;
    LoadMine(doc, in.Operand(QStringLiteral("FILE")));
    MdfCommands::Dump(doc, stdout);
    return Finish(kOk);
}

int FromJson(const TInvocation &in)
{
    const QString path = in.Operand(QStringLiteral("IN"));
    const QByteArray text = IsStream(path) ? ReadStandardInput() : NetworkCsv::ReadFile(path);
    TMineDocument doc;
    try {
        MineJson::Read(text, doc);
    } catch (const AppError &e) {
        throw AppError(path + QStringLiteral(": ") + e.message());
    }
    SaveMine(doc, in.Operand(QStringLiteral("OUT")));
    return Finish(kOk);
}

int Convert(const TInvocation &in)
{
    TMineDocument doc;
    LoadMine(doc, in.Operand(QStringLiteral("IN")));
    SaveMine(doc, in.Operand(QStringLiteral("OUT")));
    return Finish(kOk);
}

int Check(const TInvocation &in)
{
    return CheckCommand::Run(in.Operand(QStringLiteral("FILE")));
}

// Replaces this process by the pictures program, with the same arguments; returns only when it
// cannot be started.
int StartPictures(char *argv[])
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string program = (self.parent_path() / TARVEL_PICTURES_FROM_BIN).lexically_normal().string();
    if (!error)
        ::execv(program.c_str(), argv);
    const int code = error ? error.value() : errno;
    Write(stderr, "tarvel-mdf: "
                      + TerminalText::EscapedMessage(QStringLiteral("%1: %2").arg(
                          QString::fromStdString(program), QString::fromLocal8Bit(std::strerror(code))))
                            .toUtf8()
                      + '\n');
    return kFileError;
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write would kill the tool with SIGXFSZ without a
    // word; ignored, the write fails and the command reports it like any failed save.
    std::signal(SIGXFSZ, SIG_IGN);
    // The command line is checked before anything else starts, the pictures program included.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int status = kOk;
    const std::optional<TInvocation> in = Parse(args, &status);
    if (!in)
        return status;
    if (in->Command->Pictures)
        return StartPictures(argv);
    QCoreApplication app(argc, argv);
    return ToolMain::Run(*in, {{QStringLiteral("info"), Info},
                               {QStringLiteral("dump"), Dump},
                               {QStringLiteral("from-json"), FromJson},
                               {QStringLiteral("convert"), Convert},
                               {QStringLiteral("diff"), DiffCommand::Run},
                               {QStringLiteral("check"), Check},
                               {QStringLiteral("export-csv"), CsvCommands::Export},
                               {QStringLiteral("import-csv"), CsvCommands::Import},
                               {QStringLiteral("import-dxf"), DxfCommands::Import},
                               {QStringLiteral("export-dxf"), DxfCommands::Export}});
}
