#include "dialogs/TCompareForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "base/WaitCursor.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The index of a line's item in the comparison, kept on the line (and on its field lines).
constexpr int kItemRole = Qt::UserRole + 1;

QString ValueText(const std::optional<QString> &v, bool text)
{
    if (!v)
        return QStringLiteral("не задано");
    return text ? QStringLiteral("\"%1\"").arg(*v) : *v;
}

QString Mark(TDiffKind kind)
{
    switch (kind) {
    case TDiffKind::Added: return QStringLiteral("добавлено");
    case TDiffKind::Removed: return QStringLiteral("удалено");
    case TDiffKind::Changed: return QStringLiteral("изменено");
    case TDiffKind::Remark: return QStringLiteral("замечание");
    }
    return QString();
}

} // namespace

TCompareForm::TCompareForm(TMineDocument &document, const QString &path, QWidget *owner)
    : QWidget(owner, Qt::Window), m_document(document), m_path(path)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Сравнение с «%1»").arg(QFileInfo(path).fileName()));
    lblSummary = new QLabel(this);
    lblSummary->setWordWrap(true);
    List = new QTreeWidget(this);
    List->setColumnCount(2);
    List->setHeaderLabels({QStringLiteral("Элемент или поле"), QStringLiteral("Изменение")});
    // Values are never cut: the change column takes its widest text, the view scrolls sideways.
    List->header()->setStretchLastSection(false);
    List->header()->setSectionResizeMode(0, QHeaderView::Interactive);
    List->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    List->setColumnWidth(0, 360);
    List->setUniformRowHeights(true);
    // A double click or Enter (the view's activation) on a line.
    connect(List, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *line) { RunGuarded([&] { Follow(line); }); });

    btnRefresh = new QPushButton(QStringLiteral("&Обновить"), this);
    btnClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    btnHelp = new QPushButton(QStringLiteral("&Помощь"), this);
    connect(btnRefresh, &QPushButton::clicked, this, [this] { RunGuarded([this] { Refresh(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    InstallHelpKey(this, kHelpTopic);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRefresh);
    buttons->addWidget(btnClose);
    buttons->addWidget(btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
    resize(760, 520);
}

void TCompareForm::Refresh()
{
    WaitCursor cursor;
    TMineDocument other;
    TMineFile::Load(other, m_path);
    m_diff = MineDiff::Compare(m_document, other);
    Rebuild();
}

void TCompareForm::Rebuild()
{
    List->clear();
    int changes = 0;
    QTreeWidgetItem *group = nullptr;
    for (qsizetype i = 0; i < m_diff.Items.size(); ++i) {
        const TDiffItem &item = m_diff.Items[i];
        if (!group || group->data(0, kItemRole + 1).toInt() != int(item.Group)) {
            group = new QTreeWidgetItem(List, {MineDiff::GroupCaption(item.Group)});
            group->setData(0, kItemRole + 1, int(item.Group));
            group->setFirstColumnSpanned(true);
            QFont bold = group->font(0);
            bold.setBold(true);
            group->setFont(0, bold);
            group->setExpanded(true);
        }
        auto *line = new QTreeWidgetItem(group, {item.Title, Mark(item.Kind)});
        line->setData(0, kItemRole, int(i));
        for (const TDiffField &f : item.Fields) {
            auto *field = new QTreeWidgetItem(
                line, {f.Caption, QStringLiteral("%1 → %2").arg(ValueText(f.Old, f.Text), ValueText(f.New, f.Text))});
            field->setData(0, kItemRole, int(i));
        }
        line->setExpanded(true);
        if (item.Kind != TDiffKind::Remark)
            ++changes;
    }
    const QString file = QFileInfo(m_path).fileName();
    lblSummary->setText(changes ? QStringLiteral("Отличий от файла %1: %2").arg(file).arg(changes)
                                : QStringLiteral("Документ не отличается от файла %1").arg(file));
    lblSummary->setToolTip(QDir::toNativeSeparators(m_path));
    if (QTreeWidgetItem *first = List->topLevelItem(0))
        List->setCurrentItem(first->childCount() ? first->child(0) : first);
}

void TCompareForm::Follow(QTreeWidgetItem *line)
{
    if (!line || !GoTo)
        return;
    const QVariant index = line->data(0, kItemRole);
    if (!index.isValid() || index.toInt() < 0 || index.toInt() >= m_diff.Items.size())
        return;
    GoTo(m_diff.Items[index.toInt()].Place);
}

void TCompareForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
