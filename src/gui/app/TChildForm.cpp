#include "app/TChildForm.h"
#include <QUndoStack>

#include "AppError.h"
#include "app/TMainForm.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/TGroupCombo.h"
#include "base/Utils.h"
#include "base/WaitCursor.h"
#include "checks/TMessagePanel.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "exchange/NetworkCsv.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/FileErrors.h"
#include "storage/TMineFile.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include <new>

namespace {

int createdCount = 0;
// The Help button of the question before calculated data change.
constexpr int ConfirmEditHelpTopic = 33;

QString withoutFolder(const QString &path)
{
    return QFileInfo(path).fileName();
}

// The document's path with its extension replaced: "mine.mdf" -> "mine.r".
QString sideFile(const QString &path, const QString &extension)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + extension;
}

} // namespace

int TChildForm::CreatedCount()
{
    return createdCount;
}

TChildForm::TChildForm(TMainForm *mainForm, QWidget *parent) : QWidget(parent), m_mainForm(mainForm)
{
    setAttribute(Qt::WA_DeleteOnClose, false); // the sub-window owns and deletes the form
    m_mainForm->SetDocumentCount(m_mainForm->DocumentCount() + 1);

    m_doc.ResetColumns();
    buildLayout();
    ApplyDisplaySettings();

    m_doc.SetAutoUpdate(true);
    m_doc.SetAutoUpdateIterations(50);
    m_doc.SetSaveIterations(25);
    m_doc.SetCellLength(4.0f);
    m_doc.SetReserved1(0);
    m_doc.SetBoomSpeed(10.0f);

    const int n = ++createdCount;
    Mine()->SetTitle(QStringLiteral("Шахта без названия %1").arg(n));
    m_doc.SetFileName(dataDir() + QStringLiteral("Новый %1.mdf").arg(n));

    // Within a bulk update the status waits for its end (which reports the counts), instead of
    // following each of, say, 300,000 coordinates a transformation sets.
    Mine()->OnModified = [this](TMine *mine, bool) {
        noteChange();
        if (!m_loading && !mine->Updating() && !mine->Journal().Replaying())
            ShowDocumentStatus();
    };
    // Adding and deleting rows need not mark the document modified; the counts follow anyway.
    Mine()->OnCountsChanged = [this](TMine *) {
        noteChange();
        if (!m_loading)
            ShowDocumentStatus();
    };

    m_doc.SetHasFile(false);
    m_doc.SetReserved2(false);
    m_doc.SetCalculated(false);
    updateCaption();
    RefreshTables();
    Mine()->SetModified(false);
    setupUndo();
}

TChildForm::~TChildForm()
{
    // The mine goes before the widgets; the stopping panel lets go of it first.
    pnlJumpers->SetMine(nullptr);
    // The steps hold deleted elements of the mine: they go while it is there.
    TChangeJournal &journal = Mine()->Journal();
    journal.OnStep = nullptr;
    journal.OnLost = nullptr;
    journal.OnImplicit = nullptr;
    journal.SetEnabled(false);
    m_resettingUndo = true;
    delete m_undo;
    m_undo = nullptr;
    Mine()->OnModified = nullptr;
    Mine()->OnCountsChanged = nullptr;
    m_mainForm->SetDocumentCount(m_mainForm->DocumentCount() - 1);
}

