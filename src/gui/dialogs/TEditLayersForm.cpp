#include "dialogs/TEditLayersForm.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "dialogs/TSelectColorDialog.h"
#include "model/GroupNames.h"
#include "model/TLayer.h"
#include "model/TLayerList.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "storage/CodePage.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// A name goes into the mine file, which holds only what code page 1251 has.
class StorableNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        return CodePage::Fits1251(input) ? Acceptable : Invalid;
    }
};

// A list item: its name from the left, the group's colour as a swatch at the right end.
class GroupItemDelegate : public QStyledItemDelegate {
public:
    GroupItemDelegate(TEditLayersForm *form) : QStyledItemDelegate(form), m_form(form) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        // The name stops short of the swatch.
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        item.textElideMode = Qt::ElideRight;
        item.text = item.fontMetrics.elidedText(item.text, Qt::ElideRight, option.rect.width() - 36);
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
        const TLayerList &groups = m_form->Groups();
        if (index.row() < 0 || index.row() >= groups.Count())
            return;
        const QRect r = option.rect;
        const QRect swatch(QPoint(r.right() + 1 - 30, r.top() + 1), QPoint(r.right() + 1 - 2 - 1, r.bottom() - 1));
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setBrush(ToQColor(groups.Items(index.row())->Color()));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::WindowText));
        painter->drawRect(swatch.adjusted(0, 0, -1, -1));
        painter->restore();
    }

private:
    TEditLayersForm *m_form;
};

// The colour button: its face is the selected group's colour in a black outline.
class ColorFaceButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    QColor Face;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QToolButton::paintEvent(event);
        QPainter p(this);
        p.setPen(Qt::black);
        p.setBrush(Face);
        p.drawRect(rect().adjusted(5, 5, -6, -6));
    }
};

} // namespace

TEditLayersForm::TEditLayersForm(TMine *mine, int page, QWidget *parent)
    : QDialog(parent), m_mine(mine)
{
    setObjectName(QStringLiteral("EditLayersForm"));
    setWindowTitle(QStringLiteral("Пласты и позиции ПЛА"));

    Pages = new QTabBar(this);
    Pages->addTab(QStringLiteral("Пласты"));
    Pages->addTab(QStringLiteral("Позиции ПЛА"));
    Pages->setExpanding(false);
    Pages->setDrawBase(false);

    lbGroups = new QListWidget(this);
    lbGroups->setObjectName(QStringLiteral("lbGroups"));
    lbGroups->setItemDelegate(new GroupItemDelegate(this));
    lbGroups->setMinimumSize(280, 220);
    lbGroups->setUniformItemSizes(true);

    const auto button = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    btnAdd = button(QStringLiteral("btnAdd"), QStringLiteral("&Добавить"));
    btnRename = button(QStringLiteral("btnRename"), QStringLiteral("&Имя"));
    btnDelete = button(QStringLiteral("btnDelete"), QStringLiteral("&Удалить"));
    btnClose = button(QStringLiteral("btnClose"), QStringLiteral("&Закрыть"));
    btnClose->setDefault(true);
    btnHelp = button(QStringLiteral("btnHelp"), QStringLiteral("&Справка"));

    auto *colorButton = new ColorFaceButton(this);
    btnColor = colorButton;
    btnColor->setObjectName(QStringLiteral("btnColor"));
    btnColor->setFixedSize(40, 24);
    lbColor = new QLabel(QStringLiteral("&Цвет"), this);
    lbColor->setBuddy(btnColor);

    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(lbColor);
    colorRow->addWidget(btnColor);
    colorRow->addStretch();

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnRename);
    buttons->addWidget(btnDelete);
    buttons->addSpacing(6);
    buttons->addLayout(colorRow);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    buttons->addWidget(btnHelp);

    auto *left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(Pages);
    left->addWidget(lbGroups);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(Pages, &QTabBar::currentChanged, this, [this] {
        btnRename->setText(isPLFPage() ? QStringLiteral("&Номер") : QStringLiteral("&Имя"));
        fillList();
    });
    connect(lbGroups, &QListWidget::itemSelectionChanged, this, &TEditLayersForm::updateButtons);
    // The buttons change the mine's groups: a failure is shown here, not unwound through the
    // toolkit's event handling.
    connect(btnAdd, &QPushButton::clicked, this, [this] { RunGuarded([this] { AddGroup(); }); });
    connect(btnRename, &QPushButton::clicked, this, [this] { RunGuarded([this] { RenameGroup(); }); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { RunGuarded([this] { DeleteGroup(); }); });
    connect(btnColor, &QToolButton::clicked, this, [this] { RunGuarded([this] { ChooseColor(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, 22); });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, 22); });

    SetPage(page);
    fillList();
}

void TEditLayersForm::Execute(QWidget *parent, TMine *mine, int page)
{
    // Everything the editor changes, however many seams, is one step.
    TUserAction action(mine, QStringLiteral("Правка пластов"));
    TEditLayersForm form(mine, page, parent);
    form.exec();
}

