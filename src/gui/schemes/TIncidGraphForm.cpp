#include "schemes/TIncidGraphForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "TPainterSchemeCanvas.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "schemes/SchemeButtons.h"
#include "schemes/TIncidHost.h"
#include "schemes/TIncidentGraph.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10;

} // namespace

// Left 200, top 50, right 510, bottom 250.
QRect TIncidGraphForm::s_bounds(QPoint(200, 50), QPoint(509, 249));

QRect TIncidGraphForm::RememberedBounds() { return s_bounds; }

TIncidGraphForm::TIncidGraphForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Схема инцидентностей"));
    setMinimumSize(287, 200);
    // Laid out for an 8-point Arial, as the 3D scheme's window; the control writes in it too.
    setFont(TPainterSchemeCanvas::SchemeFont(QStringLiteral("Arial"), 8));
    buildLayout();
    setGeometry(s_bounds);

    // The window sees these keys before its controls.
    auto *refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, [this] {
        if (btnRefresh->isEnabled())
            RunGuarded([this] { Refresh(); });
    });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    SetDocument(nullptr);
}

TIncidGraphForm::~TIncidGraphForm() = default;

void TIncidGraphForm::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    IncidentGraph = new TIncidentGraph(this);
    IncidentGraph->setMinimumSize(1, 1);
    IncidentGraph->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(IncidentGraph, 1);
    IncidentGraph->OnSelectUzel = [this](TIncidentGraph *, int index, TUzel *) {
        if (m_document)
            m_document->ShowUzelRow(index);
    };
    IncidentGraph->OnSelectBranch = [this](TIncidentGraph *, int index, TBranch *) {
        if (m_document)
            m_document->ShowBranchRow(index);
    };

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    TextInfoGroup = new QGroupBox(QStringLiteral(" Текстовая информация  "), this);
    auto *textLayout = new QVBoxLayout(TextInfoGroup);
    textLayout->setContentsMargins(6, 2, 4, 2);
    textLayout->setSpacing(0);
    TextInfoButtons = new QButtonGroup(this);
    const QString texts[] = {QStringLiteral("Номера узлов"), QStringLiteral("Номера ветвей")};
    for (int i = 0; i < 2; ++i) {
        auto *radio = new QRadioButton(texts[i], TextInfoGroup);
        TextInfoButtons->addButton(radio, i);
        textLayout->addWidget(radio);
    }
    TextInfoButtons->button(0)->setChecked(true);
    connect(TextInfoButtons, &QButtonGroup::idClicked, IncidentGraph, &TIncidentGraph::SetLabelMode);
    row->addWidget(TextInfoGroup, 1);

    const TSchemeButtons buttons = MakeSchemeButtons(this, QSize(72, 22));
    btnHelp = buttons.Help;
    btnRefresh = buttons.Refresh;
    btnClose = buttons.Close;
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { RunGuarded([this] { Refresh(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    row->addLayout(buttons.Column);
    layout->addLayout(row);
}

TIncidHost *TIncidGraphForm::Document() const { return m_documentObject ? m_document : nullptr; }

bool TIncidGraphForm::SetDocument(TIncidHost *document)
{
    disconnect(m_documentGone);
    m_document = document;
    m_documentObject = document ? document->HostObject() : nullptr;
    // A document window that goes without saying so still takes its mine with it.
    if (m_documentObject)
        m_documentGone = connect(m_documentObject, &QObject::destroyed, this, &TIncidGraphForm::letGo);
    btnRefresh->setEnabled(document != nullptr);
    if (document)
        return Refresh();
    IncidentGraph->SetMine(nullptr);
    return true;
}

void TIncidGraphForm::letGo()
{
    disconnect(m_documentGone);
    m_document = nullptr;
    m_documentObject = nullptr;
    btnRefresh->setEnabled(false);
    IncidentGraph->SetMine(nullptr);
}

bool TIncidGraphForm::Refresh()
{
    TIncidHost *document = Document();
    if (!document)
        return false;
    if (!document->CheckTopology(false)) {
        close();
        return false;
    }
    TMine *mine = document->Mine();
    IncidentGraph->SetMine(mine);
    // A current element that was deleted is none: the control then shows its background.
    if (document->UzelTableFocused()) {
        const TUzel *uzel = mine->CurUzel();
        IncidentGraph->ShowUzel(uzel ? uzel->Number() : kUnsetInt);
    } else {
        const TBranch *branch = mine->CurBranch();
        IncidentGraph->ShowBranch(branch ? branch->Number() : kUnsetInt);
    }
    return true;
}

void TIncidGraphForm::ShowUzel(const TMine *mine, qint32 number)
{
    if (mine && mine == IncidentGraph->Mine())
        IncidentGraph->ShowUzel(number);
}

void TIncidGraphForm::ShowBranch(const TMine *mine, qint32 number)
{
    if (mine && mine == IncidentGraph->Mine())
        IncidentGraph->ShowBranch(number);
}

void TIncidGraphForm::closeEvent(QCloseEvent *event)
{
    s_bounds = geometry();
    m_closed = true;
    letGo();
    event->accept();
}
