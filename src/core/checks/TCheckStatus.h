#pragma once
// The status bar as the checks see it: the name of the running step, and its removal. The main
// window implements it with ShowStatusText / ClearStatusText.
#include <QString>

class TCheckStatus {
public:
    virtual ~TCheckStatus() = default;
    virtual void ShowStatusText(const QString &text) = 0;
    virtual void ClearStatusText() = 0;
};
