#include "app/TMainForm.h"

#include "AppError.h"
#include "app/CommandIcons.h"
#include "app/DdeMacro.h"
#include "app/TAboutBox.h"
#include "app/TChildForm.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/TGroupCombo.h"
#include "base/Utils.h"
#include "settings/TOptionsForm.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <cmath>

namespace {

enum class Rule {
    Always,
    Never,
    HasDocument,
    Ready,
    ReadyModified,
    ReadyNodes,
    ReadyBranches,
    ReadyCurrentJumpers, // the current branch has at least one stopping
    NodeTableToggle,     // HasDocument and the branch table is visible
    BranchTableToggle,   // HasDocument and the node table is visible
    CanUndo,             // Ready and the document has a step to undo
    CanRedo,             // Ready and the document has a step to redo
};

enum class Tick { None, Surface, NodeTable, BranchTable, JumperPanel, MessagePanel, UseColor };

} // namespace

struct TMainForm::ActionSpec {
    QAction *TMainForm::*member;
    const char *name;
    const char *caption;
    const char *hint;
    QKeySequence key;
    Rule rule;
    // nullptr for the sorts (connected with their column kind below) and for the gas-dynamic
    // calculation's commands and result colouring, which this program shows but never enables.
    void (TMainForm::*exec)();
    Tick tick = Tick::None;
};

TMainForm::TMainForm(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(AppDialogs::AppTitle());
    setObjectName(QStringLiteral("MainForm"));

    m_workspace = new QMdiArea(this);
    m_workspace->setBackground(palette().brush(QPalette::Dark));
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_workspace);
    connect(m_workspace, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *w) {
        if (w)
            if (auto *child = qobject_cast<TChildForm *>(w->widget()))
                RunGuarded([child] { child->FormActivate(); });
        UpdateActions();
    });

    // Creation steps: drop target, no documents, images, colour tick, help, recent files,
    // dialog folders (asked of Config when they run), position left to the window system.
    setAcceptDrops(true);
    createActions();
    createStatusBar();
    createToolBars();
    createMenus();
    SetDocumentCount(0);
    actUseColor->setChecked(useColorSetting());
    updateRecentFilesMenus();
    // Context help of the main window.
    // Only within the frame and its document windows: a tool window of the frame would otherwise
    // see two F1 keys, its own and this one, and take neither.
    auto *contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    contextHelp->setContext(Qt::WidgetWithChildrenShortcut);
    connect(contextHelp, &QShortcut::activated, this, [this] { ShowHelpTopic(6); });
    // No position is asked for: the window system places the window.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize avail = screen->availableSize();
        resize(qMax(800, avail.width() * 9 / 10), qMax(600, avail.height() * 9 / 10));
    } else {
        resize(1000, 700);
    }

    // Enabling rules are evaluated whenever the event loop has nothing else to do.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TMainForm::UpdateActions);
    UpdateActions();

    TOptionsForm::ApplyDisplaySettings = [this] { ApplyDisplaySettingsToAll(); };
}

TMainForm::~TMainForm()
{
    m_closing = true;
    TOptionsForm::ApplyDisplaySettings = nullptr;
    // Children report to the main window while they go; let them go while it still exists.
    // A closed document's window is no longer in the area's list but waits for its deferred
    // deletion, which would otherwise come from the area's destructor, after this one.
    for (QMdiSubWindow *w : m_workspace->findChildren<QMdiSubWindow *>())
        delete w;
}

// ------------------------------------------------------------------------------------------
// Commands

