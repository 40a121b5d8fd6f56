#include "editor/TPerimTypeForm.h"

#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "editor/TableText.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/Unset.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The cross-section field admits digits, backspace and the decimal separator only.
class SectionKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            if (text.size() == 1 && text.front().isPrint()) {
                const QChar c = text.front();
                if (!(c >= u'0' && c <= u'9') && c != TableText::DecimalSeparator())
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

const char16_t *const kRoughness[] = {
    u"Гладкая поверхность и метал. трубы",
    u"Бетонная или кирпичная крепь",
    u"Другие виды крепи (менее шероховатая поверхность)",
    u"Другие виды крепи (более шероховатая поверхность)",
    u"Повышенная шероховатость и стволы с армировкой",
};

} // namespace

QString TPerimTypeForm::RoughnessName(int roughnessClass)
{
    if (roughnessClass < 0 || roughnessClass >= 5)
        return QString();
    return QString::fromUtf16(kRoughness[roughnessClass]);
}

TPerimTypeForm::TPerimTypeForm(TBranch *branch, QWidget *parent)
    : QDialog(parent), m_branch(branch), m_section(branch->Section()), m_perimeter(kUnsetReal)
{
    setObjectName(QStringLiteral("PerimTypeForm"));
    setWindowTitle(QStringLiteral("Сечение, периметр, шероховатость"));

    SEdit = new QLineEdit(this);
    SEdit->setObjectName(QStringLiteral("SEdit"));
    SEdit->installEventFilter(new SectionKeyFilter(SEdit));
    PerimEdit = new QLineEdit(this);
    PerimEdit->setObjectName(QStringLiteral("PerimEdit"));
    PerimEdit->setReadOnly(true);
    PerimEdit->setFocusPolicy(Qt::NoFocus);
    auto *sLabel = new QLabel(QStringLiteral("Сечение, м2"), this);
    sLabel->setBuddy(SEdit);
    auto *pLabel = new QLabel(QStringLiteral("Периметр, м"), this);

    SFormGroup = new QGroupBox(QStringLiteral(" Форма сечения  "), this);
    SFormGroup->setObjectName(QStringLiteral("SFormGroup"));
    SFormButtons = new QButtonGroup(this);
    auto *shapeLayout = new QVBoxLayout(SFormGroup);
    for (int i = 0; i < MineTables::kShapeCount; ++i) {
        auto *r = new QRadioButton(MineTables::ShapeName(i), SFormGroup);
        SFormButtons->addButton(r, i);
        shapeLayout->addWidget(r);
    }
    SmoothGroup = new QGroupBox(QStringLiteral(" Шероховатость  "), this);
    SmoothGroup->setObjectName(QStringLiteral("SmoothGroup"));
    SmoothButtons = new QButtonGroup(this);
    auto *smoothLayout = new QVBoxLayout(SmoothGroup);
    for (int i = 0; i < 5; ++i) {
        auto *r = new QRadioButton(RoughnessName(i), SmoothGroup);
        SmoothButtons->addButton(r, i);
        smoothLayout->addWidget(r);
    }

    const TDialogButtons dialogButtons =
        MakeDialogButtons(this, {QStringLiteral("&OK"), QStringLiteral("&Отмена"), QStringLiteral("&Помощь")});
    btnOK = dialogButtons.Ok;
    btnCancel = dialogButtons.Cancel;
    btnHelp = dialogButtons.Help;
    connect(btnOK, &QPushButton::clicked, this, &TPerimTypeForm::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TPerimTypeForm::reject);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, HelpContext); });
    InstallHelpKey(this, HelpContext);

    auto *fields = new QGridLayout;
    fields->addWidget(sLabel, 0, 0);
    fields->addWidget(SEdit, 0, 1);
    fields->addWidget(pLabel, 1, 0);
    fields->addWidget(PerimEdit, 1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(SFormGroup);
    layout->addWidget(SmoothGroup);
    layout->addLayout(DialogButtonLayout(dialogButtons));

    if (QAbstractButton *b = SFormButtons->button(branch->Shape()))
        b->setChecked(true);
    if (QAbstractButton *b = SmoothButtons->button(branch->Roughness()))
        b->setChecked(true);

    connect(SEdit, &QLineEdit::textChanged, this, &TPerimTypeForm::recalculate);
    connect(SFormButtons, &QButtonGroup::idClicked, this, &TPerimTypeForm::recalculate);

    // Shown filled in even before the dialog appears (the show step repeats it).
    if (!IsUnset(m_section))
        SEdit->setText(TableText::FormatReal(m_section, 1));
    recalculate();
}

void TPerimTypeForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget()) {
        const QRect frame = parentWidget()->window()->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    m_perimeter = kUnsetReal;
    if (!IsUnset(m_section)) {
        SEdit->setText(TableText::FormatReal(m_section, 1));
    } else {
        SEdit->clear();
        SEdit->setFocus();
    }
    recalculate();
}

void TPerimTypeForm::recalculate()
{
    btnOK->setEnabled(true);
    double s = 0;
    if (TableText::ParseReal(SEdit->text().trimmed(), s) && s >= 0 && std::isfinite(float(s))) {
        m_section = float(s);
    } else {
        m_section = kUnsetReal;
        btnOK->setEnabled(false);
    }
    if (IsUnset(m_section)) {
        PerimEdit->clear();
        m_perimeter = kUnsetReal;
        return;
    }
    const int shape = SFormButtons->checkedId() >= 0 ? SFormButtons->checkedId() : m_branch->Shape();
    m_perimeter = float(MineTables::ShapePerimeterFactor(shape) * std::sqrt(double(m_section)));
    PerimEdit->setText(TableText::FormatReal(m_perimeter, 1) + QStringLiteral(" м"));
}

void TPerimTypeForm::accept()
{
    if (IsUnset(m_section))
        return;
    // Runs from the OK button's click: a failure of the model is shown here and the dialog stays.
    const bool applied = RunGuarded([this] {
        m_branch->SetSection(m_section);
        if (SmoothButtons->checkedId() >= 0)
            m_branch->SetRoughness(quint8(SmoothButtons->checkedId()));
        if (SFormButtons->checkedId() >= 0)
            m_branch->SetShape(quint8(SFormButtons->checkedId()));
    });
    if (applied)
        QDialog::accept();
}