int TEditLayersForm::CurrentPage() const
{
    return Pages->currentIndex() == PLFsPage ? PLFsPage : LayersPage;
}

void TEditLayersForm::SetPage(int page)
{
    Pages->setCurrentIndex(page == PLFsPage ? PLFsPage : LayersPage);
}

TLayerList &TEditLayersForm::Groups() const
{
    return isPLFPage() ? static_cast<TLayerList &>(m_mine->PLFs()) : m_mine->Layers();
}

TLayer *TEditLayersForm::SelectedGroup() const
{
    const int row = lbGroups->currentRow();
    const QList<QListWidgetItem *> selected = lbGroups->selectedItems();
    if (selected.isEmpty() || row < 0 || row >= Groups().Count())
        return nullptr;
    return Groups().Items(row);
}

void TEditLayersForm::fillList()
{
    lbGroups->clear();
    for (const TLayer *g : Groups())
        lbGroups->addItem(g->Name());
    updateButtons();
}

void TEditLayersForm::updateButtons()
{
    const TLayer *group = SelectedGroup();
    btnRename->setEnabled(group);
    btnDelete->setEnabled(group);
    lbColor->setEnabled(group);
    btnColor->setVisible(group);
    if (group) {
        static_cast<ColorFaceButton *>(btnColor)->Face = ToQColor(group->Color());
        btnColor->update();
    }
}

QString TEditLayersForm::ask(const QString &proposed)
{
    const QString caption = isPLFPage() ? QStringLiteral("Позиция ПЛА") : QStringLiteral("Пласт");
    const QString prompt = isPLFPage() ? QStringLiteral("Введите номер позиции ПЛА")
                                       : QStringLiteral("Введите название пласта");
    if (AskText)
        return AskText(caption, prompt, proposed);
    QInputDialog box(this);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(proposed);
    if (auto *edit = box.findChild<QLineEdit *>()) {
        edit->setValidator(new StorableNameValidator(edit));
        // Room for a name like "Позиция 1. Стволы и околоствольный двор".
        edit->setMinimumWidth(280);
    }
    return box.exec() == QDialog::Accepted ? box.textValue() : proposed;
}

void TEditLayersForm::showTaken(int row)
{
    lbGroups->setCurrentRow(row);
    AppDialogs::ShowInformation(this, isPLFPage() ? QStringLiteral("Позиция с таким номером уже существует")
                                                  : QStringLiteral("Пласт с таким названием уже существует"));
}

void TEditLayersForm::AddGroup()
{
    const GroupNames::Check check = GroupNames::Judge(Groups(), ask(QString()));
    if (check.verdict == GroupNames::Empty)
        return;
    if (check.verdict == GroupNames::Taken) {
        showTaken(check.takenIndex);
        return;
    }
    TLayer *group = isPLFPage() ? static_cast<TLayer *>(new TPLF(m_mine)) : new TLayer(m_mine);
    group->SetName(check.name);
    lbGroups->addItem(check.name);
    lbGroups->setCurrentRow(lbGroups->count() - 1);
}

void TEditLayersForm::RenameGroup()
{
    TLayer *group = SelectedGroup();
    if (!group)
        return;
    const int row = lbGroups->currentRow();
    const GroupNames::Check check = GroupNames::Judge(Groups(), ask(group->Name()));
    if (check.verdict == GroupNames::Empty)
        return;
    if (check.verdict == GroupNames::Taken) {
        showTaken(check.takenIndex);
        return;
    }
    group->SetName(check.name);
    lbGroups->item(row)->setText(check.name);
}

void TEditLayersForm::DeleteGroup()
{
    TLayer *group = SelectedGroup();
    if (!group)
        return;
    const int row = lbGroups->currentRow();
    const QString question = QStringLiteral("Удалить %1 \"%2\"?")
                                 .arg(isPLFPage() ? QStringLiteral("позицию ПЛА") : QStringLiteral("пласт"),
                                      group->Name());
    if (AppDialogs::AskQuestion(this, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        != QMessageBox::Yes)
        return;
    Groups().Delete(row);
    // The list's deletion re-indexes the branches without calling that an edit; here it is the
    // user's, and a document that forgot it would be closed without the save question.
    m_mine->SetModified(true);
    delete lbGroups->takeItem(row);
    lbGroups->clearSelection();
    updateButtons();
}

void TEditLayersForm::ChooseColor()
{
    TLayer *group = SelectedGroup();
    if (!group)
        return;
    const QPoint point = btnColor->mapToGlobal(QPoint(0, btnColor->height()));
    quint32 color = group->Color();
    const bool chosen = PickColor ? PickColor(point, color)
                                  : TSelectColorDialog::Instance()->Execute(point, color);
    if (!chosen)
        return;
    group->SetColor(color);
    lbGroups->viewport()->update();
    updateButtons();
}
