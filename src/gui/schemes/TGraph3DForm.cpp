#include "schemes/TGraph3DForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "TPainterSchemeCanvas.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "schemes/SchemeButtons.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TCustomMine3D.h"
#include "schemes/TSchemeHost.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 9;
constexpr int kListWidth = 132;   // the seam and plan-position lists at their narrowest
constexpr quint16 kColorBits[4] = {SchemeFlags::kGas1, SchemeFlags::kGas2, SchemeFlags::kLayerColors,
                                   SchemeFlags::kPLFColors};

const TLayerList *GroupsOf(TMine *mine, bool plfs)
{
    if (!mine)
        return nullptr;
    return plfs ? &mine->PLFs() : &mine->Layers();
}

} // namespace

// Left 100, top 100, right 410, bottom 420, widened to the minimum size when first shown.
QRect TGraph3DForm::s_bounds(QPoint(100, 100), QPoint(409, 419));

QRect TGraph3DForm::RememberedBounds() { return s_bounds; }

quint16 TGraph3DForm::ColorBit(int item) { return item >= 0 && item < 4 ? kColorBits[item] : 0; }

TGraph3DForm::TGraph3DForm(TSchemeHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Топологическая схема"));
    setMinimumSize(410, 325);
    // The window's controls are laid out for an 8-point Arial, the font of the scheme's labels.
    setFont(TPainterSchemeCanvas::SchemeFont(QStringLiteral("Arial"), 8));
    buildLayout();
    setGeometry(s_bounds);
    resize(qMax(width(), 410), qMax(height(), 325));

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
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        // A list closes when the focus goes anywhere but into it or onto its own button.
        if (lbLayers->isVisible() && now != lbLayers && now != btnLayers)
            lbLayers->hide();
        if (lbPLFs->isVisible() && now != lbPLFs && now != btnPLF)
            lbPLFs->hide();
    });
}

TGraph3DForm::~TGraph3DForm()
{
    disconnect(m_focusWatch);
    Mine3D->SetMine(nullptr);
}

