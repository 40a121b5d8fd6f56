#pragma once
// Answers the modal message boxes a test provokes: while alive it watches for the active modal
// QMessageBox, records its icon, caption and text, and presses the chosen button (or the box's
// escape/default button when it has no such button).
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QObject>
#include <QStringList>
#include <QTimer>

class MessageBoxCatcher : public QObject {
public:
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : m_answer(answer)
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answerBox(); });
        m_timer.start();
    }

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }

    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;

private:
    void answerBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts.append(box->text());
        captions.append(box->windowTitle());
        icons.append(box->icon());
        QAbstractButton *button = box->button(m_answer);
        if (!button)
            button = box->escapeButton();
        if (!button)
            button = box->defaultButton();
        if (button)
            button->click();
        else
            box->done(0);
    }

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
};
