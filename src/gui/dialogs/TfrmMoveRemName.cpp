#include "dialogs/TfrmMoveRemName.h"

#include "model/TMine.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "model/NameComment.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmMoveRemName::TfrmMoveRemName(TMine *mine, QWidget *parent) : QDialog(parent), m_mine(mine)
{
    setObjectName(QStringLiteral("frmMoveRemName"));
    setWindowTitle(QStringLiteral("Названия и комментарии"));

    // By position, as NameComment numbers them.
    const char *const items[NameComment::OperationCount] = {
        "Скопировать комментарии в названия", "Скопировать названия в комментарии",
        "Перенести комментарии в названия", "Перенести названия в комментарии",
        "Удалить все комментарии",
    };
    auto *box = new QGroupBox(QStringLiteral(" Операция  "), this);
    auto *boxLayout = new QVBoxLayout(box);
    rgOperation = new QButtonGroup(this);
    for (int i = 0; i < NameComment::OperationCount; ++i) {
        auto *radio = new QRadioButton(QString::fromUtf8(items[i]), box);
        rgOperation->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    SetOperation(NameComment::CopyCommentsToNames);

    QHBoxLayout *buttons = OkCancelRow(this, QStringLiteral("&ОК"), btnOK, btnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    connect(btnOK, &QPushButton::clicked, this, [this] { RunGuarded([this] { apply(); }); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpPage);
}

bool TfrmMoveRemName::Execute(QWidget *parent, TMine *mine)
{
    TfrmMoveRemName form(mine, parent);
    return form.exec() == QDialog::Accepted;
}

int TfrmMoveRemName::Operation() const
{
    return rgOperation->checkedId();
}

void TfrmMoveRemName::SetOperation(int operation)
{
    if (QAbstractButton *b = rgOperation->button(operation))
        b->setChecked(true);
}

void TfrmMoveRemName::apply()
{
    if (m_mine) {
        TUserAction action(m_mine, QStringLiteral("Обмен названий и комментариев"));
        NameComment::Apply(*m_mine, Operation());
    }
    accept();
}
