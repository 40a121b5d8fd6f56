#include "settings/TOptionsForm.h"

#include "base/AppDialogs.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "settings/TColorGrid.h"
#include "settings/TConfig.h"
#include "settings/TSampleGrid.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

std::function<void()> TOptionsForm::ApplyDisplaySettings;

namespace {

const QString DefaultFont = QStringLiteral("MS Sans Serif");

// Scoped "the dialog is filling its controls".
class Loading {
public:
    explicit Loading(bool &flag) : m_flag(flag), m_saved(flag) { m_flag = true; }
    ~Loading() { m_flag = m_saved; }

private:
    bool &m_flag;
    bool m_saved;
};

} // namespace

TOptionsForm::TOptionsForm(QWidget *parent)
    : QDialog(parent), m_work(std::make_unique<TConfig>(false))
{
    Q_ASSERT(Config);
    Loading loading(m_loading);
    m_work->AssignDisplay(*Config);
    m_work->RecoveryMinutes = Config->RecoveryMinutes;
    m_work->UndoLimit = Config->UndoLimit;

    setWindowTitle(QStringLiteral("Установки"));

    PageControl = new QTabWidget;
    PageControl->addTab(createColoursPage(), QStringLiteral("Цвета"));
    PageControl->addTab(createViewPage(), QStringLiteral("Вид"));

    const TDialogButtons dialogButtons =
        MakeDialogButtons(nullptr, {QStringLiteral("&OK"), QStringLiteral("&Отмена"), QStringLiteral("&Помощь")});
    btnOK = dialogButtons.Ok;
    btnCancel = dialogButtons.Cancel;
    btnHelp = dialogButtons.Help;
    btnReset = new QPushButton(QStringLiteral("&Сбросить"));
    connect(btnOK, &QPushButton::clicked, this, &TOptionsForm::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, &TOptionsForm::btnHelpClick);
    InstallHelpKey(this, HelpTopic);
    connect(btnReset, &QPushButton::clicked, this, &TOptionsForm::btnResetClick);

    QBoxLayout *buttons = DialogButtonLayout(dialogButtons);
    buttons->insertWidget(0, btnReset);

    auto *main = new QVBoxLayout(this);
    main->addWidget(PageControl);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);

    // Opening: the font and size of the copy, the first kind, the pressure presentation.
    fillFontList();
    showFont();
    sgSample->ResizeRows();
    lbItems->setCurrentRow(ckData);
    LoadKind(ckData);
    (m_work->PressureMode == 1 ? rbMPa : rbAt)->setChecked(true);
}

TOptionsForm::~TOptionsForm() = default;

bool TOptionsForm::Execute(QWidget *parent)
{
    TOptionsForm form(parent);
    return form.exec() == QDialog::Accepted;
}

