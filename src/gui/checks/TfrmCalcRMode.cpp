#include "checks/TfrmCalcRMode.h"

#include "base/Utils.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmCalcRMode::TfrmCalcRMode(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Сопротивление"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    rgSelect = new QGroupBox(this);
    rbAll = new QRadioButton(QStringLiteral("Для всех ветвей"), rgSelect);
    rbZero = new QRadioButton(QStringLiteral("Для ветвей с R=0"), rgSelect);
    rgButtons = new QButtonGroup(this);
    rgButtons->addButton(rbAll, 0);
    rgButtons->addButton(rbZero, 1);
    rbZero->setChecked(true);
    auto *groupLayout = new QVBoxLayout(rgSelect);
    groupLayout->addWidget(rbAll);
    groupLayout->addWidget(rbZero);

    const TDialogButtons dialogButtons = MakeDialogButtons(this, {QStringLiteral("ОК"), QStringLiteral("Отмена"), QString()});
    btnOK = dialogButtons.Ok;
    btnCancel = dialogButtons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(rgSelect);
    layout->addLayout(DialogButtonLayout(dialogButtons));
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
}

int TfrmCalcRMode::Choice() const
{
    return result() == QDialog::Accepted ? rgButtons->checkedId() : -1;
}

int TfrmCalcRMode::Execute(QWidget *parent)
{
    TfrmCalcRMode dialog(parent);
    dialog.exec();
    return dialog.Choice();
}

void TfrmCalcRMode::showEvent(QShowEvent *event)
{
    // Centred on the screen, not on the main window.
    if (QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}
