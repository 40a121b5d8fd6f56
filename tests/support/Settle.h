#pragma once
// Lets posted events and deferred deletions run, as they would before the user's next action.
#include <QCoreApplication>
#include <QEvent>

inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}
