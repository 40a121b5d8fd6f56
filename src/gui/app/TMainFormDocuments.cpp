// TMainForm, second half: documents arriving and leaving (new, open, the command line, a later
// start's hand-over, drops, recent files, closing) and the commands of the File and View menus
// that act on the active document.
#include "app/TMainForm.h"

#include "AppError.h"
#include "app/CommandIcons.h"
#include "app/DdeMacro.h"
#include "app/NamedFiles.h"
#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/TGroupCombo.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "settings/TOptionsForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QUrl>

// ------------------------------------------------------------------------------------------
// Settings read by the main window

QString TMainForm::dataDir() const
{
    return Config ? Config->DataDir : QDir::currentPath();
}

QString TMainForm::helpDir() const
{
    return Config ? Config->HelpDir : QString();
}

bool TMainForm::useColorSetting() const
{
    return Config ? Config->UseColor : true;
}

void TMainForm::updateRecentFilesMenus()
{
    if (Config) {
        QPointer<TMainForm> self(this);
        Config->UpdateLastFilesMenus(m_recentMenu, m_recentPopup, [self](const QString &path) {
            if (self)
                RunGuarded([&] { self->OpenDocumentFile(path); });
        });
    }
    // The sub-menu shows only when it has items.
    m_recentMenuAction->setVisible(!m_recentMenu->isEmpty());
}

void TMainForm::RecentFileClick(int position)
{
    if (!Config || position < 0 || position >= Config->LastFiles.size())
        return;
    OpenDocumentFile(Config->LastFiles.at(position));
}

// ------------------------------------------------------------------------------------------
// Documents

TChildForm *TMainForm::ActiveChild() const
{
    QMdiSubWindow *sub = m_workspace->currentSubWindow();
    if (!sub)
        return nullptr;
    auto *child = qobject_cast<TChildForm *>(sub->widget());
    return child && !child->IsClosed() ? child : nullptr;
}

QList<TChildForm *> TMainForm::Children() const
{
    QList<TChildForm *> list;
    for (QMdiSubWindow *sub : m_workspace->subWindowList(QMdiArea::CreationOrder)) {
        auto *child = qobject_cast<TChildForm *>(sub->widget());
        if (child && !child->IsClosed())
            list << child;
    }
    return list;
}

TChildForm *TMainForm::CreateChild()
{
    auto *child = new TChildForm(this);
    const int others = int(m_workspace->subWindowList().size());
    QMdiSubWindow *sub = m_workspace->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(CommandIcon(QStringLiteral("actFileProp")));
    sub->setGeometry(CascadeSlot(m_workspace->viewport()->size(), others,
                                 style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)));
    sub->show();
    m_workspace->setActiveSubWindow(sub);
    UpdateActions();
    return child;
}

QRect TMainForm::CascadeSlot(const QSize &area, int index, int step)
{
    // The area's workspace may be smaller than the usual window: the window then fills it.
    const QSize size = QSize(qBound(400, area.width() * 9 / 10, 980),
                             qBound(300, area.height() * 9 / 10, 640)).boundedTo(area);
    step = qMax(1, step);
    // As many steps down and right as fit before the window would leave the area; then the
    // cascade starts again at the top left.
    const int steps = 1 + qMax(0, qMin((area.width() - size.width()) / step,
                                       (area.height() - size.height()) / step));
    const int offset = (index % steps) * step;
    return QRect(QPoint(offset, offset), size);
}

bool TMainForm::FindOpenDocument(const QString &path)
{
    const QList<TChildForm *> children = Children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        TChildForm *child = *it;
        if (child->HasFile() && child->FileName() == path) {
            auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget());
            if (sub) {
                if (sub->isMinimized())
                    sub->showNormal();
                m_workspace->setActiveSubWindow(sub);
            }
            return true;
        }
    }
    return false;
}

