#include "dialogs/TTransForm.h"

#include "AppError.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "dialogs/TAngleDial.h"
#include "dialogs/TDocumentHost.h"
#include "dialogs/TUpDown.h"
#include "model/CoordinateTransform.h"
#include "model/NumberText.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace {

// Remembered between openings for the rest of the run.
struct Placement {
    bool placed = false;
    QPoint position;
    int page = TTransForm::ShiftScalePage;
};
Placement placement;

} // namespace

TTransForm::TTransForm(TDocumentHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setWindowTitle(QStringLiteral("Трансформация"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, true);
    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, HelpTopic); });

    auto *area = new QGroupBox(QStringLiteral(" Область "));
    WholeMineBtn = new QRadioButton(QStringLiteral("Вся шахта"));
    OnlySelectedBtn = new QRadioButton(QStringLiteral("Выделенный узел"));
    TransCountLabel = new QLabel;
    connect(WholeMineBtn, &QRadioButton::toggled, this, &TTransForm::updateCount);
    auto *areaLayout = new QGridLayout(area);
    areaLayout->addWidget(WholeMineBtn, 0, 0);
    areaLayout->addWidget(OnlySelectedBtn, 1, 0);
    areaLayout->addWidget(TransCountLabel, 0, 1, 2, 1, Qt::AlignCenter);
    areaLayout->setColumnStretch(1, 1);

    const TDialogButtons dialogButtons = MakeDialogButtons(nullptr, {QStringLiteral("&ОК"), QStringLiteral("О&тмена"), QString()});
    btnOK = dialogButtons.Ok;
    btnCancel = dialogButtons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    QBoxLayout *buttons = DialogButtonLayout(dialogButtons, true);

    PageControl = new QTabWidget;
    PageControl->addTab(createShiftScalePage(), QStringLiteral("Перенос и масштаб"));
    PageControl->addTab(createRotationPage(), QStringLiteral("Поворот"));

    auto *top = new QHBoxLayout;
    top->addWidget(area, 1);
    top->addLayout(buttons);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(PageControl);
    main->setSizeConstraint(QLayout::SetFixedSize);

    // Opening: the remembered page and place, the angle 0, the whole mine.
    PageControl->setCurrentIndex(placement.page);
    m_writingAngle = true;
    AngleEdit->setText(NumberText::Fixed(0, 1));
    m_writingAngle = false;
    m_angle = 0;
    m_angleValid = true;
    showAngle();
    WholeMineBtn->setChecked(true);
    updateCount();
    updateBoxes();
    if (placement.placed)
        move(placement.position);
}

bool TTransForm::Execute(TDocumentHost &host)
{
    TTransForm form(host, host.HostWidget());
    return form.exec() == QDialog::Accepted;
}

void TTransForm::ForgetPlacement()
{
    placement = Placement();
}

QLineEdit *TTransForm::numberField(const QString &text)
{
    auto *field = new QLineEdit(text);
    InstallNumberKeyFilter(field, true, QStringLiteral("-"));
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.00")) + 12);
    return field;
}

QWidget *TTransForm::createShiftScalePage()
{
    auto *page = new QWidget;
    ScaleBox = new QCheckBox(QStringLiteral("Коэф. увеличен."));
    OffsetBox = new QCheckBox(QStringLiteral("С&двиг, м"));
    ScaleBox->setChecked(true);
    OffsetBox->setChecked(true);
    connect(ScaleBox, &QCheckBox::toggled, this, &TTransForm::updateBoxes);
    connect(OffsetBox, &QCheckBox::toggled, this, &TTransForm::updateBoxes);

    ScaleXEdit = numberField(QStringLiteral("1"));
    ScaleYEdit = numberField(QStringLiteral("1"));
    ScaleZEdit = numberField(QStringLiteral("1"));
    OffsetXEdit = numberField(QStringLiteral("0"));
    OffsetYEdit = numberField(QStringLiteral("0"));
    OffsetZEdit = numberField(QStringLiteral("0"));

    auto *layout = new QGridLayout(page);
    layout->addWidget(ScaleBox, 0, 1);
    layout->addWidget(OffsetBox, 0, 2);
    const struct {
        const char *caption;
        QLineEdit *scale, *offset;
    } rows[] = {{"По &X", ScaleXEdit, OffsetXEdit}, {"По &Y", ScaleYEdit, OffsetYEdit}, {"По &Z", ScaleZEdit, OffsetZEdit}};
    int row = 1;
    for (const auto &r : rows) {
        auto *label = new QLabel(QString::fromUtf8(r.caption));
        label->setBuddy(r.scale);
        layout->addWidget(label, row, 0);
        layout->addWidget(r.scale, row, 1);
        layout->addWidget(r.offset, row, 2);
        ++row;
    }
    layout->setRowStretch(row, 1);
    layout->setColumnStretch(3, 1);
    return page;
}

