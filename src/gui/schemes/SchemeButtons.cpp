#include "schemes/SchemeButtons.h"

#include <QPushButton>
#include <QVBoxLayout>

TSchemeButtons MakeSchemeButtons(QWidget *parent, QSize size)
{
    TSchemeButtons b;
    b.Column = new QVBoxLayout;
    b.Column->setSpacing(2);
    b.Help = new QPushButton(QStringLiteral("&Помощь"), parent);
    b.Refresh = new QPushButton(QStringLiteral("&Обновить"), parent);
    b.Refresh->setToolTip(QStringLiteral("Обновление графика (F5)"));
    b.Close = new QPushButton(QStringLiteral("&Закрыть"), parent);
    for (QPushButton *button : {b.Help, b.Refresh, b.Close}) {
        button->setFixedSize(size);
        b.Column->addWidget(button);
    }
    return b;
}