QWidget *TOptionsForm::createColoursPage()
{
    auto *page = new QWidget;

    auto *hint = new QLabel(QStringLiteral(
        "Выберите настраиваемый элемент из списка или списка или таблицы и укажите его свойства: "
        "цвет ячейки, цвет и аттрибуты шрифта. Все сделанные изменения сразу отображаются в "
        "таблице. Шрифт и его размер являются общими параметрами."));
    hint->setWordWrap(true);

    lbItems = new QListWidget;
    for (int kind = 0; kind < CellKindCount; ++kind)
        lbItems->addItem(TConfig::KindText(kind));
    lbItems->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbItems->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbItems->setFixedHeight(lbItems->sizeHintForRow(0) * CellKindCount + 2 * lbItems->frameWidth());
    lbItems->setMinimumWidth(lbItems->sizeHintForColumn(0) + 2 * lbItems->frameWidth() + 8);
    connect(lbItems, &QListWidget::currentRowChanged, this, &TOptionsForm::lbItemsClick);

    ColorGrid = new TColorGrid;
    auto *colourLabel = new QLabel(QStringLiteral("&Цвет:"));
    colourLabel->setBuddy(ColorGrid);
    connect(ColorGrid, &TColorGrid::Changed, this, &TOptionsForm::AttrChange);

    auto *attributes = new QGroupBox(QStringLiteral(" &Аттрибуты шрифта  "));
    cbBold = new QCheckBox(QStringLiteral("Полужирный"));
    cbItalic = new QCheckBox(QStringLiteral("Курсив"));
    cbUnderline = new QCheckBox(QStringLiteral("Подчеркнутый"));
    auto *attributesLayout = new QVBoxLayout(attributes);
    for (QCheckBox *box : {cbBold, cbItalic, cbUnderline}) {
        attributesLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TOptionsForm::AttrChange);
    }
    attributesLayout->addStretch(1);

    cbFont = new QComboBox;
    cbFont->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbFont->setMinimumContentsLength(18);
    auto *fontLabel = new QLabel(QStringLiteral("&Шрифт:"));
    fontLabel->setBuddy(cbFont);
    connect(cbFont, &QComboBox::currentIndexChanged, this, &TOptionsForm::FontChange);

    edSize = new QLineEdit;
    edSize->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edSize));
    InstallNumberKeyFilter(edSize, false);
    edSize->setFixedWidth(edSize->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    auto *sizeLabel = new QLabel(QStringLiteral("&Размер шрифта:"));
    sizeLabel->setBuddy(edSize);
    connect(edSize, &QLineEdit::textChanged, this, &TOptionsForm::FontChange);

    sgSample = new TSampleGrid(m_work.get());
    connect(sgSample, &TSampleGrid::RowClicked, this, &TOptionsForm::sgSampleClick);
    auto *sampleArea = m_sampleArea = new QScrollArea;
    sampleArea->setWidget(sgSample);
    sampleArea->setWidgetResizable(false);
    // The whole sample shows at the default font, whatever font the dialog opens with; a larger
    // font scrolls.
    const int frame = 2 * sampleArea->frameWidth();
    const int row = CellRowHeight(CellFont(DefaultFont, 8), sgSample);
    sampleArea->setFixedSize(
        sgSample->sizeHint().width() + frame,
        (TSampleGrid::RowCount + 1) * row + TSampleGrid::RowCount * TSampleGrid::LineWidth + frame);

    auto *colourColumn = new QVBoxLayout;
    colourColumn->addWidget(colourLabel);
    colourColumn->addWidget(ColorGrid);
    colourColumn->addStretch(1);

    auto *choice = new QHBoxLayout;
    choice->addWidget(lbItems, 1);
    choice->addLayout(colourColumn);
    choice->addWidget(attributes);

    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(fontLabel);
    fontRow->addWidget(cbFont, 1);
    fontRow->addSpacing(12);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(edSize);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addLayout(choice);
    layout->addLayout(fontRow);
    layout->addWidget(sampleArea);
    return page;
}