QWidget *TTransForm::createRotationPage()
{
    auto *page = new QWidget;
    AngleEdit = numberField(QString());
    AngleEdit->installEventFilter(this);
    connect(AngleEdit, &QLineEdit::textChanged, this, &TTransForm::AngleEditChange);
    auto *angleLabel = new QLabel(QStringLiteral("&Угол, °"));
    angleLabel->setBuddy(AngleEdit);
    AngleBtn = new TUpDown;
    connect(AngleBtn, &TUpDown::Up, this, [this] { RunGuarded([this] { StepAngle(1); }); });
    connect(AngleBtn, &TUpDown::Down, this, [this] { RunGuarded([this] { StepAngle(-1); }); });

    auto *centre = new QGroupBox(QStringLiteral(" Центр "));
    X0Edit = numberField(QStringLiteral("0"));
    Y0Edit = numberField(QStringLiteral("0"));
    X0Edit->installEventFilter(this);
    Y0Edit->installEventFilter(this);
    auto *x0Label = new QLabel(QStringLiteral("&X, м"));
    x0Label->setBuddy(X0Edit);
    auto *y0Label = new QLabel(QStringLiteral("&Y, м"));
    y0Label->setBuddy(Y0Edit);
    auto *centreLayout = new QGridLayout(centre);
    centreLayout->addWidget(x0Label, 0, 0);
    centreLayout->addWidget(X0Edit, 0, 1);
    centreLayout->addWidget(y0Label, 1, 0);
    centreLayout->addWidget(Y0Edit, 1, 1);
    centreLayout->setColumnStretch(2, 1);

    AngleBox = new TAngleDial;
    connect(AngleBox, &TAngleDial::Dragged, this, &TTransForm::AngleBoxDrag);

    auto *angleRow = new QHBoxLayout;
    angleRow->addWidget(angleLabel);
    angleRow->addWidget(AngleEdit);
    angleRow->addWidget(AngleBtn);
    angleRow->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addLayout(angleRow);
    left->addWidget(centre);
    left->addStretch(1);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(AngleBox, 0, Qt::AlignTop);
    return page;
}

void TTransForm::updateCount()
{
    const int count = WholeMineBtn->isChecked() ? m_host.Document().Mine()->Uzels().Count() : 1;
    TransCountLabel->setText(QStringLiteral("Трансформируемых узлов: %1").arg(count));
}

void TTransForm::updateBoxes()
{
    for (QLineEdit *field : {ScaleXEdit, ScaleYEdit, ScaleZEdit})
        field->setEnabled(ScaleBox->isChecked());
    for (QLineEdit *field : {OffsetXEdit, OffsetYEdit, OffsetZEdit})
        field->setEnabled(OffsetBox->isChecked());
    btnOK->setEnabled(ScaleBox->isChecked() || OffsetBox->isChecked());
}

void TTransForm::showAngle()
{
    AngleBox->SetAngle(m_angle, m_angleValid, AngleEdit->text());
}

void TTransForm::AngleEditChange()
{
    if (m_writingAngle)
        return;
    double degrees = 0;
    m_angleValid = NumberText::ParseReal(AngleEdit->text().trimmed(), degrees);
    if (m_angleValid)
        m_angle = degrees * RadiansPerDegree;
    showAngle();
}

void TTransForm::StepAngle(double step)
{
    double degrees = 0;
    if (!NumberText::ParseReal(AngleEdit->text().trimmed(), degrees)) {
        AngleEdit->setFocus();
        showAngle();
        RaiseInvalidNumber();
    }
    degrees += step;
    m_angle = degrees * RadiansPerDegree;
    m_writingAngle = true;
    AngleEdit->setText(NumberText::General(degrees));
    m_writingAngle = false;
    m_angleValid = true;
    showAngle();
}

