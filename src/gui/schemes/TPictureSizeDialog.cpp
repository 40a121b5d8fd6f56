#include "schemes/TPictureSizeDialog.h"

#include "base/Help.h"
#include "base/Utils.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 9;   // the scheme window's page, where saving the picture is told

QSpinBox *SideBox(QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(1, TPictureSizeDialog::kMaxSide);
    box->setSuffix(QStringLiteral(" точек"));
    box->setAccelerated(true);
    return box;
}

} // namespace

QSize TPictureSizeDialog::s_proposed(1920, 1200);

QSize TPictureSizeDialog::ProposedSize() { return s_proposed; }

TPictureSizeDialog::TPictureSizeDialog(QSize windowSize, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Размер рисунка"));
    edWidth = SideBox(this);
    edHeight = SideBox(this);
    btnWindowSize = new QPushButton(QStringLiteral("Как в окне (%1 × %2)").arg(windowSize.width()).arg(windowSize.height()), this);
    btnWindowSize->setAutoDefault(false);
    btnWindowSize->setEnabled(!windowSize.isEmpty());
    connect(btnWindowSize, &QPushButton::clicked, this, [this, windowSize] { SetPictureSize(windowSize); });

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Ширина:"), edWidth);
    form->addRow(QStringLiteral("&Высота:"), edHeight);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(btnWindowSize, 0, Qt::AlignLeft);
    layout->addLayout(OkCancelRow(this, QStringLiteral("OK"), btnOK, btnCancel));
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    SetPictureSize(s_proposed);
    setFixedSize(sizeHint());
}

QSize TPictureSizeDialog::PictureSize() const { return QSize(edWidth->value(), edHeight->value()); }

void TPictureSizeDialog::SetPictureSize(QSize size)
{
    edWidth->setValue(size.width());
    edHeight->setValue(size.height());
}

bool TPictureSizeDialog::Ask(QWidget *parent, QSize windowSize, QSize *size)
{
    TPictureSizeDialog dialog(windowSize, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *size = s_proposed = dialog.PictureSize();
    return true;
}