QString TChildForm::dataDir() const
{
    QString dir = Config ? Config->DataDir : QDir::currentPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

void TChildForm::buildLayout()
{
    MainSplit = new QSplitter(Qt::Vertical, this);
    MainSplit->setObjectName(QStringLiteral("MainSplit"));
    MainSplit->setChildrenCollapsible(false);

    TablesSplit = new QSplitter(Qt::Horizontal, MainSplit);
    TablesSplit->setObjectName(QStringLiteral("TablesSplit"));
    TablesSplit->setChildrenCollapsible(false);

    // The stopping and people panel shows the current branch's stoppings and persons; its
    // changes pass the same results question as the tables.
    pnlJumpers = new TJumperPanel(MainSplit);
    pnlJumpers->setObjectName(QStringLiteral("pnlJumpers"));
    pnlJumpers->SetMine(Mine());
    pnlJumpers->SetBranchSource([this] { return CurrentBranch(); });
    pnlJumpers->ConfirmEdit = [this] { return ConfirmEdit(); };
    buildTables();

    buildMessagePanel();

    MainSplit->addWidget(TablesSplit);
    MainSplit->addWidget(pnlJumpers);
    MainSplit->addWidget(pnlMessages);
    MainSplit->setStretchFactor(0, 1);
    MainSplit->setStretchFactor(1, 0);
    MainSplit->setStretchFactor(2, 0);
    // The stopping panel starts as high as the user last left it, else with room for four
    // stoppings; the tables take the rest, also when the window grows (their stretch), and only
    // they give way when it shrinks.
    const int panel = RememberedSize(Config ? Config->JumperPanelHeight : 0, pnlJumpers->HeightForRows(4));
    MainSplit->setSizes({300, panel, RememberedSize(Config ? Config->MessagePanelHeight : 0,
                                                    TMessagePanel::kInitialHeight)});
    // Where the user leaves a splitter is where the next window starts.
    connect(MainSplit, &QSplitter::splitterMoved, this, &TChildForm::rememberSplitters);
    connect(TablesSplit, &QSplitter::splitterMoved, this, &TChildForm::rememberSplitters);
    pnlMessages->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MainSplit);
    resize(760, 300 + MainSplit->handleWidth() + panel);
}

int TChildForm::RememberedSize(int remembered, int first)
{
    return remembered > 0 ? remembered : first;
}

void TChildForm::rememberSplitters()
{
    if (!Config)
        return;
    const QList<int> rows = MainSplit->sizes();
    if (!pnlJumpers->isHidden() && rows.value(1) > 0)
        Config->JumperPanelHeight = rows.value(1);
    if (!pnlMessages->isHidden() && rows.value(2) > 0)
        Config->MessagePanelHeight = rows.value(2);
    if (!UzelGrid->isHidden() && !BranchGrid->isHidden() && TablesSplit->sizes().value(0) > 0)
        Config->UzelTableWidth = TablesSplit->sizes().value(0);
}

void TChildForm::updateCaption()
{
    // A file name may hold a line break; the caption stays one line.
    setWindowTitle(OneLineText(withoutFolder(m_doc.FileName())));
}

void TChildForm::noteChange()
{
    ++m_changes;
    // Reading sets the flag for every value read; the window tells its outcome once at the end.
    if (m_loading || Mine()->Modified() == m_wasModified)
        return;
    m_wasModified = Mine()->Modified();
    emit ModifiedChanged(m_wasModified);
}

void TChildForm::updatePlaceholders()
{
    // Stand-ins until the tables are built: they say what will be there and how much of it.
    if (UzelGrid == m_uzelPlaceholder)
        m_uzelPlaceholder->setText(QStringLiteral("Таблица узлов\n%1 узл.").arg(UzelCount()));
    if (BranchGrid == m_branchPlaceholder)
        m_branchPlaceholder->setText(QStringLiteral("Таблица ветвей\n%1 ветв.").arg(BranchCount()));
}

void TChildForm::ApplyDisplaySettings()
{
    if (!Config)
        return;
    Tables->ApplyDisplaySettings();
    pnlJumpers->ApplyDisplaySettings();
}

void TChildForm::RefreshTables()
{
    updatePlaceholders();
    // After reading, a check or clearing results: no number is cut.
    Tables->WidenColumns();
    Tables->RefreshTables();
}

// ------------------------------------------------------------------------------------------
// Reading and saving

void TChildForm::LoadFromFile(const QString &path)
{
    readDocument([this, &path] { TMineFile::Load(m_doc, path); });
    if (Config)
        Config->AddLastFile(path);
}

void TChildForm::ImportFromCsv(const NetworkCsv::TSources &sources)
{
    WaitCursor wait;
    readDocument([this, &sources] { NetworkCsv::Read(m_doc, sources); });
}

