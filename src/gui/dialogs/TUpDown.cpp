#include "dialogs/TUpDown.h"

#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget *parent) : QWidget(parent)
{
    auto arrow = [this](Qt::ArrowType type) {
        auto *button = new QToolButton(this);
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(17, 11);
        return button;
    };
    UpButton = arrow(Qt::UpArrow);
    DownButton = arrow(Qt::DownArrow);
    connect(UpButton, &QToolButton::clicked, this, &TUpDown::Up);
    connect(DownButton, &QToolButton::clicked, this, &TUpDown::Down);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(UpButton);
    layout->addWidget(DownButton);
}
