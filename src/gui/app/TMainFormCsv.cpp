// The main window's exchange with other files: a new document from a node file and a branch
// file (and the stopping, people and document files found beside the branch file), the active
// document written as the five files, for Excel or as plain CSV (core's NetworkCsv says what the
// files hold), and the active document compared with a mine file.
#include "app/TMainForm.h"

#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "base/WaitCursor.h"
#include "dialogs/TCompareForm.h"
#include "exchange/NetworkCsv.h"

#include <QDir>
#include <memory>
#include <QFileInfo>
#include <QLocale>

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
    // on a refusal the window has closed itself
    CreateChild()->ImportFromCsv(NetworkCsv::SourcesBeside(nodes, branches));
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
    bool present = false;
    for (const char *name : NetworkCsv::kFileNames)
        present = present || folder.exists(QLatin1String(name));
    if (present &&
        AppDialogs::AskQuestion(this,
                                QStringLiteral("В папке %1 уже есть файлы nodes.csv, branches.csv, stoppings.csv, "
                                               "people.csv или document.csv.\r\nЗаменить их?")
                                    .arg(QDir::toNativeSeparators(folder.path())),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    // Russian spreadsheets split fields at semicolons and read numbers with a decimal comma.
    AppDialogs::MessageRequest format;
    format.icon = QMessageBox::Question;
    format.caption = AppDialogs::AppTitle();
    format.text = QStringLiteral("Формат файлов CSV:");
    format.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    format.buttonTexts = {{QMessageBox::Yes, QStringLiteral("Для Excel (точка с запятой, десятичная запятая)")},
                          {QMessageBox::No, QStringLiteral("Обычный (запятая, десятичная точка)")},
                          {QMessageBox::Cancel, QStringLiteral("Отмена")}};
    format.defaultButton = QLocale().language() == QLocale::Russian ? QMessageBox::Yes : QMessageBox::No;
    format.escapeButton = QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = AppDialogs::ShowMessageBox(this, format);
    if (answer == QMessageBox::Cancel)
        return;
    WaitCursor wait;
    NetworkCsv::Export(child->Document(), folder.path(),
                       answer == QMessageBox::Yes ? NetworkCsv::TFormat{';', true} : NetworkCsv::TFormat{});
}

void TMainForm::execCompare()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    AppDialogs::FileDialogRequest request;
    request.title = QStringLiteral("Сравнить с");
    request.filter = QStringLiteral("Файлы шахт (*.mdf);;Все файлы (*)");
    request.defaultSuffix = QStringLiteral("mdf");
    request.directory = child->HasFile() ? QFileInfo(child->FileName()).absolutePath() : dataDir();
    const QStringList chosen = AppDialogs::RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    // The window is the document's: it closes with it. A file that cannot be read leaves none.
    auto form = std::make_unique<TCompareForm>(child->Document(), chosen.first(), child);
    form->GoTo = [child](const TDiffPlace &place) { child->ShowDiffPlace(place); };
    form->Refresh();
    form.release()->show();
}