void TGraph3DForm::buildLayout()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Mine3D = new TMine3D(this);
    layout->addWidget(Mine3D, 1);

    btnLayers = new QPushButton(QStringLiteral("Пласты..."), Mine3D);
    btnLayers->setGeometry(5, 5, 132, 18);
    btnPLF = new QPushButton(QStringLiteral("Позиции ПЛА..."), Mine3D);
    btnPLF->setGeometry(143, 5, 95, 18);
    lbLayers = new QListWidget(Mine3D);
    lbPLFs = new QListWidget(Mine3D);
    for (QListWidget *list : {lbLayers, lbPLFs}) {
        list->hide();
        list->installEventFilter(this);
    }
    lbLayers->setGeometry(5, 23, kListWidth, 100);
    lbPLFs->setGeometry(143, 23, kListWidth, 100);
    connect(btnLayers, &QPushButton::clicked, this, [this] { toggleList(lbLayers, btnLayers, false); });
    connect(btnPLF, &QPushButton::clicked, this, [this] { toggleList(lbPLFs, btnPLF, true); });
    // The window's choices are the mine's: setting them redraws the scheme, and a failure is
    // shown here rather than unwound through the toolkit's event handling.
    connect(lbLayers, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        RunGuarded([&] { listItemChanged(lbLayers, false, lbLayers->row(item)); });
    });
    connect(lbPLFs, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        RunGuarded([&] { listItemChanged(lbPLFs, true, lbPLFs->row(item)); });
    });
    connect(Mine3D, &TCustomMine3D::layersChanged, this, [this] {
        if (lbLayers->isVisible())
            fillList(lbLayers, false);
    });
    connect(Mine3D, &TCustomMine3D::plfsChanged, this, [this] {
        if (lbPLFs->isVisible())
            fillList(lbPLFs, true);
    });
    connect(Mine3D, &TCustomMine3D::pressed, this, &TGraph3DForm::hideLists);

    // Stands on the picture's corner, so it brings its own ground.
    ShowUzels = new QCheckBox(QStringLiteral("Показывать узлы"), Mine3D);
    ShowUzels->setAutoFillBackground(true);
    ShowUzels->adjustSize();
    Mine3D->OnResize = [this](TCustomMine3D *control) {
        ShowUzels->move(8, control->height() - 22 - ShowUzels->height());
    };
    connect(ShowUzels, &QCheckBox::clicked, this, [this](bool on) {
        if (TMine *mine = Mine3D->Mine())
            RunGuarded([&] { mine->SetShowUzels(on ? 1 : 0); });
    });

    Mine3D->OnSelectUzel = [this](TMine *, int index, TUzel *uzel) { m_host->SchemeSelectedUzel(index, uzel); };
    Mine3D->OnSelectBranch = [this](TMine *, int index, TBranch *branch) {
        m_host->SchemeSelectedBranch(index, branch);
    };

    auto *panel = new QWidget(this);
    panel->setFixedHeight(84);
    layout->addWidget(panel);
    auto *row = new QHBoxLayout(panel);
    // At the narrowest window the longest colouring item just fits: the margins stay thin.
    row->setContentsMargins(3, 0, 3, 3);
    row->setSpacing(2);

    // The frame pads its title itself: the blanks around the old captions go.
    TextInfoGroup = new QGroupBox(QStringLiteral("Текст. информация"), panel);
    auto *textLayout = new QVBoxLayout(TextInfoGroup);
    textLayout->setContentsMargins(4, 0, 2, 2);
    textLayout->setSpacing(0);
    TextInfoButtons = new QButtonGroup(this);
    const QString texts[] = {QStringLiteral("ничего"), QStringLiteral("номера ветвей"), QStringLiteral("номера узлов")};
    for (int i = 0; i < 3; ++i) {
        auto *radio = new QRadioButton(texts[i], TextInfoGroup);
        TextInfoButtons->addButton(radio, i);
        textLayout->addWidget(radio);
    }
    TextInfoButtons->button(0)->setChecked(true);
    connect(TextInfoButtons, &QButtonGroup::idClicked, this, [this](int id) {
        if (TMine *mine = Mine3D->Mine())
            RunGuarded([&] { mine->SetTextInfo(quint8(id)); });
    });
    TextInfoGroup->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    row->addWidget(TextInfoGroup);

    auto *colors = new QGroupBox(QStringLiteral("Раскраска"), panel);
    auto *colorLayout = new QVBoxLayout(colors);
    colorLayout->setContentsMargins(1, 0, 1, 2);
    clbColors = new QListWidget(colors);
    clbColors->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clbColors->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    clbColors->setSpacing(0);
    for (const char *text : {"загазованные ветви (1)", "загазованные ветви (2)", "использовать цвета пластов",
                             "использовать цвета позиций ПЛА"}) {
        auto *item = new QListWidgetItem(QString::fromUtf8(text), clbColors);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(clbColors, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *item) { RunGuarded([&] { colorItemChanged(clbColors->row(item)); }); });
    colorLayout->addWidget(clbColors);
    row->addWidget(colors, 1);

    const TSchemeButtons buttons = MakeSchemeButtons(panel, QSize(62, 24));
    btnHelp = buttons.Help;
    btnRefresh = buttons.Refresh;
    btnClose = buttons.Close;
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    connect(btnRefresh, &QPushButton::clicked, this, [this] { RunGuarded([this] { Refresh(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    row->addLayout(buttons.Column);
}

bool TGraph3DForm::Refresh()
{
    if (!m_host->CheckActiveCoordinates())
        return false;
    TMine *mine = m_host->ActiveMine();
    if (!mine)
        return false;
    AttachMine(mine);
    show();
    raise();
    return true;
}

void TGraph3DForm::AttachMine(TMine *mine)
{
    hideLists();
    Mine3D->SetMine(mine);
    showMineChoices();
}

void TGraph3DForm::DetachMine(TMine *mine)
{
    if (!mine || Mine3D->Mine() != mine)
        return;
    hideLists();
    Mine3D->SetMine(nullptr);
}

void TGraph3DForm::showMineChoices()
{
    const TMine *mine = Mine3D->Mine();
    if (!mine)
        return;
    m_filling = true;
    if (QAbstractButton *b = TextInfoButtons->button(mine->TextInfo()))
        b->setChecked(true);
    for (int i = 0; i < 4; ++i)
        clbColors->item(i)->setCheckState(mine->ColorFlags() & kColorBits[i] ? Qt::Checked : Qt::Unchecked);
    ShowUzels->setChecked(mine->ShowUzels() != 0);
    m_filling = false;
}

void TGraph3DForm::colorItemChanged(int row)
{
    if (m_filling || row < 0 || row > 3)
        return;
    m_filling = true;
    // Each variant of gassed zones excludes the other, and so do the two kinds of group colours.
    if (clbColors->item(row)->checkState() == Qt::Checked)
        clbColors->item(row ^ 1)->setCheckState(Qt::Unchecked);
    m_filling = false;
    quint16 flags = 0;
    for (int i = 0; i < 4; ++i)
        if (clbColors->item(i)->checkState() == Qt::Checked)
            flags |= kColorBits[i];
    if (TMine *mine = Mine3D->Mine())
        mine->SetColorFlags(flags);
}

// --- seam and plan-position lists -------------------------------------------------------------

void TGraph3DForm::toggleList(QListWidget *list, QPushButton *button, bool plfs)
{
    if (list->isVisible()) {
        list->hide();
        return;
    }
    (plfs ? lbLayers : lbPLFs)->hide();
    list->move(button->x(), button->y() + button->height());
    fillList(list, plfs);
    list->show();
    list->raise();
    list->setFocus(Qt::OtherFocusReason);
}

void TGraph3DForm::fillList(QListWidget *list, bool plfs)
{
    m_filling = true;
    list->clear();
    if (const TLayerList *groups = GroupsOf(Mine3D->Mine(), plfs)) {
        for (const TLayer *group : *groups) {
            // One line of what fits: a name may run to millions of characters.
            auto *item = new QListWidgetItem(OneLineText(group->Name()), list);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(group->Visible() ? Qt::Checked : Qt::Unchecked);
        }
    }
    m_filling = false;
    // Wide enough for the widest row whole, its check box and margins included, and never
    // narrower than at first; a horizontal bar would only cover the last row.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * list->frameWidth();
    const int rows = qMax(1, list->count());
    const int rowHeight = list->count() ? list->sizeHintForRow(0) : list->fontMetrics().height() + 4;
    const int height = qMin(rows * rowHeight + frame, qMax(40, Mine3D->height() - 60));
    const bool scrolls = rows * rowHeight + frame > height;
    const int least = kListWidth;
    const int widest = list->count() ? list->sizeHintForColumn(0) : 0;
    const int width = qMax(least, widest + frame + (scrolls ? list->verticalScrollBar()->sizeHint().width() : 0));
    list->resize(qMin(width, qMax(least, Mine3D->width() - list->x() - 5)), height);
}

void TGraph3DForm::listItemChanged(QListWidget *list, bool plfs, int row)
{
    if (m_filling)
        return;
    const TLayerList *groups = GroupsOf(Mine3D->Mine(), plfs);
    if (!groups || row < 0 || row >= groups->Count())
        return;
    groups->Items(row)->SetVisible(list->item(row)->checkState() == Qt::Checked);
}

void TGraph3DForm::hideLists()
{
    lbLayers->hide();
    lbPLFs->hide();
}

bool TGraph3DForm::eventFilter(QObject *watched, QEvent *event)
{
    // Esc in a list closes the list, not the window; the focus goes back to its button.
    auto *list = qobject_cast<QListWidget *>(watched);
    if (list && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        event->accept();
        if (event->type() == QEvent::KeyPress) {
            list->hide();
            (list == lbLayers ? btnLayers : btnPLF)->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TGraph3DForm::closeEvent(QCloseEvent *event)
{
    s_bounds = geometry();
    Mine3D->SetMine(nullptr);
    event->accept();
}
