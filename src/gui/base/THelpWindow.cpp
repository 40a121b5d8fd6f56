#include "base/THelpWindow.h"

#include "base/Help.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
const QSize kDefaultSize(760, 600);
}

QPointer<THelpWindow> THelpWindow::s_instance;

THelpBrowser::THelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setOpenExternalLinks(true);
}

QVariant THelpBrowser::loadResource(int type, const QUrl &name)
{
    QVariant resource = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::HtmlResource || resource.typeId() != QMetaType::QByteArray)
        return resource;
    QByteArray page = resource.toByteArray();
    if (page.contains("@HELPDIR@")) {
        QString folder = QDir::toNativeSeparators(HelpFolder());
        if (folder.size() > 1 && folder.endsWith(QDir::separator()))
            folder.chop(1);
        page.replace("@HELPDIR@", folder.toHtmlEscaped().toUtf8());
    }
    return page;
}

THelpWindow *THelpWindow::Instance()
{
    if (!s_instance)
        s_instance = new THelpWindow;
    return s_instance;
}

THelpWindow *THelpWindow::Existing()
{
    return s_instance;
}

THelpWindow::THelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Справка"));

    auto makeButton = [this](const char *name, const QString &text, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setToolTip(tip);
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return b;
    };
    btnContents = makeButton("btnContents", QStringLiteral("&Содержание"), QStringLiteral("Содержание справки"));
    btnBack = makeButton("btnBack", QStringLiteral("< &Назад"), QStringLiteral("Назад (Alt+Влево)"));
    btnForward = makeButton("btnForward", QStringLiteral("&Вперед >"), QStringLiteral("Вперед (Alt+Вправо)"));
    btnFindNext = makeButton("btnFindNext", QStringLiteral("Дал&ее"), QStringLiteral("Найти дальше (F3)"));
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setClearButtonEnabled(true);
    edFind->setPlaceholderText(QStringLiteral("текст на странице"));
    auto *findLabel = new QLabel(QStringLiteral("&Найти:"), this);
    findLabel->setBuddy(edFind);
    lbFindResult = new QLabel(this);
    lbFindResult->setObjectName(QStringLiteral("lbFindResult"));

    Browser = new THelpBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(btnContents);
    bar->addWidget(btnBack);
    bar->addWidget(btnForward);
    bar->addSpacing(16);
    bar->addWidget(findLabel);
    bar->addWidget(edFind, 1);
    bar->addWidget(btnFindNext);
    bar->addWidget(lbFindResult);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(Browser, 1);

    btnBack->setEnabled(false);
    btnForward->setEnabled(false);
    connect(Browser, &QTextBrowser::backwardAvailable, btnBack, &QWidget::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, btnForward, &QWidget::setEnabled);
    connect(btnBack, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(btnForward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(btnContents, &QToolButton::clicked, this, &THelpWindow::showContents);
    connect(Browser, &QTextBrowser::sourceChanged, this, &THelpWindow::pageChanged);
    connect(edFind, &QLineEdit::returnPressed, this, [this] { FindInPage(edFind->text()); });
    connect(edFind, &QLineEdit::textEdited, lbFindResult, &QLabel::clear);
    connect(btnFindNext, &QToolButton::clicked, this, [this] { FindInPage(edFind->text()); });

    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        edFind->setFocus();
        edFind->selectAll();
    });
    auto *next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { FindInPage(edFind->text()); });
    auto *previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, [this] { FindInPage(edFind->text(), true); });
    // Back and forward wherever the focus is, not only in the page.
    auto *back = new QShortcut(QKeySequence::Back, this);
    connect(back, &QShortcut::activated, Browser, &QTextBrowser::backward);
    auto *forward = new QShortcut(QKeySequence::Forward, this);
    connect(forward, &QShortcut::activated, Browser, &QTextBrowser::forward);
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    const QSize kept = HelpWindowSize();
    resize(kept.isValid() ? kept : kDefaultSize);
}

void THelpWindow::ShowPage(const QString &path, QWidget *requester)
{
    // Above the window that asked, and free to take input when that window is a modal dialog.
    QWidget *owner = requester ? requester->window() : QApplication::activeModalWidget();
    if (owner == this)
        owner = nullptr;
    const bool wasVisible = isVisible();
    winId(); // the native window must exist to be given a transient parent
    QWindow *ownerWindow = owner ? owner->windowHandle() : nullptr;
    if (windowHandle()->transientParent() != ownerWindow) {
        // A shown window takes its new place in the window stack only when shown again.
        if (wasVisible)
            hide();
        windowHandle()->setTransientParent(ownerWindow);
    }
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (Browser->source() == url)
        Browser->reload();
    else
        Browser->setSource(url);
    show();
    raise();
    activateWindow();
}

bool THelpWindow::FindInPage(const QString &text, bool backward)
{
    lbFindResult->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (Browser->find(text, flags))
        return true;
    // Not found from the cursor on: once more from the other end of the page.
    QTextCursor cursor = Browser->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    Browser->setTextCursor(cursor);
    if (Browser->find(text, flags))
        return true;
    lbFindResult->setText(QStringLiteral("Не найдено"));
    return false;
}

void THelpWindow::hideEvent(QHideEvent *event)
{
    KeepHelpWindowSize(size());
    QWidget::hideEvent(event);
}

void THelpWindow::showContents()
{
    const QString contents = HelpPagePath(QStringLiteral("Tarvelian"), 0);
    if (QFileInfo::exists(contents))
        Browser->setSource(QUrl::fromLocalFile(contents));
}

void THelpWindow::pageChanged()
{
    lbFindResult->clear();
    const QString title = Browser->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка") : QStringLiteral("Справка — ") + title);
}
