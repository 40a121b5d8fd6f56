#pragma once
// The column of buttons at the right of both scheme windows: "Помощь", "Обновить" (F5, said in
// its tool tip) and "Закрыть", one size each, made children of parent in that order. The window
// connects them.
#include <QSize>

class QPushButton;
class QVBoxLayout;
class QWidget;

struct TSchemeButtons {
    QPushButton *Help = nullptr;
    QPushButton *Refresh = nullptr;
    QPushButton *Close = nullptr;
    QVBoxLayout *Column = nullptr;
};

TSchemeButtons MakeSchemeButtons(QWidget *parent, QSize size);
