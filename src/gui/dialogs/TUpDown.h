#pragma once
// A pair of arrow buttons, one above the other, that step a number in the field beside them.
// Holding a button repeats its step.
#include <QWidget>

class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    QToolButton *UpButton = nullptr;
    QToolButton *DownButton = nullptr;

signals:
    void Up();
    void Down();
};
