#pragma once
// The main window as the window tests start from: made, shown (at size, when given) and
// active, as the user's is before the first command. QVERIFY(ShowMainForm(m_form)).
// The command tests that need no active window open it with OpenMainForm and close it with
// CloseMainForm, which lets the documents go without the save questions.
#include "Settle.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "model/TMine.h"

#include <QApplication>
#include <QTest>
#include <memory>

[[nodiscard]] inline bool ShowMainForm(std::unique_ptr<TMainForm> &form, QSize size = QSize())
{
    form = std::make_unique<TMainForm>();
    if (size.isValid())
        form->resize(size);
    form->show();
    QApplication::setActiveWindow(form.get());
    return QTest::qWaitForWindowActive(form.get());
}

inline void OpenMainForm(std::unique_ptr<TMainForm> &form)
{
    form = std::make_unique<TMainForm>();
    form->show();
    settle();
}

inline void CloseMainForm(std::unique_ptr<TMainForm> &form)
{
    if (form)
        for (TChildForm *c : form->Children())
            c->Mine()->SetModified(false);
    form.reset();
    settle();
}