void TChildForm::ImportNetwork(const std::function<void(TMine &)> &build)
{
    WaitCursor wait;
    readDocument([this, &build] { build(*Mine()); });
}

void TChildForm::readDocument(const std::function<void()> &read)
{
    // A failure anywhere, in reading or in building the window round what was read, closes the
    // window: no half-built document stays on screen.
    try {
        m_loading = true;
        // What is read is the document's start, not a step.
        const bool journal = Mine()->Journal().Enabled();
        Mine()->Journal().SetEnabled(false);
        read();
        Mine()->Journal().SetEnabled(journal);
        m_undo->clear();
        // A document read as modified (recovered, imported) has no saved state in the list.
        if (Mine()->Modified())
            dropUndoHistory();
        m_loading = false;
        noteChange();
        // Refresh: columns from the kinds read, tables, caption, group boxes, branch row.
        LayoutColumns();
        RefreshTables();
        updateCaption();
        FillGroupCombos();
        ApplyBranchRow();
        ShowDocumentStatus();
    } catch (const std::bad_alloc &) {
        m_loading = false;
        CloseWithoutQuestion();
        throw AppError(FileErrors::OutOfMemoryMessage());
    } catch (...) {
        m_loading = false;
        CloseWithoutQuestion();
        throw;
    }
}

bool TChildForm::SaveToFile()
{
    if (m_calculating)
        return false;
    QString path = m_doc.FileName();
    if (!m_doc.HasFile()) {
        AppDialogs::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Сохранение файла");
        request.filter = QStringLiteral("Файлы данных (*.mdf)");
        request.defaultSuffix = QStringLiteral("mdf");
        request.directory = dataDir();
        request.fileName = m_doc.FileName();
        const QStringList chosen = AppDialogs::RunFileDialog(this, request);
        if (chosen.isEmpty())
            return false;
        path = chosen.first();
    }
    {
        WaitCursor wait;
        try {
            // Saving removes the empty rows: a step of its own, before the saved state.
            TUserAction action(Mine(), QStringLiteral("Удаление пустых строк"));
            TMineFile::Save(m_doc, path);
        } catch (...) {
            // Saving removes empty rows even when the write fails afterwards.
            RefreshTables();
            throw;
        }
        RefreshTables();
    }
    updateCaption();
    FlushJournal();
    m_undo->setClean();
    Mine()->SetModified(false);
    if (Config)
        Config->AddLastFile(path);
    return true;
}

bool TChildForm::SaveAs()
{
    const bool hadFile = m_doc.HasFile();
    m_doc.SetHasFile(false);
    bool saved = false;
    try {
        saved = SaveToFile();
    } catch (...) {
        m_doc.SetHasFile(hadFile);
        throw;
    }
    if (!saved)
        m_doc.SetHasFile(hadFile);
    return saved;
}

