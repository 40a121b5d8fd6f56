#include "dialogs/TFilePropForm.h"

#include "AppError.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/TabKeys.h"
#include "base/Utils.h"
#include "dialogs/TDocumentHost.h"
#include "model/NumberText.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <memory>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cmath>

using namespace FileProp;

namespace {

QSlider *slider(int minimum, int maximum, int pageStep, int tickInterval)
{
    auto *s = new QSlider(Qt::Horizontal);
    s->setRange(minimum, maximum);
    s->setPageStep(pageStep);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(tickInterval);
    return s;
}

// Whole metres per second as the slider holds them.
int truncated(float value)
{
    return int(std::trunc(value));
}

} // namespace

TFilePropForm::TFilePropForm(TDocumentHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setWindowTitle(QStringLiteral("Свойства"));

    PageControl = new QTabWidget;
    PageControl->addTab(createGeneralPage(), QStringLiteral("Общие"));
    PageControl->addTab(createColumnsPage(), QStringLiteral("Параметры"));

    const TDialogButtons dialogButtons =
        MakeDialogButtons(nullptr, {QStringLiteral("&OK"), QStringLiteral("О&тмена"), QStringLiteral("&Помощь")});
    btnOK = dialogButtons.Ok;
    btnCancel = dialogButtons.Cancel;
    btnHelp = dialogButtons.Help;
    connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, HelpTopic); });
    InstallHelpKey(this, HelpTopic);

    auto *main = new QVBoxLayout(this);
    main->addWidget(PageControl);
    main->addLayout(DialogButtonLayout(dialogButtons));
    main->setSizeConstraint(QLayout::SetFixedSize);

    fill();
}