QWidget *TOptionsForm::createViewPage()
{
    auto *page = new QWidget;
    auto *units = new QGroupBox(QStringLiteral(" Единицы измерения  "));
    auto *pressure = new QGroupBox(QStringLiteral(" Давление разрушения "));
    rbAt = new QRadioButton(QStringLiteral("Ат"));
    rbMPa = new QRadioButton(QStringLiteral("МПа"));
    auto *group = new QButtonGroup(this);
    group->addButton(rbAt, 0);
    group->addButton(rbMPa, 1);
    connect(group, &QButtonGroup::idClicked, this, &TOptionsForm::rgPressureClick);

    auto *pressureLayout = new QVBoxLayout(pressure);
    pressureLayout->addWidget(rbAt);
    pressureLayout->addWidget(rbMPa);
    auto *unitsLayout = new QHBoxLayout(units);
    unitsLayout->addWidget(pressure);
    unitsLayout->addStretch(1);

    // Copies of documents with unsaved changes, for the next start after a crash.
    auto *recovery = new QGroupBox(QStringLiteral(" Восстановление после сбоя  "));
    auto *recoveryLabel = new QLabel(QStringLiteral("&Копия несохраненного документа каждые"));
    edRecovery = new QSpinBox;
    edRecovery->setRange(0, TConfig::MaxRecoveryMinutes);
    edRecovery->setSuffix(QStringLiteral(" мин"));
    // 0 turns the copies off, and says so.
    edRecovery->setSpecialValueText(QStringLiteral("не делать"));
    edRecovery->setValue(m_work->RecoveryMinutes);
    recoveryLabel->setBuddy(edRecovery);
    connect(edRecovery, &QSpinBox::valueChanged, this, [this](int minutes) { m_work->RecoveryMinutes = minutes; });
    auto *recoveryLayout = new QHBoxLayout(recovery);
    recoveryLayout->addWidget(recoveryLabel);
    recoveryLayout->addWidget(edRecovery);
    recoveryLayout->addStretch(1);

    auto *undo = new QGroupBox(QStringLiteral(" Отмена действий  "));
    auto *undoLabel = new QLabel(QStringLiteral("&Отменяемых действий в документе не больше"));
    edUndoLimit = new QSpinBox;
    edUndoLimit->setRange(0, TConfig::MaxUndoLimit);
    edUndoLimit->setSpecialValueText(QStringLiteral("без отмены"));
    edUndoLimit->setValue(m_work->UndoLimit);
    undoLabel->setBuddy(edUndoLimit);
    connect(edUndoLimit, &QSpinBox::valueChanged, this, [this](int steps) { m_work->UndoLimit = steps; });
    auto *undoLayout = new QHBoxLayout(undo);
    undoLayout->addWidget(undoLabel);
    undoLayout->addWidget(edUndoLimit);
    undoLayout->addStretch(1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(units);
    layout->addWidget(recovery);
    layout->addWidget(undo);
    layout->addStretch(1);
    return page;
}

// The screen fonts, and the Windows names settings are kept under (font matching resolves them
// to the closest installed face).
void TOptionsForm::fillFontList()
{
    QStringList names = QFontDatabase::families();
    for (const QString &windowsName : {DefaultFont, QStringLiteral("Arial"), QStringLiteral("Times New Roman")})
        if (!names.contains(windowsName, Qt::CaseInsensitive))
            names.append(windowsName);
    names.sort(Qt::CaseInsensitive);
    Loading loading(m_loading);
    cbFont->clear();
    cbFont->addItems(names);
    FitDropDownWidth(cbFont, 0);
}

// Shows the working copy's font name and size in the font list and the size field.
void TOptionsForm::showFont()
{
    Loading loading(m_loading);
    int index = cbFont->findText(m_work->Fontname, Qt::MatchFixedString);
    if (m_work->Fontname.isEmpty() || index < 0)
        index = cbFont->findText(DefaultFont, Qt::MatchFixedString);
    cbFont->setCurrentIndex(index);
    edSize->setText(QString::number(m_work->FontSize));
}

void TOptionsForm::LoadKind(int cell)
{
    if (cell < 0 || cell >= CellKindCount)
        return;
    Loading loading(m_loading);
    const TCellAttr &attr = m_work->Attr(cell);
    sgSample->SetCurrentRow(cell + 1);
    const QRect row = sgSample->CellRect(1, cell + 1);
    m_sampleArea->ensureVisible(row.left(), row.center().y(), 0, row.height() / 2 + 1);
    ColorGrid->SetBackgroundColor(attr.Color);
    ColorGrid->SetForegroundColor(attr.FontColor);
    cbBold->setChecked(attr.Bold);
    cbItalic->setChecked(attr.Italic);
    cbUnderline->setChecked(attr.Underline);
}

void TOptionsForm::lbItemsClick()
{
    if (m_loading)
        return;
    LoadKind(lbItems->currentRow());
}

void TOptionsForm::AttrChange()
{
    if (m_loading)
        return;
    const int cell = lbItems->currentRow();
    if (cell < 0 || cell >= CellKindCount)
        return;
    TCellAttr &attr = m_work->Attr(cell);
    // A colour that is not one of the 16 marks no square; the palette then gives back the colour
    // it was shown, so a change of style leaves such a colour alone.
    attr.Color = ColorGrid->BackgroundColor();
    attr.FontColor = ColorGrid->ForegroundColor();
    attr.Bold = cbBold->isChecked();
    attr.Italic = cbItalic->isChecked();
    attr.Underline = cbUnderline->isChecked();
    sgSample->update();
}

void TOptionsForm::sgSampleClick(int row)
{
    const int kind = row - 1;
    {
        Loading loading(m_loading);
        lbItems->setCurrentRow(kind);
    }
    LoadKind(kind);
    sgSample->update();
}

void TOptionsForm::FontChange()
{
    if (m_loading)
        return;
    m_work->Fontname = cbFont->currentText();
    bool ok = false;
    const int size = edSize->text().toInt(&ok);
    if (ok)
        m_work->FontSize = size;
    sgSample->ResizeRows();
}

void TOptionsForm::btnResetClick()
{
    const auto answer = AppDialogs::AskQuestion(
        this, QStringLiteral("Установить все цвета и стили в соответствии со значениями по умолчанию"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    m_work->SetGridDefaults();
    // The font is reset too: show it, and size the sample rows by it.
    showFont();
    sgSample->ResizeRows();
    sgSampleClick(sgSample->CurrentRow());
}

void TOptionsForm::rgPressureClick(int mode)
{
    m_work->PressureMode = quint8(mode);
}

void TOptionsForm::btnOKClick()
{
    Config->AssignDisplay(*m_work);
    Config->RecoveryMinutes = m_work->RecoveryMinutes;
    Config->UndoLimit = m_work->UndoLimit;
    if (ApplyDisplaySettings)
        ApplyDisplaySettings();
    accept();
}

void TOptionsForm::btnHelpClick()
{
    ShowHelpTopic(this, HelpTopic);
}