void TChildForm::ClearResults(bool ask, bool wholeMine, bool save, bool route)
{
    if (ask && AppDialogs::AskQuestion(this,
                                       QStringLiteral("Отменить удаление результатов будет невозможно.\n\n"
                                                      "Для подтверждения удаления нажмите кнопку OK"),
                                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                   != QMessageBox::Yes)
        return;

    TMine *mine = Mine();
    mine->BeginUpdate();
    for (TBranch *b : mine->Branches()) {
        if (wholeMine) {
            b->SetNormalResult(-1);
            b->SetNormalMark(0);
        }
        if (route) {
            b->SetRouteResult(-1);
            b->SetRouteMark(0);
        }
        b->SetZone(3, false);
        b->SetZone(4, false);
        for (TJumper *j : b->Jumpers()) {
            if (wholeMine)
                j->SetNormalHit(false);
            if (route)
                j->SetRouteHit(false);
        }
    }
    mine->EndUpdate();
    m_doc.SetCalculated(false);

    if (save && m_doc.HasFile()) {
        SaveToFile();
        // Result files go only when their document is really there.
        if (QFileInfo::exists(m_doc.FileName())) {
            if (wholeMine)
                QFile::remove(sideFile(m_doc.FileName(), QStringLiteral(".r")));
            if (route)
                QFile::remove(sideFile(m_doc.FileName(), QStringLiteral(".r2")));
        }
    }
    RefreshTables();
}

bool TChildForm::ConfirmEdit()
{
    if (!m_doc.Calculated())
        return true;
    if (m_confirming)
        return false;
    m_confirming = true;
    QMessageBox::StandardButton answer = QMessageBox::No;
    try {
        answer = AppDialogs::AskQuestion(
            this,
            QStringLiteral("Внимание !\n\nВы пытаетесь внести изменения в уже расчитанные топологические данные.\n"
                           "Проведение повторного расчета может занять длительное время.\n\n"
                           "В случае положительного подтверждения предыдущие результаты\n"
                           "будут уничтожены без возможности отмены.\n\n"
                           "Вы действительно хотите внести изменения?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QString(), ConfirmEditHelpTopic);
    } catch (...) {
        m_confirming = false;
        throw;
    }
    m_confirming = false;
    if (answer != QMessageBox::Yes)
        return false;
    ClearResults(false, true, true, true);
    return true;
}

// ------------------------------------------------------------------------------------------
// Lifecycle

bool TChildForm::FormCloseQuery()
{
    FlushJournal();
    if (m_calculating || !Mine()->Modified())
        return true;
    const auto answer = AppDialogs::AskQuestion(
        this, QStringLiteral("Сохранить изменения в файле %1 ?").arg(withoutFolder(m_doc.FileName())),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
        QStringLiteral("Сохранение"));
    switch (answer) {
    case QMessageBox::Yes:
        // A failed save is reported and keeps the window open with its changes.
        RunGuarded([this] { SaveToFile(); });
        return !Mine()->Modified();
    case QMessageBox::No:
        Mine()->SetModified(false);
        return true;
    default:
        return false;
    }
}

void TChildForm::FormClose()
{
    Tables->UzelGrid->CloseEditor();
    Tables->BranchGrid->CloseEditor();
    pnlJumpers->CloseEditors();
    ShowMessages(false);
    ClearMessages();
    closeCheckWindows();
    m_mainForm->SchemesLetGo(Mine());
    m_closed = true;
}

void TChildForm::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    // The close question may save: a failed save is shown here and keeps the window open.
    bool mayClose = m_discard || m_closeApproved;
    if (!mayClose)
        RunGuarded([&] { mayClose = FormCloseQuery(); });
    if (mayClose) {
        FormClose();
        event->accept();
    } else {
        event->ignore();
    }
}

void TChildForm::CloseWithoutQuestion()
{
    m_discard = true;
    // Gone at once, not when the event loop comes round: the error box that follows must not
    // show the dead document in the status bar and the group boxes. The caller touches nothing
    // of this window afterwards.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        sub->close();
        delete sub;
    } else {
        close();
    }
}

void TChildForm::FormActivate()
{
    ShowDocumentStatus();
    FillGroupCombos();
    ApplyBranchRow();
    Tables->RepaintTables();
    m_mainForm->SchemesFollow(Mine());
}

void TChildForm::ShowDocumentStatus()
{
    TChildForm *doc = m_mainForm->ActiveChild();
    if (!doc)
        doc = this;
    try {
        const TMine *mine = doc->Mine();
        m_mainForm->SetStatusPanelText(0, QStringLiteral("Шахта: \"%1\"").arg(mine->Title()));
        m_mainForm->SetStatusPanelText(1, QStringLiteral("Узлы: %1").arg(mine->Uzels().Count()));
        m_mainForm->SetStatusPanelText(2, QStringLiteral("Ветви: %1").arg(mine->Branches().Count()));
        m_mainForm->SetStatusPanelText(3, mine->Modified() ? QStringLiteral("Изменен") : QString());
    } catch (...) {
        for (int i = 0; i < 4; ++i)
            m_mainForm->SetStatusPanelText(i, QString());
    }
    updatePlaceholders();
}

void TChildForm::FillGroupCombos()
{
    QList<QPair<QString, QColor>> layers;
    for (const TLayer *l : Mine()->Layers())
        layers.append({l->Name(), ToQColor(l->Color())});
    QList<QPair<QString, QColor>> plfs;
    for (const TLayer *p : Mine()->PLFs())
        plfs.append({p->Name(), ToQColor(p->Color())});
    m_mainForm->cbLayers->Fill(layers);
    m_mainForm->cbPLFs->Fill(plfs);
    ShowBranchGroups();
}

void TChildForm::ShowBranchGroups()
{
    // The boxes belong to the active document (a refresh of another one, say by Save All,
    // leaves them alone).
    if (TChildForm *active = m_mainForm->ActiveChild(); active && active != this)
        return;
    const TBranch *b = BranchCount() > 0 ? CurrentBranch() : nullptr;
    m_mainForm->cbLayers->SelectGroup(b ? b->LayerIndex() : -1);
    m_mainForm->cbPLFs->SelectGroup(b ? b->PLFIndex() : -1);
}

void TChildForm::ApplyBranchRow()
{
    if (TBranch *b = CurrentBranch()) {
        if (Mine()->CurBranch() != b)
            Mine()->SelectBranch(b);
    }
    ShowBranchGroups();
    pnlJumpers->RefreshStoppings();
    pnlJumpers->RefreshPeople();
}

// ------------------------------------------------------------------------------------------
// Current elements and rule terms

TUzel *TChildForm::CurrentUzel() const
{
    return Tables->CurrentUzel();
}

TBranch *TChildForm::CurrentBranch() const
{
    return Tables->CurrentBranch();
}

int TChildForm::UzelCount() const
{
    return Mine()->Uzels().Count();
}

int TChildForm::BranchCount() const
{
    return Mine()->Branches().Count();
}

bool TChildForm::IsModified() const
{
    return Mine()->Modified();
}

int TChildForm::CurrentBranchJumperCount() const
{
    const TBranch *b = CurrentBranch();
    return b ? b->Jumpers().Count() : 0;
}

bool TChildForm::CurrentUzelIsSurface() const
{
    const TUzel *u = CurrentUzel();
    return u && u->Surface();
}

void TChildForm::SortBy(TColumnKind kind)
{
    Tables->SortBy(kind);
}

// ------------------------------------------------------------------------------------------
// Panels

bool TChildForm::IsUzelTableVisible() const
{
    return !UzelGrid->isHidden();
}

bool TChildForm::IsBranchTableVisible() const
{
    return !BranchGrid->isHidden();
}

bool TChildForm::IsJumperPanelVisible() const
{
    return !pnlJumpers->isHidden();
}

bool TChildForm::IsMessagePanelVisible() const
{
    return !pnlMessages->isHidden();
}

void TChildForm::SetUzelTableVisible(bool visible)
{
    // One table always stays: the commands refuse to hide the last one.
    if (!visible && BranchGrid->isHidden())
        return;
    if (!visible)
        m_uzelWidthBeforeHide = TablesSplit->sizes().value(0, m_uzelWidthBeforeHide);
    UzelGrid->setVisible(visible);
    if (visible) {
        const int total = TablesSplit->width();
        TablesSplit->setSizes({m_uzelWidthBeforeHide, qMax(100, total - m_uzelWidthBeforeHide)});
    }
}

void TChildForm::SetBranchTableVisible(bool visible)
{
    if (!visible && UzelGrid->isHidden())
        return;
    if (!visible) {
        m_uzelWidthBeforeHide = TablesSplit->sizes().value(0, m_uzelWidthBeforeHide);
        BranchGrid->hide();
    } else {
        BranchGrid->show();
        const int total = TablesSplit->width();
        TablesSplit->setSizes({m_uzelWidthBeforeHide, qMax(100, total - m_uzelWidthBeforeHide)});
    }
}

void TChildForm::SetJumperPanelVisible(bool visible)
{
    pnlJumpers->setVisible(visible);
}
