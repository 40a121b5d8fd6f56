#include "ToolMain.h"

#include "AppError.h"
#include "TerminalText.h"

#include <cstring>
#include <exception>
#include <new>

namespace {

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

} // namespace

void ToolMain::Write(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int ToolMain::Help()
{
    Write(stdout, kUsageText);
    return kOk;
}

int ToolMain::Usage(const QString &problem)
{
    if (!problem.isEmpty())
        Write(stderr, "tarvel-mdf: " + TerminalText::Escaped(problem).toUtf8() + '\n');
    Write(stderr, kUsageText);
    return kUsage;
}

int ToolMain::Guarded(const std::function<int()> &command)
{
    try {
        return command();
    } catch (const AppError &e) {
        Write(stderr, TerminalText::EscapedMessage(e.message()).toUtf8() + '\n');
    } catch (const std::bad_alloc &) {
        Write(stderr, QStringLiteral("Недостаточно памяти для выполнения операции\n").toUtf8());
    } catch (const std::exception &e) {
        Write(stderr, TerminalText::EscapedMessage(QString::fromLocal8Bit(e.what())).toUtf8() + '\n');
    }
    return kFileError;
}

bool ToolMain::WantsPictures(int argc, char *argv[])
{
    return argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "report") == 0);
}