bool TFilePropForm::Execute(TDocumentHost &host)
{
    TFilePropForm form(host, host.HostWidget());
    // Centred on the screen, not over the document.
    form.adjustSize();
    if (const QScreen *screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    return form.exec() == QDialog::Accepted;
}

QWidget *TFilePropForm::createGeneralPage()
{
    auto *page = new QWidget;

    edTitle = new QLineEdit;
    auto *titleLabel = new QLabel(QStringLiteral("Название шахты:"));
    titleLabel->setBuddy(edTitle);
    mmNotes = new QPlainTextEdit;
    mmNotes->setLineWrapMode(QPlainTextEdit::NoWrap);
    LetTabMoveFocus(mmNotes);
    mmNotes->setFixedHeight(mmNotes->fontMetrics().lineSpacing() * 5 + 12);
    auto *notesLabel = new QLabel(QStringLiteral("Заметки:"));
    notesLabel->setBuddy(mmNotes);

    // Temperature and pressure: a minus sign, digits and the decimal separator only.
    const QString numberExtra = QStringLiteral("-") + NumberText::DecimalSeparator();
    auto *physics = new QGroupBox(QStringLiteral(" Физические показатели  "));
    edTemperature = new QLineEdit;
    InstallNumberKeyFilter(edTemperature, false, numberExtra);
    auto *temperatureLabel = new QLabel(QStringLiteral("Средняя температура, °C"));
    temperatureLabel->setBuddy(edTemperature);
    cbPressureUnit = new QComboBox;
    for (int unit = 0; unit < AirPressureUnitCount; ++unit)
        cbPressureUnit->addItem(UnitText(TAirPressureUnit(unit)));
    edPressure = new QLineEdit;
    InstallNumberKeyFilter(edPressure, false, numberExtra);
    auto *pressureLabel = new QLabel(QStringLiteral("Давление"));
    pressureLabel->setBuddy(edPressure);
    const int numberWidth = edPressure->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12;
    edTemperature->setFixedWidth(numberWidth);
    edPressure->setFixedWidth(numberWidth);
    connect(edTemperature, &QLineEdit::textEdited, this, [this] { m_temperatureChanged = true; });
    connect(edPressure, &QLineEdit::textEdited, this, [this] { m_pressureChanged = true; });
    connect(cbPressureUnit, &QComboBox::currentIndexChanged, this,
            [this](int index) { RunGuarded([this, index] { PressureUnitChange(index); }); });

    auto *physicsLayout = new QGridLayout(physics);
    physicsLayout->addWidget(temperatureLabel, 0, 0, 1, 2);
    physicsLayout->addWidget(edTemperature, 0, 2);
    physicsLayout->addWidget(pressureLabel, 1, 0);
    physicsLayout->addWidget(cbPressureUnit, 1, 1);
    physicsLayout->addWidget(edPressure, 1, 2);
    physicsLayout->setRowStretch(2, 1);

    auto *calculation = new QGroupBox(QStringLiteral(" Параметры расчета  "));
    lbBoomSpeed = new QLabel;
    tbBoomSpeed = slider(10, 50, 5, 5);
    cbAutoUpdate = new QCheckBox;
    tbAutoUpdate = slider(10, 200, 10, 5);
    lbSaveIterations = new QLabel;
    tbSaveIterations = slider(1, 25, 5, 1);
    for (QSlider *s : {tbBoomSpeed, tbAutoUpdate, tbSaveIterations})
        connect(s, &QSlider::valueChanged, this, &TFilePropForm::updateSliderTexts);
    cbCalcMethod = new QComboBox;
    cbCalcMethod->addItems({QStringLiteral("с учетом шероховатости"), QStringLiteral("с учетом сопротивления")});
    auto *methodLabel = new QLabel(QStringLiteral("Метод расчета"));
    methodLabel->setBuddy(cbCalcMethod);
    // Wide enough for the longest texts the sliders give.
    lbBoomSpeed->setMinimumWidth(fontMetrics().horizontalAdvance(
        QStringLiteral("Автообновление схемы: каждые 200 итераций")) + 30);

    auto *calculationLayout = new QVBoxLayout(calculation);
    calculationLayout->addWidget(lbBoomSpeed);
    calculationLayout->addWidget(tbBoomSpeed);
    calculationLayout->addWidget(cbAutoUpdate);
    calculationLayout->addWidget(tbAutoUpdate);
    calculationLayout->addWidget(lbSaveIterations);
    calculationLayout->addWidget(tbSaveIterations);
    auto *methodRow = new QHBoxLayout;
    methodRow->addWidget(methodLabel);
    methodRow->addWidget(cbCalcMethod, 1);
    calculationLayout->addLayout(methodRow);

    auto *groups = new QHBoxLayout;
    groups->addWidget(physics);
    groups->addWidget(calculation, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(titleLabel);
    layout->addWidget(edTitle);
    layout->addWidget(notesLabel);
    layout->addWidget(mmNotes);
    layout->addLayout(groups);
    return page;
}

QWidget *TFilePropForm::createColumnsPage()
{
    auto *page = new QWidget;
    auto *hint = new QLabel(QStringLiteral(
        "Отметьте параметр, чтобы он отображался в таблице, или снимите отметку, чтобы скрыть его. "
        "Кнопка \"Выбрать все\" отмечает все параметры, кнопка \"По умолчанию\" восстанавливает "
        "отображение по умолчанию."));
    hint->setWordWrap(true);

    auto *uzels = new QGroupBox(QStringLiteral(" Узлы  "));
    auto *branches = new QGroupBox(QStringLiteral(" Ветви  "));
    auto *uzelLayout = new QVBoxLayout(uzels);
    auto *branchLayout = new QGridLayout(branches);
    for (int box = 0; box < ColumnBoxCount; ++box) {
        auto *check = ColumnBox[box] = new QCheckBox(ColumnBoxCaption(box));
        if (box < UzelBoxCount) {
            uzelLayout->addWidget(check);
        } else {
            // Two columns of boxes, filled down then across.
            const int i = box - UzelBoxCount;
            const int rows = (ColumnBoxCount - UzelBoxCount + 1) / 2;
            branchLayout->addWidget(check, i % rows, i / rows);
        }
    }
    uzelLayout->addStretch(1);
    // The numbers are always shown.
    for (int box : {int(cbUzelNumber), int(cbBranchNumber)}) {
        ColumnBox[box]->setChecked(true);
        ColumnBox[box]->setEnabled(false);
    }

    btnDefault = new QPushButton(QStringLiteral("По &умолчанию"));
    btnSelectAll = new QPushButton(QStringLiteral("Выбрать &все"));
    btnSelectAll->hide();
    connect(btnDefault, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnDefaultClick(); }); });
    connect(btnSelectAll, &QPushButton::clicked, this, &TFilePropForm::btnSelectAllClick);

    auto *boxes = new QHBoxLayout;
    boxes->addWidget(uzels);
    boxes->addWidget(branches, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnSelectAll);
    buttons->addStretch(1);
    buttons->addWidget(btnDefault);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(hint);
    layout->addLayout(boxes);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