void TTransForm::AngleBoxDrag(QPoint position, Qt::KeyboardModifiers modifiers)
{
    const QPoint c = AngleBox->Centre();
    double angle = DialAngle(position.x(), position.y(), c.x(), c.y());
    double degrees = angle * DegreesPerRadian;
    if (modifiers & Qt::ControlModifier) {
        degrees = SnapDegrees(degrees);
        angle = degrees * RadiansPerDegree;
    }
    m_angle = angle;
    m_angleValid = true;
    m_writingAngle = true;
    AngleEdit->setText(NumberText::Fixed(degrees, 2));
    m_writingAngle = false;
    showAngle();
}

void TTransForm::LeaveCheck(QLineEdit *field)
{
    double value = 0;
    if (NumberText::ParseReal(field->text().trimmed(), value)) {
        if (field == AngleEdit) {
            m_angle = value * RadiansPerDegree;
            m_angleValid = true;
        }
        return;
    }
    PageControl->setCurrentIndex(RotationPage);
    field->setFocus();
    RaiseInvalidNumber();
}

bool TTransForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Only the focus moving on within the dialog is a leave: another window in front (an
        // error box among them) leaves the field as it is. "&ОК" runs its own checks, and
        // "О&тмена" drops whatever the fields hold.
        QWidget *next = QApplication::focusWidget();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            next != btnOK && next != btnCancel) {
            // After the focus has settled: the error box must not open inside the focus change.
            QMetaObject::invokeMethod(
                this, [this, field] { RunGuarded([this, field] { LeaveCheck(field); }); },
                Qt::QueuedConnection);
        }
    } else if (watched == AngleEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            const double step = key->modifiers() & Qt::ControlModifier ? 0.1 : 1.0;
            RunGuarded([this, key, step] { StepAngle(key->key() == Qt::Key_Up ? step : -step); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TTransForm::event(QEvent *event)
{
    // The help button of the frame.
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::leaveWhatsThisMode();
        ShowHelpTopic(this, HelpTopic);
        return true;
    }
    return QDialog::event(event);
}

double TTransForm::readField(QLineEdit *field)
{
    double value = 0;
    if (!NumberText::ParseReal(field->text().trimmed(), value)) {
        field->setFocus();
        RaiseInvalidNumber();
    }
    return value;
}

void TTransForm::btnOKClick()
{
    TNodeTransform transform;
    if (PageControl->currentIndex() == RotationPage) {
        if (!m_angleValid)
            readField(AngleEdit);
        const double x0 = readField(X0Edit);
        const double y0 = readField(Y0Edit);
        transform = TNodeTransform::Rotation(x0, y0, m_angle);
    } else {
        std::array<double, 3> scale{1, 1, 1}, offset{0, 0, 0};
        if (ScaleBox->isChecked())
            scale = {readField(ScaleXEdit), readField(ScaleYEdit), readField(ScaleZEdit)};
        if (OffsetBox->isChecked())
            offset = {readField(OffsetXEdit), readField(OffsetYEdit), readField(OffsetZEdit)};
        transform = TNodeTransform::ShiftScale(scale, offset);
    }

    TMine *mine = m_host.Document().Mine();
    TUzel *only = nullptr;
    if (OnlySelectedBtn->isChecked()) {
        only = mine->CurUzel();
        if (!only)
            throw AppError(QStringLiteral("Не выбран узел для трансформации.\n"
                                          "Выделите его строку в таблице узлов или выберите \"Вся шахта\"."));
    }
    switch (only ? transform.Check(*only) : transform.CheckAll(*mine)) {
    case TNodeTransform::TFault::None:
        break;
    case TNodeTransform::TFault::Overflow:
        throw AppError(QStringLiteral("Координаты узлов после трансформации вышли бы за пределы "
                                      "допустимых значений.\nУзлы не изменены."));
    case TNodeTransform::TFault::Unset:
        throw AppError(QStringLiteral("Координаты узлов после трансформации совпали бы со значением "
                                      "«не задано» (−777777). Узлы не изменены."));
    }
    if (!m_host.ConfirmEdit())
        return;

    hide();
    {
        TUserAction action(mine, QStringLiteral("Трансформация"));
        if (only)
            transform.Apply(*only);
        else
            transform.ApplyToAll(*mine);
    }
    m_host.RepaintTables();
    accept();
}

void TTransForm::done(int result)
{
    placement.placed = true;
    placement.position = pos();
    placement.page = PageControl->currentIndex();
    QDialog::done(result);
}
