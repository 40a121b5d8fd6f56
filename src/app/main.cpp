// Start of the editor: the options answered without a display (StartOptions.h), settings, the
// single-instance hand-over, the main window, the event loop, and the settings written back once
// the main window is gone.
#include "StartOptions.h"
#include "app/DdeMacro.h"
#include "app/TApplication.h"
#include "app/TMainForm.h"
#include "app/TRecovery.h"
#include "app/TSingleInstance.h"
#include "settings/TConfig.h"
#include "storage/TRecoveryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <csignal>

int main(int argc, char *argv[])
{
    // Past a file-size limit (ulimit -f) a write would kill the process with SIGXFSZ and take
    // every open document with it; ignored, the write fails and the save reports it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (const int answered = StartOptions::AnswerWithoutDisplay(argc, argv); answered >= 0)
        return answered;
    if (!StartOptions::DisplayNamed(argc, argv))
        return StartOptions::kNoDisplay;
    StartOptions::TPlatformStartGuard guard;
    TApplication app(argc, argv);
    guard.Release();

    const QStringList arguments = app.arguments().mid(1);
    if (const QString unknown = StartOptions::UnknownOption(arguments); !unknown.isEmpty())
        return StartOptions::RefuseOption(unknown);

    // A program already running takes the documents; this start then ends.
    TSingleInstance instance(TSingleInstance::DefaultServerName());
    if (!instance.Listen()) {
        const QStringList documents = TMainForm::CommandLineDocuments(arguments);
        if (!documents.isEmpty()) {
            QStringList absolute;
            for (const QString &path : documents)
                absolute << QFileInfo(path).absoluteFilePath();
            if (TSingleInstance::SendRequest(instance.ServerName(), BuildDdeOpenMacro(absolute)))
                return 0;
        }
    }

    // Relative paths of the command line are meant from where the program was started, not from
    // the data folder that Config makes current.
    QStringList commandLine;
    bool options = true;
    for (const QString &a : arguments) {
        const bool option = options && (a == QLatin1String("--") || TMainForm::IsDdeSwitch(a));
        if (options && a == QLatin1String("--"))
            options = false;
        commandLine << (option ? a : QFileInfo(a).absoluteFilePath());
    }

    StartConfig(); // settings are read before the main window exists
    int exitCode = 0;
    {
        TMainForm window;
        QObject::connect(&instance, &TSingleInstance::ExecuteRequested, &window, &TMainForm::ExecuteDdeMacro);
        window.SetCommandLine(commandLine);
        // Copies of unsaved documents; those a crashed run left are offered first thing, before
        // the documents of the command line open (queued before the window's first showing
        // queues them), so that a restored document is the one a path on it finds.
        TRecovery recovery(&window, TRecoveryStore::DefaultFolder());
        QTimer::singleShot(0, &recovery, &TRecovery::OfferLeftovers);
        window.show();
        exitCode = app.exec();
    }
    FinishConfig(); // and written back only after it is gone
    return exitCode;
}
