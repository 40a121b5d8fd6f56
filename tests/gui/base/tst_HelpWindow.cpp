// The help window: a topic, the contents, links with back and forward, finding text, the box
// for a missing page, the regulations' stand-in page, the size kept between runs, and help
// asked for from a modal dialog.
#include "AppTestHooks.h"
#include "base/Help.h"
#include "base/THelpWindow.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

namespace {

void writePage(const QString &path, const QString &title, const QString &body)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("<html><head><title>%1</title></head><body>%2</body></html>").arg(title, body).toUtf8());
}

QString pageName(const THelpWindow *w)
{
    return w->Browser->source().fileName();
}

} // namespace

class tst_HelpWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void topicLinksBackForwardAndContents();
    void findInPage();
    void missingPageIsNamedInABox();
    void regulationsStandIn();
    void sizeIsKept();
    void helpFromAModalDialogTakesInput();
    void questionBoxStaysWhileItsHelpIsRead();

private:
    QTemporaryDir m_dir;
    QSize m_kept;
};

void tst_HelpWindow::initTestCase()
{
    const QString program = m_dir.filePath(QStringLiteral("Help/Tarvelian/"));
    QVERIFY(QDir().mkpath(program));
    writePage(program + QStringLiteral("index.html"), QStringLiteral("Содержание"),
              QStringLiteral("<a href=\"topic-6.html\">окно</a>"));
    writePage(program + QStringLiteral("topic-6.html"), QStringLiteral("Главное окно"),
              QStringLiteral("<p>Узлы и ветви. Ветви и узлы.</p><a href=\"topic-5.html#file\">меню</a>"));
    writePage(program + QStringLiteral("topic-5.html"), QStringLiteral("Меню"), QStringLiteral("<h2 id=\"file\">Файл</h2>"));
    writePage(program + QStringLiteral("ustav97.html"), QStringLiteral("Устав"),
              QStringLiteral("<p>Положите устав в @HELPDIR@/ustav97.</p>"));
    SetHelpDirSource([this] { return m_dir.filePath(QStringLiteral("Help")); });
    SetHelpWindowSizeStore([this] { return m_kept; }, [this](QSize s) { m_kept = s; });
}

void tst_HelpWindow::cleanup()
{
    delete THelpWindow::Existing();
}

