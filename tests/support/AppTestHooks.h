#pragma once
// Answers the application's boxes and file dialogs in tests without anything modal appearing:
// while an AppTestHooks lives, every box is recorded and answered from a queue (the box's
// default answer when the queue is empty), and every file dialog returns the next queued list
// of paths (empty = cancelled).
#include "base/AppDialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

class AppTestHooks {
public:
    AppTestHooks()
    {
        AppDialogs::SetMessageHook([this](const AppDialogs::MessageRequest &r) {
            boxes.append(r);
            if (onBox)
                onBox(r);
            if (!answers.isEmpty())
                return answers.dequeue();
            if (r.defaultButton != QMessageBox::NoButton)
                return r.defaultButton;
            return QMessageBox::Ok;
        });
        AppDialogs::SetFileDialogHook([this](const AppDialogs::FileDialogRequest &r) {
            fileDialogs.append(r);
            return files.isEmpty() ? QStringList() : files.dequeue();
        });
    }
    ~AppTestHooks()
    {
        AppDialogs::SetMessageHook({});
        AppDialogs::SetFileDialogHook({});
    }
    AppTestHooks(const AppTestHooks &) = delete;
    AppTestHooks &operator=(const AppTestHooks &) = delete;

    QList<AppDialogs::MessageRequest> errors() const
    {
        QList<AppDialogs::MessageRequest> list;
        for (const auto &b : boxes)
            if (b.icon == QMessageBox::Critical)
                list << b;
        return list;
    }

    // The texts of every box shown so far, in order.
    QStringList texts() const
    {
        QStringList list;
        for (const auto &b : boxes)
            list.append(b.text);
        return list;
    }

    QList<AppDialogs::MessageRequest> boxes;
    QList<AppDialogs::FileDialogRequest> fileDialogs;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QStringList> files;
    std::function<void(const AppDialogs::MessageRequest &)> onBox;
};