void TMainForm::createActions()
{
    using R = Rule;
    using T = Tick;
    using M = TMainForm;
    const ActionSpec specs[] = {
        {&M::actCheckTopology, "actCheckTopology", "Проверить &топологию", "Проверить топологию", QKeySequence(Qt::CTRL | Qt::Key_F9), R::Ready, &M::execCheckTopology},
        {&M::actCheckIsol, "actCheckIsol", "&Висячие и изолированные ветви и узлы", "Список висячих и изолированных ветвей и узлов", {}, R::Ready, &M::execCheckIsol},
        {&M::actIncidGraph, "actIncidGraph", "Схема &инцидентностей", "Схема инцидентностей", {}, R::Ready, &M::execIncidGraph},
        {&M::actNew, "actNew", "&Новый", "Новый файл", {}, R::Always, &M::execNew},
        {&M::actOpen, "actOpen", "&Открыть ...", "Открыть файл", QKeySequence(Qt::CTRL | Qt::Key_O), R::Always, &M::execOpen},
        {&M::actSave, "actSave", "&Сохранить", "Сохранить файл", QKeySequence(Qt::CTRL | Qt::Key_S), R::ReadyModified, &M::execSave},
        {&M::actSaveAs, "actSaveAs", "Сохранить &как ...", nullptr, {}, R::Ready, &M::execSaveAs},
        {&M::actSaveAll, "actSaveAll", "Со&хранить все", nullptr, QKeySequence(Qt::CTRL | Qt::Key_A), R::HasDocument, &M::execSaveAll},
        {&M::actGraph3D, "actGraph3D", "Топологическая &схема", "Топологическая схема", {}, R::Ready, &M::execGraph3D},
        {&M::actClose, "actClose", "&Закрыть", nullptr, {}, R::Ready, &M::execClose},
        {&M::actPrint, "actPrint", "&Печать ...", "Печать топологии", QKeySequence(Qt::CTRL | Qt::Key_P), R::Ready, &M::execPrint},
        {&M::actFileProp, "actFileProp", "Сво&йства ...", "Свойства", {}, R::Ready, &M::execFileProp},
        {&M::actExit, "actExit", "&Выход", "Выход", {}, R::Always, &M::execExit},
        {&M::actUstav, "actUstav", "&Устав ВГСЧ, 1997 г.", "Устав ВГСЧ, 1997 г.", {}, R::Always, &M::execUstav},
        {&M::actSetup, "actSetup", "&Установки ...", nullptr, {}, R::Always, &M::execSetup},
        {&M::actCascade, "actCascade", "Расположить &каскадом", nullptr, {}, R::HasDocument, &M::execCascade},
        {&M::actTileHor, "actTileHor", "Выровнить &горизонтально", nullptr, {}, R::HasDocument, &M::execTileHor},
        {&M::actTileVert, "actTileVert", "Выровнить &вертикально", nullptr, {}, R::HasDocument, &M::execTileVert},
        {&M::actAlignIcons, "actAlignIcons", "Упорядочить &значки", nullptr, {}, R::HasDocument, &M::execAlignIcons},
        {&M::actMinimizeAll, "actMinimizeAll", "&Минимизировать все", nullptr, {}, R::HasDocument, &M::execMinimizeAll},
        {&M::actHelpTopic, "actHelpTopic", "&Разделы", nullptr, QKeySequence(Qt::CTRL | Qt::Key_F1), R::Always, &M::execHelpTopic},
        {&M::actHelpOnHelp, "actHelpOnHelp", "&Использование справки", nullptr, {}, R::Always, &M::execHelpOnHelp},
        {&M::actAbout, "actAbout", "&О программе ...", nullptr, QKeySequence(Qt::SHIFT | Qt::Key_F1), R::Always, &M::execAbout},
        {&M::actClearAccountResults, "actClearAccountResults", "&Очистить результаты расчетов", nullptr, {}, R::Ready, &M::execClearAccountResults},
        {&M::actUndo, "actUndo", "Отменить", "Отменить", QKeySequence(Qt::CTRL | Qt::Key_Z), R::CanUndo, &M::execUndo},
        {&M::actRedo, "actRedo", "Повторить", "Повторить", QKeySequence(Qt::CTRL | Qt::Key_Y), R::CanRedo, &M::execRedo},
        {&M::actEditView, "actEditView", "&Редактор", nullptr, QKeySequence(Qt::Key_F2), R::Ready, &M::execEditView},
        {&M::actAddUzel, "actAddUzel", "&Добавить узел", nullptr, {}, R::Ready, &M::execAddUzel},
        {&M::actDelUzel, "actDelUzel", "&Удалить узел", nullptr, {}, R::ReadyNodes, &M::execDelUzel},
        {&M::actSurfUzel, "actSurfUzel", "&Поверхностный узел", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Space), R::ReadyNodes, &M::execSurfUzel, T::Surface},
        {&M::actTransform, "actTransform", "Трасформировать...", nullptr, {}, R::ReadyNodes, &M::execTransform},
        {&M::actAddBranch, "actAddBranch", "До&бавить ветвь", nullptr, {}, R::Ready, &M::execAddBranch},
        {&M::actDelBranch, "actDelBranch", "Уда&лить ветвь", nullptr, {}, R::ReadyBranches, &M::execDelBranch},
        {&M::actSortUzelsNum, "actSortUzelsNum", "Сортировать &узлы по номерам", nullptr, QKeySequence(Qt::CTRL | Qt::Key_0), R::HasDocument, nullptr},
        {&M::actSortUzelsX, "actSortUzelsX", "actSortUzelsX", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortUzelsY, "actSortUzelsY", "actSortUzelsY", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortUzelsZ, "actSortUzelsZ", "actSortUzelsZ", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortBranchesNum, "actSortBranchesNum", "По но&мерам", nullptr, QKeySequence(Qt::CTRL | Qt::Key_1), R::HasDocument, nullptr},
        {&M::actSortBranchesStart, "actSortBranchesStart", "По &начальным узлам", nullptr, QKeySequence(Qt::CTRL | Qt::Key_2), R::HasDocument, nullptr},
        {&M::actSortBranchesEnd, "actSortBranchesEnd", "По &конечным узлам", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), R::HasDocument, nullptr},
        {&M::actUseColor, "actUseColor", "&Цветовое выделение результатов", "Цветовое выделение результатов", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), R::Never, nullptr, T::UseColor},
        {&M::actViewJumpers, "actViewJumpers", "&Перемычки", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J), R::HasDocument, &M::execViewJumpers, T::JumperPanel},
        {&M::actViewUzels, "actViewUzels", "&Узлы", nullptr, {}, R::NodeTableToggle, &M::execViewUzels, T::NodeTable},
        {&M::actViewBranches, "actViewBranches", "&Ветви", nullptr, {}, R::BranchTableToggle, &M::execViewBranches, T::BranchTable},
        {&M::actViewMessage, "actViewMessage", "&Сообщения", nullptr, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), R::HasDocument, &M::execViewMessage, T::MessagePanel},
        {&M::actNormalCalc, "actNormalCalc", "Газодинамический расчет всей шахты", "Газодинамический расчет всей шахты", {}, R::Never, nullptr},
        {&M::actNormalResults, "actNormalResults", "Результаты расчета всей шахты", "Результаты расчета всей шахты", {}, R::Never, nullptr},
        {&M::actAddjumper, "actAddjumper", "Добавить перемычку", nullptr, {}, R::ReadyBranches, &M::execAddJumper},
        {&M::actDelJumper, "actDelJumper", "Удалить перемычку", nullptr, {}, R::ReadyCurrentJumpers, &M::execDelJumper},
        {&M::actEditLayers, "actEditLayers", "Пласты и позиции ПЛА...", "Пласты", {}, R::Ready, &M::execEditLayers},
        {&M::actFind, "actFind", "Найти...", "Найти", QKeySequence(Qt::Key_F3), R::Ready, &M::execFind},
        {&M::actJumperList, "actJumperList", "Список перемычек", nullptr, {}, R::Ready, &M::execJumperList},
        {&M::actSortL, "actSortL", "По длине", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortS, "actSortS", "По сечению", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortPerim, "actSortPerim", "По периметру", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortV, "actSortV", "По объему", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortVk, "actSortVk", "По коэф. объема", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortVadd, "actSortVadd", "По дополнительному объему", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortAngle, "actSortAngle", "По углу наклона", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortRem, "actSortRem", "По комментариям", nullptr, {}, R::HasDocument, nullptr},
        {&M::actSortR, "actSortR", "По сопротивлению", nullptr, {}, R::HasDocument, nullptr},
        {&M::actMoveRemName, "actMoveRemName", "Названия <-> Комментарии...", nullptr, {}, R::Ready, &M::execMoveRemName},
        {&M::actPathCalc, "actPathCalc", "Газодинамический расчет по маршруту", "Газодинамический расчет по маршруту", {}, R::Never, nullptr},
        {&M::actPathResults, "actPathResults", "Результаты расчета по маршруту", "Результаты расчета по маршруту", {}, R::Never, nullptr},
        {&M::actMakeR, "actMakeR", "R из шероховатости", nullptr, QKeySequence(Qt::CTRL | Qt::Key_R), R::ReadyBranches, &M::execMakeR},
        {&M::actMakeAllR, "actMakeAllR", "R из шероховатости для всех ветвей", nullptr, {}, R::ReadyBranches, &M::execMakeAllR},
        // The large buttons of the calculation bar.
        {&M::actNormalCalc2, "actNormalCalc2", "", "Газодинамический расчет всей шахты", {}, R::Never, nullptr},
        {&M::actNormalResults2, "actNormalResults2", "", "Результаты расчета всей шахты", {}, R::Never, nullptr},
        {&M::actPathCalc2, "actPathCalc2", "", "Газодинамичсекий расчет по маршруту", {}, R::Never, nullptr},
        {&M::actPathResults2, "actPathResults2", "", "Результаты расчета по маршруту", {}, R::Never, nullptr},
        // Exchange with spreadsheets.
        {&M::actImportCsv, "actImportCsv", "Импорт из CSV...", nullptr, {}, R::Always, &M::execImportCsv},
        {&M::actExportCsv, "actExportCsv", "Экспорт в CSV...", nullptr, {}, R::Ready, &M::execExportCsv},
        // Exchange with CAD drawings.
        {&M::actImportDxf, "actImportDxf", "Импорт из DXF...", nullptr, {}, R::Always, &M::execImportDxf},
        {&M::actExportDxf, "actExportDxf", "Экспорт в DXF...", nullptr, {}, R::Ready, &M::execExportDxf},
        // Comparison with another version of the mine.
        {&M::actCompare, "actCompare", "Сравнить с...", "Сравнить шахту с файлом", {}, R::Ready, &M::execCompare},
    };

    QList<QKeySequence> takenKeys;
    for (const ActionSpec &s : specs) {
        auto *a = new QAction(QString::fromUtf8(s.caption), this);
        a->setObjectName(QString::fromLatin1(s.name));
        if (s.hint) {
            a->setToolTip(QString::fromUtf8(s.hint));
            a->setStatusTip(QString::fromUtf8(s.hint));
        } else if (!*s.caption) {
            a->setToolTip(QString());
        }
        a->setIcon(CommandIcon(a->objectName()));
        a->setIconVisibleInMenu(true);
        if (!s.key.isEmpty()) {
            a->setShortcut(s.key);
            // A key goes to the first command of the list that carries it; a later command with
            // the same key shows it in its menu entry but never receives it.
            if (takenKeys.contains(s.key))
                a->setShortcutContext(Qt::WidgetShortcut);
            else
                takenKeys << s.key;
        }
        a->setCheckable(s.tick != Tick::None);
        m_actionRules.push_back({int(s.rule), int(s.tick)});
        if (s.exec) {
            const auto exec = s.exec;
            connect(a, &QAction::triggered, this, [this, exec] { runCommand(exec); });
        } else if (s.tick != Tick::None) {
            // The result colouring, never enabled, keeps its tick as the rule sets it.
            connect(a, &QAction::triggered, this, &TMainForm::UpdateActions);
        }
        this->*(s.member) = a;
        m_actionList << a;
        addAction(a); // shortcuts of commands that have no menu entry (the sorts)
    }

    // The second keys of the two: those of other systems' editors.
    actUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    actRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});

    using K = TColumnKind;
    const struct {
        QAction *TMainForm::*member;
        TColumnKind kind;
    } sorts[] = {
        {&M::actSortUzelsNum, K::UzelNumber}, {&M::actSortUzelsX, K::X}, {&M::actSortUzelsY, K::Y},
        {&M::actSortUzelsZ, K::Z}, {&M::actSortBranchesNum, K::BranchNumber},
        {&M::actSortBranchesStart, K::StartNumber}, {&M::actSortBranchesEnd, K::EndNumber},
        {&M::actSortL, K::Length}, {&M::actSortS, K::Section}, {&M::actSortPerim, K::Perimeter},
        {&M::actSortV, K::Volume}, {&M::actSortVk, K::VolumeFactor}, {&M::actSortVadd, K::ExtraVolume},
        {&M::actSortAngle, K::Angle}, {&M::actSortRem, K::Comment}, {&M::actSortR, K::Resistance},
    };
    for (const auto &s : sorts)
        connect(this->*(s.member), &QAction::triggered, this,
                [this, kind = s.kind] { RunGuarded([this, kind] { sortBy(kind); }); });
}

