// TMainForm: the Window menu's arrangements of the document windows and the Help menu (the
// manual, the regulations and the About box).
#include "app/TMainForm.h"

#include "app/TAboutBox.h"
#include "base/Help.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void TMainForm::execCascade()
{
    m_workspace->cascadeSubWindows();
}

void TMainForm::tileWindows(bool oneAboveTheOther)
{
    // Qt's own tiling makes a grid; these commands put the windows in one row or one column.
    const QList<QMdiSubWindow *> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    QList<QMdiSubWindow *> shown;
    for (QMdiSubWindow *w : windows)
        if (!w->isMinimized() && !w->isHidden())
            shown << w;
    if (shown.isEmpty())
        return;
    const QRect area = m_workspace->viewport()->rect();
    const int n = int(shown.size());
    const int h = oneAboveTheOther ? area.height() / n : area.height();
    const int w = oneAboveTheOther ? area.width() : area.width() / n;
    for (int i = 0; i < n; ++i) {
        shown[i]->showNormal();
        if (oneAboveTheOther)
            shown[i]->setGeometry(0, i * h, w, h);
        else
            shown[i]->setGeometry(i * w, 0, w, h);
    }
}

void TMainForm::execTileHor()
{
    tileWindows(true);
}

void TMainForm::execTileVert()
{
    tileWindows(false);
}

void TMainForm::execAlignIcons()
{
    // Minimised windows line up along the bottom edge of the workspace.
    const QRect area = m_workspace->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow *w : m_workspace->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        w->move(x, y - s.height() + 1);
        x += s.width();
    }
}

void TMainForm::execMinimizeAll()
{
    const QList<QMdiSubWindow *> windows = m_workspace->subWindowList(QMdiArea::CreationOrder);
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        (*it)->showMinimized();
}

void TMainForm::execHelpTopic()
{
    ShowHelpContents();
}

void TMainForm::execUstav()
{
    ::ShowRegulations(this);
}

void TMainForm::execHelpOnHelp()
{
    ::ShowHelpOnHelp(this);
}

void TMainForm::execAbout()
{
    TAboutBox box(this);
    box.exec();
}