void tst_HelpWindow::topicLinksBackForwardAndContents()
{
    ShowHelpTopic(nullptr, 6);
    THelpWindow *w = THelpWindow::Existing();
    QVERIFY(w && w->isVisible());
    QCOMPARE(pageName(w), QStringLiteral("topic-6.html"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Справка — Главное окно"));
    QVERIFY(!w->btnBack->isEnabled());

    w->Browser->setSource(QUrl(QStringLiteral("topic-5.html#file")));   // a link followed
    QCOMPARE(pageName(w), QStringLiteral("topic-5.html"));
    QVERIFY(w->btnBack->isEnabled());
    w->btnBack->click();
    QCOMPARE(pageName(w), QStringLiteral("topic-6.html"));
    QVERIFY(w->btnForward->isEnabled());
    w->btnForward->click();
    QCOMPARE(pageName(w), QStringLiteral("topic-5.html"));
    w->btnContents->click();
    QCOMPARE(pageName(w), QStringLiteral("index.html"));

    // Another request reuses the one window.
    ShowHelpContents(nullptr);
    QCOMPARE(THelpWindow::Existing(), w);
}

void tst_HelpWindow::findInPage()
{
    ShowHelpTopic(nullptr, 6);
    THelpWindow *w = THelpWindow::Existing();
    QVERIFY(w->FindInPage(QStringLiteral("ветви")));   // letter case aside, as a reader expects
    const int first = w->Browser->textCursor().selectionStart();
    QVERIFY(w->FindInPage(QStringLiteral("ветви")));
    QVERIFY(w->Browser->textCursor().selectionStart() > first);
    QVERIFY(w->FindInPage(QStringLiteral("ветви")));   // past the last one: from the top again
    QCOMPARE(w->Browser->textCursor().selectionStart(), first);
    QVERIFY(w->lbFindResult->text().isEmpty());
    QVERIFY(!w->FindInPage(QStringLiteral("перемычка")));
    QCOMPARE(w->lbFindResult->text(), QStringLiteral("Не найдено"));

    // Ctrl+F leads to the field, Enter finds.
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(w->edFind->hasFocus());
    w->edFind->setText(QStringLiteral("меню"));
    QTest::keyClick(w->edFind, Qt::Key_Return);
    QCOMPARE(w->Browser->textCursor().selectedText(), QStringLiteral("меню"));
}

void tst_HelpWindow::missingPageIsNamedInABox()
{
    AppTestHooks boxes;
    ShowHelpTopic(nullptr, 12);
    QCOMPARE(boxes.texts().size(), 1);
    QVERIFY(boxes.texts().first().startsWith(QStringLiteral("Файл справки не найден:")));
    QVERIFY(boxes.texts().first().contains(QStringLiteral("topic-12.html")));
    QVERIFY(!THelpWindow::Existing() || !THelpWindow::Existing()->isVisible());
}

void tst_HelpWindow::regulationsStandIn()
{
    // Not installed: the program's page says where they go, naming the real help folder.
    ShowRegulations(nullptr);
    THelpWindow *w = THelpWindow::Existing();
    QCOMPARE(pageName(w), QStringLiteral("ustav97.html"));
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(m_dir.filePath(QStringLiteral("Help"))));
    QVERIFY2(w->Browser->toPlainText().contains(folder + QStringLiteral("/ustav97")), qPrintable(w->Browser->toPlainText()));

    // Installed: their own first page.
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("Help/ustav97"))));
    writePage(m_dir.filePath(QStringLiteral("Help/ustav97/topic-1.html")), QStringLiteral("Устав ВГСЧ"), QString());
    ShowRegulations(nullptr);
    QCOMPARE(w->Browser->source().toLocalFile(), m_dir.filePath(QStringLiteral("Help/ustav97/topic-1.html")));
    QFile::remove(m_dir.filePath(QStringLiteral("Help/ustav97/topic-1.html")));
}

void tst_HelpWindow::sizeIsKept()
{
    m_kept = QSize(640, 480);
    ShowHelpTopic(nullptr, 6);
    THelpWindow *w = THelpWindow::Existing();
    QCOMPARE(w->size(), QSize(640, 480));
    w->resize(700, 520);
    w->close();
    QCOMPARE(m_kept, QSize(700, 520));
}

void tst_HelpWindow::helpFromAModalDialogTakesInput()
{
    auto *dialog = new QDialog;
    QString reached;
    QTimer::singleShot(0, dialog, [&] {
        ShowHelpTopic(dialog, 6);
        // A click in the help, as the window system delivers it, is not swallowed by the
        // modal dialog.
        THelpWindow *w = THelpWindow::Existing();
        const QPoint at = w->btnContents->mapTo(w, w->btnContents->rect().center());
        QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, at);
        reached = pageName(w);
        dialog->reject();
    });
    dialog->exec();
    QCOMPARE(reached, QStringLiteral("index.html"));
    // The dialog is gone; the help stays.
    delete dialog;
    QVERIFY(THelpWindow::Existing() && THelpWindow::Existing()->isVisible());
}

void tst_HelpWindow::questionBoxStaysWhileItsHelpIsRead()
{
    bool boxStayed = false;
    QString page;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        box->button(QMessageBox::Help)->click();
        boxStayed = box->isVisible();
        page = pageName(THelpWindow::Existing());
        box->button(QMessageBox::No)->click();
    });
    const auto answer = AppDialogs::AskQuestion(nullptr, QStringLiteral("Изменить?"), QMessageBox::Yes | QMessageBox::No,
                                                QMessageBox::Yes, QString(), 6);
    QCOMPARE(answer, QMessageBox::No);
    QVERIFY(boxStayed);
    QCOMPARE(page, QStringLiteral("topic-6.html"));
}

QTEST_MAIN(tst_HelpWindow)
#include "tst_HelpWindow.moc"