void TMainForm::runCommand(void (TMainForm::*exec)())
{
    RunGuarded([this, exec] { (this->*exec)(); });
    UpdateActions();
}

QAction *TMainForm::FindAction(const QString &name) const
{
    for (QAction *a : m_actionList) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

bool TMainForm::DocumentReady() const
{
    const TChildForm *child = ActiveChild();
    return child && !child->Calculating();
}

void TMainForm::UpdateActions()
{
    if (m_closing)
        return;
    const TChildForm *child = ActiveChild();
    const bool ready = DocumentReady();
    const bool has = HasDocument();
    for (qsizetype i = 0; i < m_actionList.size(); ++i) {
        QAction *a = m_actionList[i];
        bool enabled = false;
        switch (Rule(m_actionRules[i].first)) {
        case Rule::Always: enabled = true; break;
        case Rule::Never: enabled = false; break;
        case Rule::HasDocument: enabled = has; break;
        case Rule::Ready: enabled = ready; break;
        case Rule::ReadyModified: enabled = ready && child->IsModified(); break;
        case Rule::ReadyNodes: enabled = ready && child->UzelCount() > 0; break;
        case Rule::ReadyBranches: enabled = ready && child->BranchCount() > 0; break;
        case Rule::ReadyCurrentJumpers: enabled = ready && child->CurrentBranchJumperCount() > 0; break;
        case Rule::NodeTableToggle: enabled = has && child && child->IsBranchTableVisible(); break;
        case Rule::BranchTableToggle: enabled = has && child && child->IsUzelTableVisible(); break;
        case Rule::CanUndo: enabled = ready && !child->UndoText().isNull(); break;
        case Rule::CanRedo: enabled = ready && !child->RedoText().isNull(); break;
        }
        a->setEnabled(enabled);
        switch (Tick(m_actionRules[i].second)) {
        case Tick::None:
        case Tick::UseColor: break;
        case Tick::Surface: a->setChecked(enabled && child->CurrentUzelIsSurface()); break;
        case Tick::NodeTable: a->setChecked(child && child->IsUzelTableVisible()); break;
        case Tick::BranchTable: a->setChecked(child && child->IsBranchTableVisible()); break;
        case Tick::JumperPanel: a->setChecked(child && child->IsJumperPanelVisible()); break;
        case Tick::MessagePanel: a->setChecked(child && child->IsMessagePanelVisible()); break;
        }
    }
    lbLayers->setEnabled(has);
    lbPLFs->setEnabled(has);
    // The step's name in the caption: "Отменить «Удаление ветви»".
    const auto named = [](const char16_t *verb, const QString &step) {
        const QString v = QString::fromUtf16(verb);
        return step.isNull() ? v : QStringLiteral("%1 «%2»").arg(v, step);
    };
    actUndo->setText(named(u"Отменить", child && ready ? child->UndoText() : QString()));
    actRedo->setText(named(u"Повторить", child && ready ? child->RedoText() : QString()));
}

void TMainForm::SetEditViewCaption(bool tableEditing)
{
    actEditView->setText(tableEditing ? QStringLiteral("&Просмотр") : QStringLiteral("&Редактор"));
}

// ------------------------------------------------------------------------------------------
// Menus, tool bars, status bar

void TMainForm::createMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(QStringLiteral("&Файл"));
    file->menuAction()->setStatusTip(QStringLiteral("Установка параметров файла"));
    file->menuAction()->setToolTip(QStringLiteral("Установка параметров файла"));
    file->addAction(actNew);
    file->addAction(actOpen);
    m_recentMenu = new QMenu(QStringLiteral("Последние с&еансы"), this);
    m_recentMenuAction = file->addMenu(m_recentMenu);
    file->addSeparator();
    file->addAction(actSave);
    file->addAction(actSaveAs);
    file->addAction(actSaveAll);
    file->addAction(actClose);
    file->addSeparator();
    file->addAction(actImportCsv);
    file->addAction(actExportCsv);
    file->addAction(actImportDxf);
    file->addAction(actExportDxf);
    file->addAction(actCompare);
    file->addSeparator();
    file->addAction(actPrint);
    file->addSeparator();
    file->addAction(actFileProp);
    file->addSeparator();
    file->addAction(actExit);

    QMenu *edit = bar->addMenu(QStringLiteral("&Правка"));
    edit->addActions({actUndo, actRedo});
    edit->addSeparator();
    edit->addAction(actEditView);
    edit->addSeparator();
    edit->addActions({actAddUzel, actDelUzel, actSurfUzel, actTransform});
    edit->addSeparator();
    edit->addActions({actAddBranch, actDelBranch, actMoveRemName, actMakeR, actMakeAllR});
    edit->addSeparator();
    edit->addActions({actAddjumper, actDelJumper, actJumperList});
    edit->addSeparator();
    edit->addAction(actEditLayers);
    edit->addSeparator();
    edit->addAction(actFind);

    QMenu *view = bar->addMenu(QStringLiteral("&Вид"));
    view->addActions({actViewUzels, actViewBranches, actViewJumpers});
    view->addSeparator();
    view->addAction(actViewMessage);

    QMenu *mine = bar->addMenu(QStringLiteral("&Шахта"));
    mine->addActions({actCheckTopology, actCheckIsol});
    mine->addSeparator();
    mine->addActions({actIncidGraph, actGraph3D});
    mine->addSeparator();
    mine->addAction(actClearAccountResults);

    QMenu *calc = bar->addMenu(QStringLiteral("&Расчет"));
    calc->addActions({actNormalCalc, actNormalResults});
    calc->addSeparator();
    calc->addActions({actPathCalc, actPathResults});

    QMenu *options = bar->addMenu(QStringLiteral("&Параметры"));
    options->addAction(actSetup);

    m_windowMenu = bar->addMenu(QStringLiteral("&Окно"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);
    fillWindowMenu();

    QMenu *help = bar->addMenu(QStringLiteral("&?"));
    help->addActions({actHelpTopic, actUstav});
    help->addSeparator();
    help->addAction(actHelpOnHelp);
    help->addSeparator();
    help->addAction(actAbout);

    // Context help: F1 in these menus opens topic 5 (the view menu has none).
    for (QMenu *m : {file, mine, options, m_windowMenu, help})
        m->installEventFilter(this);
}

void TMainForm::fillWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addActions({actCascade, actTileHor, actTileVert, actAlignIcons, actMinimizeAll});
    const QList<QMdiSubWindow *> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    if (windows.isEmpty())
        return;
    m_windowMenu->addSeparator();
    QMdiSubWindow *current = m_workspace->currentSubWindow();
    int n = 0;
    for (QMdiSubWindow *w : windows) {
        ++n;
        QString title = w->windowTitle();
        title.replace(u'&', QStringLiteral("&&"));   // an "&" in a file name is no access key
        const QString text = n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title)
                                     : QStringLiteral("%1 %2").arg(n).arg(title);
        QAction *a = m_windowMenu->addAction(text);
        a->setCheckable(true);
        a->setChecked(w == current);
        connect(a, &QAction::triggered, this, [this, w] {
            if (m_workspace->subWindowList().contains(w)) {
                if (w->isMinimized())
                    w->showNormal();
                m_workspace->setActiveSubWindow(w);
            }
        });
    }
}

