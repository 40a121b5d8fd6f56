// F1 in every window the commands open asks for that window's own topic, or its own page. No pages lie beside
// the test program, so each request ends in the box that names the page it looked for.
#include "AppTestHooks.h"
#include "MineText.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "model/TMine.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class tst_HelpKeys : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { NewTestConfig(); }
    void cleanupTestCase()
    {
        DropTestConfig();
    }
    void f1AsksForTheWindowsTopic_data();
    void f1AsksForTheWindowsTopic();
};

void tst_HelpKeys::f1AsksForTheWindowsTopic_data()
{
    QTest::addColumn<QString>("command");   // empty: the main window itself; "none": with no documents
    QTest::addColumn<bool>("modal");
    QTest::addColumn<QString>("page");
    QTest::newRow("main window") << QString() << false << "topic-6.html";
    QTest::newRow("main window without documents") << "none" << false << "topic-6.html";
    QTest::newRow("hanging and isolated") << "actCheckIsol" << false << "topic-11.html";
    QTest::newRow("3D scheme") << "actGraph3D" << false << "topic-9.html";
    QTest::newRow("incidence scheme") << "actIncidGraph" << false << "topic-10.html";
    QTest::newRow("properties") << "actFileProp" << true << "topic-12.html";
    QTest::newRow("print") << "actPrint" << true << "topic-13.html";
    QTest::newRow("options") << "actSetup" << true << "topic-18.html";
    QTest::newRow("transformation") << "actTransform" << true << "topic-20.html";
    QTest::newRow("seams and plan positions") << "actEditLayers" << true << "topic-22.html";
    QTest::newRow("find") << "actFind" << true << "find.html";
    QTest::newRow("stopping list") << "actJumperList" << true << "stopping-list.html";
    QTest::newRow("names and comments") << "actMoveRemName" << true << "names.html";
    QTest::newRow("about") << "actAbout" << true << "about.html";
    QTest::newRow("import from DXF") << "actImportDxf" << true << "topic-41.html";
}

void tst_HelpKeys::f1AsksForTheWindowsTopic()
{
    QFETCH(QString, command);
    QFETCH(bool, modal);
    QFETCH(QString, page);
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
    // The import's dialog comes after the drawing it lists is read.
    QTemporaryDir dir;
    if (command == QLatin1String("actImportDxf")) {
        QFile drawing(dir.filePath(QStringLiteral("plan.dxf")));
        QVERIFY(drawing.open(QIODevice::WriteOnly));
        drawing.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n0\n0\nENDSEC\n0\nEOF\n");
        boxes.files << QStringList{drawing.fileName()};
    }

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
    QVERIFY2(boxes.texts().size() == 1 && boxes.texts().first().contains(u'/' + page), qPrintable(boxes.texts().join(u'|')));
    if (child)
        child->CloseWithoutQuestion();
}

QTEST_MAIN(tst_HelpKeys)
#include "tst_HelpKeys.moc"