void TFilePropForm::fill()
{
    const TMineDocument &doc = m_host.Document();
    const TMine *mine = doc.Mine();
    PageControl->setCurrentIndex(0);
    cbPressureUnit->setCurrentIndex(int(TAirPressureUnit::MmHg));
    m_shownUnit = TAirPressureUnit::MmHg;
    edTitle->setText(mine->Title());
    mmNotes->setPlainText(doc.Notes().join(u'\n'));
    edTemperature->setText(QString::number(mine->Temperature()));
    edPressure->setText(InitialPressureText(mine->Pressure()));
    cbAutoUpdate->setChecked(doc.AutoUpdate());
    tbAutoUpdate->setValue(doc.AutoUpdateIterations());
    tbSaveIterations->setValue(doc.SaveIterations());
    tbBoomSpeed->setValue(truncated(doc.BoomSpeed()));
    updateSliderTexts();
    // A method this program does not know shows as no choice and stays as it is.
    cbCalcMethod->setCurrentIndex(doc.CalcMethod() < cbCalcMethod->count() ? doc.CalcMethod() : -1);
    m_temperatureChanged = false;
    m_pressureChanged = false;
    showColumnBoxes();
}

void TFilePropForm::showColumnBoxes()
{
    const TMineDocument &doc = m_host.Document();
    const ColumnBoxes ticks = BoxesFromColumns(doc.NodeColumns(), doc.BranchColumns());
    for (int box = 0; box < ColumnBoxCount; ++box) {
        if (ColumnBox[box]->isEnabled())
            ColumnBox[box]->setChecked(ticks[box]);
    }
}

void TFilePropForm::updateSliderTexts()
{
    lbBoomSpeed->setText(QStringLiteral("Скорость потока, инициирующая взрыв: %1 м/с").arg(tbBoomSpeed->value()));
    cbAutoUpdate->setText(QStringLiteral("Автообновление схемы: каждые %1 итераций").arg(tbAutoUpdate->value()));
    lbSaveIterations->setText(QStringLiteral("Сохранение результатов: каждые %1 итераций").arg(tbSaveIterations->value()));
}

void TFilePropForm::PressureUnitChange(int index)
{
    if (edPressure->text().trimmed().isEmpty())
        return;
    const auto unit = TAirPressureUnit(index);
    if (unit == m_shownUnit)
        return;
    QString converted;
    if (!ConvertPressureText(edPressure->text(), m_shownUnit, unit, converted)) {
        const QSignalBlocker blocker(cbPressureUnit);
        cbPressureUnit->setCurrentIndex(int(m_shownUnit));
        throw AppError(QStringLiteral("Неверно указана величина давления"));
    }
    // The dialog rewrites the text, the value stays: a typed pressure keeps counting as typed,
    // one the user never touched stays untouched (and so the stored value is kept exactly).
    edPressure->setText(converted);
    m_shownUnit = unit;
}

void TFilePropForm::btnDefaultClick()
{
    m_host.Document().ResetColumns();
    m_host.LayoutColumns();
    showColumnBoxes();
}

void TFilePropForm::btnSelectAllClick()
{
    for (QCheckBox *box : ColumnBox)
        box->setChecked(true);
}

void TFilePropForm::refuse(QLineEdit *field, const QString &message)
{
    PageControl->setCurrentIndex(0);
    field->setFocus();
    throw AppError(message);
}

bool TFilePropForm::calculationParameterChanges(qint32 temperature, double pressure) const
{
    const TMineDocument &doc = m_host.Document();
    const TMine *mine = doc.Mine();
    return (m_temperatureChanged && temperature != mine->Temperature()) ||
           (m_pressureChanged && PressureDiffers(pressure, mine->Pressure())) ||
           tbBoomSpeed->value() != truncated(doc.BoomSpeed()) ||
           (cbCalcMethod->currentIndex() >= 0 && cbCalcMethod->currentIndex() != doc.CalcMethod());
}

