// The main window's exchange with spreadsheets: a new document from a node file and a branch
// file, and the active document's node and branch lists written as two such files (core's
// NetworkCsv says what the files hold).
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "base/WaitCursor.h"
#include "exchange/NetworkCsv.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString chooseCsv(QWidget *parent, const QString &title, const QString &directory)
{
    AppDialogs::FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("Файлы CSV (*.csv);;Все файлы (*)");
    request.defaultSuffix = QStringLiteral("csv");
    request.directory = directory;
    const QStringList chosen = AppDialogs::RunFileDialog(parent, request);
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

void TMainForm::execImportCsv()
{
    const QString nodes = chooseCsv(this, QStringLiteral("Импорт из CSV: узлы"), dataDir());
    if (nodes.isEmpty())
        return;
    const QString branches =
        chooseCsv(this, QStringLiteral("Импорт из CSV: ветви"), QFileInfo(nodes).absolutePath());
    if (branches.isEmpty())
        return;
    // The new window shows the network only once every value has been accepted.
    CreateChild()->ImportFromCsv(nodes, branches); // on a refusal the window has closed itself
    UpdateActions();
}

void TMainForm::execExportCsv()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    AppDialogs::FileDialogRequest request;
    request.folder = true;
    request.title = QStringLiteral("Экспорт в CSV");
    request.directory = child->HasFile() ? QFileInfo(child->FileName()).absolutePath() : dataDir();
    const QStringList chosen = AppDialogs::RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    const QDir folder(chosen.first());
    if ((folder.exists(QStringLiteral("nodes.csv")) || folder.exists(QStringLiteral("branches.csv"))) &&
        AppDialogs::AskQuestion(this,
                                QStringLiteral("В папке %1 уже есть файлы nodes.csv или branches.csv.\r\n"
                                               "Заменить их?")
                                    .arg(QDir::toNativeSeparators(folder.path())),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    WaitCursor wait;
    NetworkCsv::Export(*child->Mine(), folder.path());
}
