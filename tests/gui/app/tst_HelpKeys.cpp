// F1 in every window the commands open asks for that window's own topic. No pages lie beside
// the test program, so each request ends in the box that names the page it looked for.
#include "AppTestHooks.h"
#include "MineText.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "model/TMine.h"
#include "settings/TConfig.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QtTest>

class tst_HelpKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Config = new TConfig(false); }
    void cleanupTestCase()
    {
        delete Config;
        Config = nullptr;
    }
    void f1AsksForTheWindowsTopic_data();
    void f1AsksForTheWindowsTopic();
};

void tst_HelpKeys::f1AsksForTheWindowsTopic_data()
{
    QTest::addColumn<QString>("command");   // empty: the main window itself; "none": with no documents
    QTest::addColumn<bool>("modal");
    QTest::addColumn<int>("topic");
    QTest::newRow("main window") << QString() << false << 6;
    QTest::newRow("main window without documents") << "none" << false << 6;
    QTest::newRow("hanging and isolated") << "actCheckIsol" << false << 11;
    QTest::newRow("3D scheme") << "actGraph3D" << false << 9;
    QTest::newRow("incidence scheme") << "actIncidGraph" << false << 10;
    QTest::newRow("properties") << "actFileProp" << true << 12;
    QTest::newRow("print") << "actPrint" << true << 13;
    QTest::newRow("options") << "actSetup" << true << 18;
    QTest::newRow("transformation") << "actTransform" << true << 20;
    QTest::newRow("seams and plan positions") << "actEditLayers" << true << 22;
}

void tst_HelpKeys::f1AsksForTheWindowsTopic()
{
    QFETCH(QString, command);
    QFETCH(bool, modal);
    QFETCH(int, topic);
    AppTestHooks boxes;
    TMainForm main;
    main.show();
    TChildForm *child = nullptr;
    if (command != QLatin1String("none")) {
        child = main.CreateChild();
        minetext::Build(*child->Mine(), QStringLiteral("u 1 0 0 0; u 2 10 0 0; u 3 10 10 0; b 1 1 2 4; b 2 2 3 4"));
    }
    main.UpdateActions();
    QVERIFY(QTest::qWaitForWindowActive(&main));

    if (command.isEmpty() || command == QLatin1String("none")) {
        QTest::keyClick(&main, Qt::Key_F1);
    } else if (modal) {
        QTimer::singleShot(0, this, [] {
            QWidget *w = QApplication::activeModalWidget();
            if (!w)
                return;
            QApplication::setActiveWindow(w);   // as a click on the window would
            QTest::keyClick(w, Qt::Key_F1);
            w->close();
        });
        main.FindAction(command)->trigger();
    } else {
        main.FindAction(command)->trigger();
        QWidget *window = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != &main && w->isVisible() && !qobject_cast<QMenu *>(w))
                window = w;
        QVERIFY(window);
        QApplication::setActiveWindow(window);
        QCOMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(window, Qt::Key_F1);
        window->close();
    }
    const QString page = QStringLiteral("topic-%1.html").arg(topic);
    QVERIFY2(boxes.texts().size() == 1 && boxes.texts().first().contains(page), qPrintable(boxes.texts().join(u'|')));
    if (child)
        child->CloseWithoutQuestion();
}

QTEST_MAIN(tst_HelpKeys)
#include "tst_HelpKeys.moc"