void TMainForm::createToolBars()
{
    QToolBar *main = addToolBar(QStringLiteral("Файл"));
    main->setObjectName(QStringLiteral("tbMain"));
    main->setIconSize(QSize(16, 16));
    main->addAction(actNew);
    m_recentPopup = new QMenu(this);
    m_openButton = new QToolButton(main);
    m_openButton->setObjectName(QStringLiteral("btnOpen"));
    m_openButton->setDefaultAction(actOpen);
    m_openButton->setMenu(m_recentPopup);
    m_openButton->setPopupMode(QToolButton::MenuButtonPopup);
    m_openButton->setAutoRaise(true);
    main->addWidget(m_openButton);
    main->addAction(actSave);
    main->addSeparator();
    main->addActions({actUndo, actRedo});
    main->addSeparator();
    main->addAction(actPrint);
    main->addSeparator();
    main->addAction(actFileProp);

    QToolBar *second = addToolBar(QStringLiteral("Шахта"));
    second->setObjectName(QStringLiteral("tbMine"));
    second->setIconSize(QSize(16, 16));
    second->addActions({actCheckTopology, actCheckIsol});
    second->addSeparator();
    second->addActions({actIncidGraph, actGraph3D});
    second->addSeparator();
    second->addActions({actUseColor, actFind});

    QToolBar *calc = addToolBar(QStringLiteral("Расчет"));
    calc->setObjectName(QStringLiteral("tbCalc"));
    calc->setIconSize(QSize(40, 40));
    const auto addLarge = [calc](QAction *a) {
        calc->addAction(a);
        if (QWidget *button = calc->widgetForAction(a))
            button->setFixedSize(49, 48);
    };
    addLarge(actNormalCalc2);
    addLarge(actNormalResults2);
    calc->addSeparator();
    addLarge(actPathCalc2);
    addLarge(actPathResults2);

    QToolBar *groups = addToolBar(QStringLiteral("Пласты"));
    groups->setObjectName(QStringLiteral("tbGroups"));
    lbLayers = new QLabel(QStringLiteral("Пласты   "), groups);
    cbLayers = new TGroupCombo(groups);
    cbLayers->setObjectName(QStringLiteral("cbLayers"));
    cbLayers->setFixedWidth(138);
    lbPLFs = new QLabel(QStringLiteral("Позиции ПЛА  "), groups);
    cbPLFs = new TGroupCombo(groups);
    cbPLFs->setObjectName(QStringLiteral("cbPLFs"));
    cbPLFs->setFixedWidth(85);
    groups->addWidget(lbLayers);
    groups->addWidget(cbLayers);
    groups->addSeparator();
    groups->addWidget(lbPLFs);
    groups->addWidget(cbPLFs);
    connect(cbLayers, &QComboBox::activated, this, [this](int index) {
        RunGuarded([this, index] { groupChosen(cbLayers, true, index); });
    });
    connect(cbPLFs, &QComboBox::activated, this, [this](int index) {
        RunGuarded([this, index] { groupChosen(cbPLFs, false, index); });
    });
}