void TMainForm::OpenDocumentFile(const QString &path)
{
    if (FindOpenDocument(path))
        return;
    TChildForm *child = CreateChild();
    child->LoadFromFile(path); // on failure the window has closed itself
    UpdateActions();
}

bool TMainForm::IsDdeSwitch(const QString &argument)
{
    return (argument.startsWith(u'-') || argument.startsWith(u'/'))
        && argument.mid(1).compare(QLatin1String("dde"), Qt::CaseInsensitive) == 0;
}

bool TMainForm::HasDdeSwitch(const QStringList &arguments)
{
    for (const QString &a : arguments) {
        if (a == QLatin1String("--"))
            break;
        if (IsDdeSwitch(a))
            return true;
    }
    return false;
}

QStringList TMainForm::CommandLineDocuments(const QStringList &arguments)
{
    if (HasDdeSwitch(arguments))
        return {};
    QStringList paths;
    bool options = true;
    for (const QString &a : arguments) {
        if (options && a == QLatin1String("--"))
            options = false;
        else if (!options || !IsDdeSwitch(a))
            paths << a;
    }
    return paths;
}

void TMainForm::OpenCommandLineDocuments()
{
    openNamedFiles(CommandLineDocuments(m_commandLine));
}

void TMainForm::openNamedFiles(const QStringList &paths)
{
    const TNamedFiles named = SortNamedFiles(paths);
    // The first failing document ends the rest of the list.
    RunGuarded([this, &named] {
        for (const QString &path : named.Open)
            OpenDocumentFile(path);
    });
    UpdateActions();
    if (!named.Refused.isEmpty())
        AppDialogs::ShowInformation(this, RefusedFilesMessage(named.Refused));
}

void TMainForm::ExecuteDdeMacro(const QString &macro)
{
    // A hand-over brings the program to the user, before any box about what it brought.
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    openNamedFiles(DdeOpenPaths(macro));
}

void TMainForm::OpenDroppedFiles(const QStringList &paths)
{
    openNamedFiles(paths);
}

void TMainForm::ApplyDisplaySettingsToAll()
{
    for (TChildForm *child : Children()) {
        child->ApplyDisplaySettings();
        child->ApplyUndoLimit();
        child->update();
        child->pnlJumpers->JumperGrid->update();
    }
}

// ------------------------------------------------------------------------------------------
// Window events

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShown)
        return;
    m_firstShown = true;
    // The documents of the command line open once the window is up, from the event loop.
    QPointer<TMainForm> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self)
            self->OpenCommandLineDocuments();
    });
}

bool TMainForm::canClose()
{
    const QList<TChildForm *> children = Children();
    for (TChildForm *child : children) {
        bool mayClose = false;
        RunGuarded([&] { mayClose = child->FormCloseQuery(); });
        if (!mayClose)
            return false;
    }
    QString lines;
    for (TChildForm *child : children) {
        if (child->Calculating())
            lines += QStringLiteral("   %1 (шахта \"%2\")\n")
                         .arg(QFileInfo(child->FileName()).fileName(), child->Mine()->Title());
    }
    if (!lines.isEmpty()) {
        AppDialogs::ShowInformation(
            this, QStringLiteral("В настоящий момент проводиться расчет следующих файлов:\n\n%1\n"
                                 "Прежде чем закрыть программу необходимо окончить все расчеты")
                      .arg(lines));
        return false;
    }
    for (TChildForm *child : children)
        child->SetCloseApproved();
    return true;
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!canClose()) {
        event->ignore();
        return;
    }
    m_closing = true;
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        paths << (url.isLocalFile() ? url.toLocalFile() : QString());
    // The drop is over for the sender at once; the documents open from the event loop, where
    // a read error may show its box.
    event->acceptProposedAction();
    QPointer<TMainForm> self(this);
    QTimer::singleShot(0, this, [self, paths] {
        if (self)
            self->OpenDroppedFiles(paths);
    });
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QMenu *>(watched)
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
        event->accept(); // F1 in a menu is the menu's help, not the window's
        return true;
    }
    if (event->type() == QEvent::KeyPress && qobject_cast<QMenu *>(watched)) {
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
            static_cast<QMenu *>(watched)->close();
            ShowHelpTopic(5);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ------------------------------------------------------------------------------------------
// Execute steps

void TMainForm::execNew()
{
    CreateChild();
}

void TMainForm::execOpen()
{
    AppDialogs::FileDialogRequest request;
    request.multiple = true;
    request.title = QStringLiteral("Открытие файл");
    request.filter = QStringLiteral("Файлы данных (*.mdf)");
    request.defaultSuffix = QStringLiteral("mdf");
    request.directory = dataDir();
    for (const QString &path : AppDialogs::RunFileDialog(this, request))
        OpenDocumentFile(path);
}

void TMainForm::execSave()
{
    if (TChildForm *child = ActiveChild())
        child->SaveToFile();
}

void TMainForm::execSaveAs()
{
    if (TChildForm *child = ActiveChild())
        child->SaveAs();
}

void TMainForm::execSaveAll()
{
    for (TChildForm *child : Children())
        child->SaveToFile();
}

void TMainForm::execClose()
{
    if (TChildForm *child = ActiveChild())
        if (auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget()))
            sub->close();
}

