// tarvel-mdf: the mine file from the command line.
//   tarvel-mdf info FILE         version, title and element counts
//   tarvel-mdf dump FILE         the whole document as JSON
//   tarvel-mdf convert IN OUT    read any version, write the current one
//   tarvel-mdf check FILE        the editor's topology check; its message list, one line each
//   tarvel-mdf report FILE OUT.pdf [--parts title,nodes,branches]   the topology report as PDF
//   tarvel-mdf render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]
//              [--labels none|branches|nodes] [--colors seams|plan]   the topological scheme
//   tarvel-mdf export-csv FILE DIR                       DIR/nodes.csv and DIR/branches.csv
//   tarvel-mdf import-csv NODES BRANCHES OUT [--title T] a document from two such files
// Output is UTF-8; info and check write the control characters of titles and comments as \xHH,
// and so do the messages on stderr for the file names and texts they carry.
// Exit codes: 0 success, 1 the check found something, 2 a file that cannot be
// read or written, or a value import-csv refuses (the message the editor would show goes to
// stderr), 64 a usage error.
#include "AppError.h"
#include "CheckCommand.h"
#include "CsvCommands.h"
#include "MdfCommands.h"
#include "QuickExit.h"
#include "RenderCommand.h"
#include "ReportCommand.h"
#include "TerminalText.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr int kOk = 0;
constexpr int kFileError = 2;
constexpr int kUsage = 64;

const char kUsageText[] =
    "usage: tarvel-mdf info FILE\n"
    "       tarvel-mdf dump FILE\n"
    "       tarvel-mdf convert IN OUT\n"
    "       tarvel-mdf check FILE\n"
    "       tarvel-mdf report FILE OUT.pdf [--parts title,nodes,branches]\n"
    "       tarvel-mdf render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]\n"
    "                  [--labels none|branches|nodes] [--colors seams|plan]\n"
    "       tarvel-mdf export-csv FILE DIR\n"
    "       tarvel-mdf import-csv NODES.csv BRANCHES.csv OUT.mdf [--title TEXT]\n";

void Write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int Usage(const QString &problem)
{
    if (!problem.isEmpty())
        Write(stderr, "tarvel-mdf: " + TerminalText::Escaped(problem).toUtf8() + '\n');
    Write(stderr, kUsageText);
    return kUsage;
}

// stderr carries the findings and errors of the tool; Qt's own notes about the platform (no
// runtime directory, fonts) are not the user's business.
void QuietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Write(stderr, TerminalText::EscapedMessage(message).toUtf8() + '\n');
}

int Run(const QStringList &args)
{
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        Write(stdout, kUsageText);
        return kOk;
    }
    if (args.isEmpty())
        return Usage(QString());
    const QString command = args[0];
    if (command == "report") {
        QString problem;
        const int status = ReportCommand::Run(args.mid(1), problem);
        return status < 0 ? Usage(problem) : status;
    }
    if (command == "render") {
        QString problem;
        const int status = RenderCommand::Run(args.mid(1), &problem);
        return status == RenderCommand::kUsage ? Usage(problem) : status;
    }
    if (command == "export-csv" || command == "import-csv") {
        QString problem;
        const int code = CsvCommands::Run(args, problem);
        return problem.isEmpty() ? code : Usage(problem);
    }
    const int operands = command == "convert" ? 2 : 1;
    if (command != "info" && command != "dump" && command != "convert" && command != "check")
        return Usage(QStringLiteral("unknown command \"%1\"").arg(command));
    if (args.size() != operands + 1)
        return Usage(QStringLiteral("%1 takes %2").arg(command, operands == 2 ? "IN and OUT" : "one FILE"));

    if (command == "check")
        return CheckCommand::Run(args[1]);

    TMineDocument doc;
    TMineFile::Load(doc, args[1]);
    if (command == "info")
        Write(stdout, MdfCommands::Info(doc));
    else if (command == "dump")
        MdfCommands::Dump(doc, stdout);
    else
        TMineFile::Save(doc, args[2]);
    return QuickExit::AfterOutput(kOk);
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write would kill the tool with SIGXFSZ without a
    // word; ignored, the write fails and the command reports it like any failed save.
    std::signal(SIGXFSZ, SIG_IGN);
    // Reports and pictures set text in fonts, which takes a GUI application; they need no display.
    std::unique_ptr<QCoreApplication> app;
    if (ReportCommand::Wanted(argc, argv) || RenderCommand::Wanted(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietQt);
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    try {
        return Run(app->arguments().mid(1));
    } catch (const AppError &e) {
        Write(stderr, TerminalText::EscapedMessage(e.message()).toUtf8() + '\n');
        return kFileError;
    } catch (const std::bad_alloc &) {
        Write(stderr, QStringLiteral("Недостаточно памяти для выполнения операции\n").toUtf8());
        return kFileError;
    } catch (const std::exception &e) {
        Write(stderr, TerminalText::EscapedMessage(QString::fromLocal8Bit(e.what())).toUtf8() + '\n');
        return kFileError;
    }
}