namespace {
// Widths in pixels as first laid out (the least a panel takes) and alignments of the panels.
const struct {
    int width;
    Qt::Alignment align;
} statusLayout[TMainForm::StatusPanelCount] = {
    {170, Qt::AlignCenter}, {74, Qt::AlignCenter}, {77, Qt::AlignCenter},
    {56, Qt::AlignCenter}, {50, Qt::AlignLeft | Qt::AlignVCenter},
};
} // namespace

void TMainForm::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < StatusPanelCount; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(statusLayout[i].width);
        panel->setAlignment(statusLayout[i].align);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        bar->addWidget(panel);
        m_panels[i] = panel;
    }
    fitStatusPanel(3, QString());
}

int TMainForm::fitStatusPanel(int index, const QString &text)
{
    // The widths above were made for a narrower font: a panel widens to hold its text in the
    // font in use, the mine's name up to MaxNamePanelWidth. The modified mark keeps the room
    // of its one text also while it is empty.
    QLabel *panel = m_panels[index];
    const QString measured = index == 3 ? QStringLiteral("Изменен") : text;
    const int padding = 2 * panel->frameWidth() + 8;
    const int minimum = statusLayout[index].width;
    const int limit = index == 0 ? qMax(minimum, MaxNamePanelWidth) : QWIDGETSIZE_MAX;
    // Fractions of a pixel count: a text given just its rounded width would come out shortened.
    const int advance = int(std::ceil(QFontMetricsF(panel->font()).horizontalAdvance(measured)));
    const int width = qBound(minimum, advance + padding, limit);
    panel->setFixedWidth(width);
    return width - padding;
}