void TMainForm::execExit()
{
    close();
}

void TMainForm::execSurfUzel()
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    if (TUzel *u = child->CurrentUzel()) {
        TUserAction action(child->Mine(), QStringLiteral("Поверхностный узел"));
        u->SetSurface(!u->Surface());
        child->Tables->RepaintTables();
    }
}

void TMainForm::execViewUzels()
{
    if (TChildForm *child = ActiveChild())
        child->SetUzelTableVisible(!child->IsUzelTableVisible());
}

void TMainForm::execViewBranches()
{
    if (TChildForm *child = ActiveChild())
        child->SetBranchTableVisible(!child->IsBranchTableVisible());
}

void TMainForm::execViewJumpers()
{
    if (TChildForm *child = ActiveChild())
        child->SetJumperPanelVisible(!child->IsJumperPanelVisible());
}

void TMainForm::execViewMessage()
{
    if (TChildForm *child = ActiveChild())
        child->ShowMessages(true);
}

void TMainForm::execAddJumper()
{
    if (TChildForm *child = ActiveChild())
        child->pnlJumpers->AddStopping();
}

void TMainForm::execDelJumper()
{
    if (TChildForm *child = ActiveChild())
        child->pnlJumpers->DeleteStopping();
}

void TMainForm::execClearAccountResults()
{
    if (TChildForm *child = ActiveChild())
        child->ClearResults(true, true, true, true);
}

void TMainForm::sortBy(TColumnKind kind)
{
    if (TChildForm *child = ActiveChild())
        child->SortBy(kind);
}

void TMainForm::groupChosen(TGroupCombo *box, bool layers, int index)
{
    TChildForm *child = ActiveChild();
    if (!child)
        return;
    QWidget *focus = child->focusWidget();
    if (box->IsEditItem(index)) {
        // The editor refills the boxes, which then show the current branch's groups again.
        editLayers(layers ? 0 : 1);
    } else if (child->BranchCount() > 0) {
        if (TBranch *b = child->CurrentBranch()) {
            TUserAction action(child->Mine(), layers ? QStringLiteral("Пласт ветви") : QStringLiteral("Позиция ПЛА ветви"));
            if (layers)
                b->SetLayerIndex(index - 1);
            else
                b->SetPLFIndex(index - 1);
            // The row's seam square and plan-position cell (the grid's own update() would not
            // reach the cells, which live in its viewport).
            child->Tables->UpdateBranchRow(b);
        }
    }
    if (focus)
        focus->setFocus();
}

void TMainForm::execSetup()
{
    TOptionsForm::Execute(this);
}
