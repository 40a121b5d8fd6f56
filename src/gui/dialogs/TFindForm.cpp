#include "dialogs/TFindForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"

#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// A value is shown on one line and at most this long: a comment of millions of characters (a
// file can hold one) took the list and the edit field half a minute to lay out.
constexpr int ShownChars = 1000;
} // namespace

// The values as list rows, read straight from the dialog's vector (a hundred thousand of them
// fill the list at once).
class TFindValueModel : public QAbstractListModel {
public:
    TFindValueModel(const std::vector<TFindValue> &values, QObject *parent)
        : QAbstractListModel(parent), m_values(values)
    {
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_values.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::DisplayRole && index.isValid() && size_t(index.row()) < m_values.size())
            return OneLineText(m_values[size_t(index.row())].Text, ShownChars);
        return {};
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    const std::vector<TFindValue> &m_values;
};

namespace {
int rememberedKinds[2] = {-1, -1};
} // namespace

int TFindForm::RememberedKind(int kind)
{
    return rememberedKinds[kind == Uzels ? 0 : 1];
}

void TFindForm::SetRememberedKind(int kind, int columnKind)
{
    rememberedKinds[kind == Uzels ? 0 : 1] = columnKind;
}

TFindForm::TFindForm(const TMineDocument &document, int kind, QWidget *parent)
    : QDialog(parent), m_document(document), m_kind(kind == Uzels ? Uzels : Branches)
{
    setObjectName(QStringLiteral("FindForm"));
    setWindowTitle(QStringLiteral("Найти"));

    // Both pages exist; only the requested one shows its tab, and it holds the controls.
    PageControl = new QTabWidget(this);
    auto *pageUzel = new QWidget;
    auto *pageBranch = new QWidget;
    PageControl->addTab(pageUzel, QStringLiteral("Узел"));
    PageControl->addTab(pageBranch, QStringLiteral("Ветвь"));
    QWidget *page = m_kind == Uzels ? pageUzel : pageBranch;
    PageControl->setCurrentWidget(page);
    PageControl->setTabVisible(m_kind == Uzels ? 1 : 0, false);

    cbParams = new QComboBox(page);
    cbParams->setObjectName(QStringLiteral("cbParams"));
    edValue = new QLineEdit(page);
    edValue->setObjectName(QStringLiteral("edValue"));
    lbValues = new QListView(page);
    lbValues->setObjectName(QStringLiteral("lbValues"));
    lbValues->setUniformItemSizes(true);
    lbValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbValues->setSelectionMode(QAbstractItemView::SingleSelection);
    lbValues->setMinimumSize(400, 260);
    m_model = new TFindValueModel(m_values, this);
    lbValues->setModel(m_model);

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(cbParams);
    pageLayout->addSpacing(6);
    pageLayout->addWidget(edValue);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(lbValues, 1);

    QHBoxLayout *buttons = OkCancelRow(this, QStringLiteral("OK"), btnOK, btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    // Every descriptor in its present order, hidden columns too.
    if (m_kind == Uzels) {
        for (const TColumnDesc &c : m_document.NodeColumns()) {
            m_kinds.push_back(c.Kind);
            cbParams->addItem(c.Caption);
        }
    } else {
        for (const TColumnDesc &c : m_document.BranchColumns()) {
            m_kinds.push_back(c.Kind);
            cbParams->addItem(c.Caption);
        }
    }

    // The list of a parameter's values is read from the whole mine.
    connect(cbParams, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded([this, index] { ChooseParameter(index); }); });
    connect(edValue, &QLineEdit::textEdited, this, &TFindForm::typed);
    connect(lbValues->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (!m_filling && current.isValid())
                    edValue->setText(OneLineText(m_values[size_t(current.row())].Text, ShownChars));
            });
    connect(lbValues, &QListView::doubleClicked, this, &TFindForm::TryAccept);
    connect(btnOK, &QPushButton::clicked, this, &TFindForm::TryAccept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpPage);

    int chosen = 0;
    const int remembered = RememberedKind(m_kind);
    for (size_t i = 0; i < m_kinds.size(); ++i)
        if (m_kinds[i] == remembered)
            chosen = int(i);
    {
        const QSignalBlocker block(cbParams);
        cbParams->setCurrentIndex(chosen);
    }
    ChooseParameter(chosen);
    edValue->setFocus();
}

TFindForm::~TFindForm() = default;

int TFindForm::Execute(QWidget *parent, const TMineDocument &document, int kind)
{
    TFindForm form(document, kind, parent);
    form.exec();
    return form.Result();
}

void TFindForm::ChooseParameter(int index)
{
    if (index < 0 || size_t(index) >= m_kinds.size())
        return;
    if (cbParams->currentIndex() != index) {
        const QSignalBlocker block(cbParams);
        cbParams->setCurrentIndex(index);
    }
    const int kind = m_kinds[size_t(index)];
    SetRememberedKind(m_kind, kind);
    m_filling = true;
    m_values = FindValues::List(*m_document.Mine(), kind);
    m_model->reset();
    lbValues->scrollToTop();   // a list scrolled down for the last parameter would open midway
    m_filling = false;
    const bool any = !m_values.empty();
    lbValues->setEnabled(any);
    edValue->setEnabled(any);
    btnOK->setEnabled(any);
    edValue->setText(any ? QString() : QStringLiteral("элементы не найдены"));
}

int TFindForm::SelectedValue() const
{
    const QModelIndexList selected = lbValues->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TFindForm::SelectValue(int index)
{
    if (index < 0 || size_t(index) >= m_values.size()) {
        lbValues->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex i = m_model->index(index);
    lbValues->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
    lbValues->scrollTo(i, QAbstractItemView::PositionAtTop);
}

void TFindForm::typed(const QString &text)
{
    m_filling = true;
    SelectValue(FindValues::FirstMatch(m_values, text));
    m_filling = false;
}

void TFindForm::TryAccept()
{
    const int index = SelectedValue();
    if (index < 0)
        return;
    m_result = m_values[size_t(index)].Position;
    accept();
}
