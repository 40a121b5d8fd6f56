#include "app/TAboutBox.h"

#include "app/ProgramIcon.h"
#include "base/Help.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef TARVEL_VERSION_MAJOR
#error "the project version comes from CMake"
#endif

QString TAboutBox::VersionText()
{
    return QStringLiteral("Версия %1.%2 (Сборка %1.%2.%3.%4)")
        .arg(TARVEL_VERSION_MAJOR)
        .arg(TARVEL_VERSION_MINOR)
        .arg(TARVEL_VERSION_PATCH)
        .arg(TARVEL_VERSION_TWEAK);
}

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("imgLogo"));
    m_logo->setPixmap(ProgramIcon().pixmap(LogoSize, LogoSize));
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->installEventFilter(this);

    auto *title = new QLabel(QStringLiteral("<b>Тарвел</b>"), this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    title->setFont(f);
    auto *description = new QLabel(
        QStringLiteral("Редактор топологии сети горных выработок шахты: узлы, ветви, перемычки, "
                       "люди, пласты и позиции плана ликвидации аварий; проверка топологии, "
                       "сопротивление выработок, трёхмерная и локальная схемы сети, печать таблиц."),
        this);
    description->setWordWrap(true);
    description->setMinimumWidth(320);
    auto *version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("lbVersion"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(description);
    text->addWidget(version);
    text->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addLayout(buttons);
    setSizeGripEnabled(false);
    InstallHelpKey(this, HelpPage);
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_logo && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
