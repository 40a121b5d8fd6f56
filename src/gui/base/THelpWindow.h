#pragma once
// The program's own help window: one per run, shared by every window that asks for help, so
// that the manual reads the same on any machine, with or without a web browser. It shows the
// HTML pages of the help folder (Help.h names them) with their links, back and forward, a way
// to the contents page and a search in the page shown. Its size is kept by the settings between
// runs (SetHelpWindowSizeStore in Help.h).
//
// The help is asked for from modal dialogs too. The window then becomes a transient of the
// dialog, which both keeps it above the dialog and lets it take input while the dialog is
// modal; it is never a child of the dialog, so closing the dialog does not take the help away.
#include <QPointer>
#include <QTextBrowser>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

// The browser of the help window. A page may name the help folder with the text "@HELPDIR@"
// (the regulations page says where to put them); it is shown as the real folder.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit THelpBrowser(QWidget *parent = nullptr);
    QVariant loadResource(int type, const QUrl &name) override;
};

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window, made on first use. It lives until the application ends.
    static THelpWindow *Instance();
    // The window if it was made, else none (tests, and closing the program).
    static THelpWindow *Existing();

    // Shows the page in path (a file that exists), above the window that asked for it.
    void ShowPage(const QString &path, QWidget *requester);
    // Finds text in the page from the cursor on (backward: before it), starting again at the
    // other end once; selects it and returns true, or returns false and says so.
    bool FindInPage(const QString &text, bool backward = false);

    THelpBrowser *Browser = nullptr;
    QToolButton *btnContents = nullptr;
    QToolButton *btnBack = nullptr;
    QToolButton *btnForward = nullptr;
    QLineEdit *edFind = nullptr;
    QToolButton *btnFindNext = nullptr;
    QLabel *lbFindResult = nullptr;

protected:
    void hideEvent(QHideEvent *event) override;

private:
    explicit THelpWindow(QWidget *parent = nullptr);
    void showContents();
    void pageChanged();

    static QPointer<THelpWindow> s_instance;
};
