#pragma once
// The main window as the window tests start from: made, shown (at size, when given) and
// active, as the user's is before the first command. QVERIFY(ShowMainForm(m_form)).
#include "app/TMainForm.h"

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
