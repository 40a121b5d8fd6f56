// tarvel-mdf-pictures: the report and render commands of tarvel-mdf, which starts this program
// for them (ToolMain.h); the same arguments, output and exit codes.
#include "RenderCommand.h"
#include "ReportCommand.h"
#include "TerminalText.h"
#include "ToolMain.h"

#include <QGuiApplication>
#include <csignal>

using namespace ToolMain;

namespace {

// stderr carries the findings and errors of the tool; Qt's own notes about the platform (no
// runtime directory, fonts) are not the user's business.
void QuietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Write(stderr, TerminalText::EscapedMessage(message).toUtf8() + '\n');
}

} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGXFSZ, SIG_IGN);
    // Text is set in fonts, which takes a GUI application; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQt);
    QGuiApplication app(argc, argv);
    int status = kOk;
    const std::optional<TInvocation> in = Parse(app.arguments().mid(1), &status);
    if (!in)
        return status;
    return ToolMain::Run(*in, {{QStringLiteral("report"), ReportCommand::Run}, {QStringLiteral("render"), RenderCommand::Run}});
}