void TMainForm::SetStatusPanelText(int index, const QString &text)
{
    if (index < 0 || index >= StatusPanelCount)
        return;
    // A text wider than its panel keeps its beginning; the whole of it is in the tool tip.
    QLabel *panel = m_panels[index];
    const QString line = OneLineText(text);
    const int room = fitStatusPanel(index, line);
    const QString shown = panel->fontMetrics().elidedText(line, Qt::ElideRight, room);
    panel->setText(shown);
    panel->setToolTip(shown == text ? QString() : PlainToolTip(text));
    panel->setProperty("fullText", text);
}

QString TMainForm::StatusPanelText(int index) const
{
    return m_panels[index]->property("fullText").toString();
}

void TMainForm::ShowStatusText(const QString &text)
{
    statusBar()->showMessage(text);
    statusBar()->repaint();
}

void TMainForm::ClearStatusText()
{
    statusBar()->clearMessage();
    statusBar()->repaint();
}

bool TMainForm::IsStatusTextShown() const
{
    return !statusBar()->currentMessage().isEmpty();
}

void TMainForm::SetDocumentCount(int n)
{
    m_documentCount = n;
    lbLayers->setEnabled(n > 0);
    lbPLFs->setEnabled(n > 0);
    if (n == 0) {
        for (int i = 0; i < 3; ++i)
            SetStatusPanelText(i, QString());
        cbLayers->clear();
        cbPLFs->clear();
    }
}

void TMainForm::ShowHelpContents()
{
    ::ShowHelpContents(this);
}

void TMainForm::ShowHelpTopic(int topic)
{
    ::ShowHelpTopic(this, topic);
}