void TFilePropForm::btnOKClick()
{
    ColumnBox[cbUzelNumber]->setChecked(true);
    ColumnBox[cbBranchNumber]->setChecked(true);

    qint32 temperature = 0;
    if (m_temperatureChanged) {
        const QString error = CheckTemperature(edTemperature->text(), temperature);
        if (!error.isEmpty())
            refuse(edTemperature, error);
    }
    double pressure = 0;
    if (m_pressureChanged) {
        const QString error = CheckPressure(
            edPressure->text(), TAirPressureUnit(cbPressureUnit->currentIndex()), pressure);
        if (!error.isEmpty())
            refuse(edPressure, error);
    }
    if (calculationParameterChanges(temperature, pressure)) {
        const auto answer = AppDialogs::AskQuestion(
            this,
            QStringLiteral("Были изменены расчетные параметры. В случае продолжения\n"
                           "результаты расчета будут очищены. Продолжить?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        m_host.ClearResults(false, true, true, true);
    }
    write(temperature, pressure);
    accept();
}

namespace {
// What the dialog sets that the document keeps beside the mine: one undo entry exchanges it.
struct TDocumentSettings {
    QStringList Notes;
    quint8 AutoUpdate = 0;
    qint32 AutoUpdateIterations = 0;
    qint32 SaveIterations = 0;
    float BoomSpeed = 0;
    quint8 CalcMethod = 0;
    TNodeColumns NodeColumns;
    TBranchColumns BranchColumns;

    static TDocumentSettings Of(const TMineDocument &doc)
    {
        return {doc.Notes(), doc.AutoUpdateByte(), doc.AutoUpdateIterations(), doc.SaveIterations(),
                doc.BoomSpeed(), doc.CalcMethod(), doc.NodeColumns(), doc.BranchColumns()};
    }
    void To(TMineDocument &doc) const
    {
        doc.SetNotes(Notes);
        doc.SetAutoUpdateByte(AutoUpdate);
        doc.SetAutoUpdateIterations(AutoUpdateIterations);
        doc.SetSaveIterations(SaveIterations);
        doc.SetBoomSpeed(BoomSpeed);
        doc.SetCalcMethod(CalcMethod);
        doc.SetNodeColumns(NodeColumns);
        doc.SetBranchColumns(BranchColumns);
    }
};
} // namespace

void TFilePropForm::write(qint32 temperature, double pressure)
{
    TMineDocument &doc = m_host.Document();
    TMine *mine = doc.Mine();
    TUserAction action(mine, QStringLiteral("Свойства"));
    if (mine->Journal().Active()) {
        auto kept = std::make_shared<TDocumentSettings>(TDocumentSettings::Of(doc));
        TDocumentHost *host = &m_host;
        mine->Journal().Swap([kept, host] {
            TMineDocument &d = host->Document();
            const TDocumentSettings now = TDocumentSettings::Of(d);
            kept->To(d);
            *kept = now;
            host->LayoutColumns();
            host->RefreshCaption();
        });
    }
    doc.SetNotes(NoteLines(mmNotes->toPlainText()));
    mine->SetTitle(edTitle->text());
    if (m_temperatureChanged)
        mine->SetTemperature(temperature);
    if (m_pressureChanged)
        mine->SetPressure(float(pressure));
    doc.SetAutoUpdate(cbAutoUpdate->isChecked());
    doc.SetAutoUpdateIterations(tbAutoUpdate->value());
    doc.SetSaveIterations(tbSaveIterations->value());
    doc.SetBoomSpeed(float(tbBoomSpeed->value()));
    if (cbCalcMethod->currentIndex() >= 0)
        doc.SetCalcMethod(quint8(cbCalcMethod->currentIndex()));
    m_host.RefreshCaption();
    mine->SetModified(true);

    ColumnBoxes ticks{};
    for (int box = 0; box < ColumnBoxCount; ++box)
        ticks[box] = ColumnBox[box]->isChecked();
    TNodeColumns uzels = doc.NodeColumns();
    TBranchColumns branches = doc.BranchColumns();
    ColumnsFromBoxes(ticks, uzels, branches);
    doc.SetNodeColumns(uzels);
    doc.SetBranchColumns(branches);
    m_host.LayoutColumns();
}
