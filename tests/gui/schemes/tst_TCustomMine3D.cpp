// The 3D scheme control: its layout, the bars and the wheel moving the view, the whole mine and
// the keys, the mouse picking, panning and information boxes, and its picture file with its
// size and type.
#include "AppTestHooks.h"
#include "FailedWrites.h"
#include "MineText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TCustomMine3D.h"
#include "schemes/TPictureSizeDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Runs work on the modal dialog of type D once it is on screen; a dialog that is not what the
// test expects is closed, so that a failing test does not wait for it.
template <class D>
void OnDialog(std::function<void(D *)> work)
{
    QTimer::singleShot(0, [work] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<D *>(modal);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(modal))
                other->reject();
            QFAIL("the expected dialog did not open");
        }
        work(dialog);
    });
}

// Branch 1 from node 1 to node 2 along X, branch 2 from node 2 up to node 3.
struct Shown {
    TMine mine;
    TMine3D control;
    QStringList events;

    Shown()
    {
        minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 100 0 0; u 3 100 0 60; b 1 1 2; b 2 2 3"));
        mine.SetTopologyValid(true);
        control.resize(500, 400);
        control.OnScale = [this](TCustomMine3D *, float &s) { events << QStringLiteral("scale %1").arg(s); };
        control.OnRotate = [this](TCustomMine3D *, float &a, float &g) {
            events << QStringLiteral("rotate %1 %2").arg(a).arg(g);
        };
        control.OnSelectUzel = [this](TMine *, int i, TUzel *) { events << QStringLiteral("uzel %1").arg(i); };
        control.OnSelectBranch = [this](TMine *, int i, TBranch *) { events << QStringLiteral("branch %1").arg(i); };
        control.SetMine(&mine);
        control.show();
        control.repaint();   // the fit factor comes from the last drawing
        events.clear();
    }
    QPoint At(qint32 uzel) const
    {
        const TUzel *n = mine.Uzels().Find(uzel);
        const double f = mine.FitFactor();
        return control.ScreenOrigin() + QPoint(TMine::Nearest(n->ProjX() * f), -TMine::Nearest(n->ProjY() * f));
    }
    QString Current() const
    {
        if (mine.SelKind() == 0)
            return QStringLiteral("u%1").arg(mine.CurUzel()->Number());
        return QStringLiteral("b%1").arg(mine.CurBranch()->Number());
    }
};

// The box of what is drawn on the black ground of a picture.
QRect NetworkIn(const QImage &picture)
{
    QRect box;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class tst_TCustomMine3D : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void layoutFollowsSize();
    void barsMoveTheView_data();
    void barsMoveTheView();
    void zBarEndsDrawTheSamePicture();
    void wheelStepsTheScaleBar();
    void mouse_data();
    void mouse();
    void panAndCentre();
    void wholeMine_data();
    void wholeMine();
    void barsAreTabStopsAndAnswerKeys();
    void rightClickOnEmptySpaceOpensMenu();
    void savesThePicture();
    void failedSaveKeepsTheOldPicture_data();
    void failedSaveKeepsTheOldPicture();
    void svgTypeWithoutExtensionWritesSvg();
};

void tst_TCustomMine3D::layoutFollowsSize()
{
    Shown s;
    QCOMPARE(s.control.ScaleBar->geometry(), QRect(8, 382, 85, 14));
    QCOMPARE(s.control.ZBar->geometry(), QRect(362, 382, 109, 14));
    QCOMPARE(s.control.XBar->geometry(), QRect(482, 242, 14, 109));
    QCOMPARE(s.control.WholeButton->geometry(), QRect(479, 359, 20, 20));
    QCOMPARE(s.control.CenterButton->geometry(), QRect(479, 379, 20, 20));
    QCOMPARE(s.control.DrawRect(), (TSchemeRect{6, 27, 474, 374}));
    QCOMPARE(s.control.ScreenOrigin(), QPoint(240, 200));
    s.control.resize(100, 100);
    QCOMPARE(s.control.size(), QSize(310, 170));
}

void tst_TCustomMine3D::barsMoveTheView_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("view");   // Scale AngleX AngleZ afterwards
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("box");    // the zoom box

    QTest::newRow("scale bar to its end") << "scale" << 200 << "20 0 0" << "scale 20" << "20.0";
    QTest::newRow("scale bar past its end") << "scale" << 500 << "20 0 0" << "scale 20" << "20.0";
    // The box shows the zoom as it is, also above 10 where two digits would round it.
    QTest::newRow("scale bar at 155") << "scale" << 155 << "15.5 0 0" << "scale 15.5" << "15.5";
    QTest::newRow("X bar") << "x" << -45 << "1 -45 0" << "rotate -45 0" << "1.0";
    QTest::newRow("Z bar") << "z" << 180 << "1 0 180" << "rotate 0 180" << "1.0";
}

void tst_TCustomMine3D::barsMoveTheView()
{
    QFETCH(QString, bar);
    QFETCH(int, value);
    QFETCH(QString, view);
    QFETCH(QString, event);
    QFETCH(QString, box);
    Shown s;
    QScrollBar *b = bar == QLatin1String("scale") ? s.control.ScaleBar : bar == QLatin1String("x") ? s.control.XBar
                                                                                                 : s.control.ZBar;
    b->setValue(value);
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(s.mine.Scale()).arg(s.mine.AngleX()).arg(s.mine.AngleZ()), view);
    QCOMPARE(s.events, QStringList{event});
    QCOMPARE(TCustomMine3D::ZoomText(s.mine.Scale()), box);
}

void tst_TCustomMine3D::zBarEndsDrawTheSamePicture()
{
    Shown s;
    s.control.XBar->setValue(30);
    s.control.ZBar->setValue(-180);
    const QImage a = s.control.grab().toImage();
    s.control.ZBar->setValue(180);
    QImage b = s.control.grab().toImage();
    // Only the Z box differs ("-180" and "180"): compare the picture itself.
    const QRect picture(6, 27, 468, 347);
    QCOMPARE(a.copy(picture), b.copy(picture));
    s.control.ZBar->setValue(90);
    QVERIFY(s.control.grab().toImage().copy(picture) != a.copy(picture));
}

void tst_TCustomMine3D::wheelStepsTheScaleBar()
{
    Shown s;
    auto turn = [&](int delta) {
        QWheelEvent e(QPointF(100, 100), s.control.mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&s.control, &e);
    };
    turn(120);
    QCOMPARE(s.control.ScaleBar->value(), 11);
    QCOMPARE(s.events, QStringList{"scale 1.1"});
    turn(60);   // half a notch waits for the other half
    QCOMPARE(s.control.ScaleBar->value(), 11);
    turn(60);
    turn(-360);
    QCOMPARE(s.control.ScaleBar->value(), 10);
    QCOMPARE(s.mine.Scale(), 1.0f);
}

void tst_TCustomMine3D::mouse_data()
{
    QTest::addColumn<QString>("where");   // node N, the middle of branch 1, empty space, outside
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("box");     // start of the information box, or none

    QTest::newRow("left on a node") << "u2" << int(Qt::LeftButton) << true << "u2" << "";
    QTest::newRow("right on a node: its box") << "u2" << int(Qt::RightButton) << true << "u2" << "Шахта: \"\"\r\n\r\nУзел №2";
    QTest::newRow("middle on a node goes on to its branch") << "u2" << int(Qt::MiddleButton) << true << "b1" << "";
    QTest::newRow("left on a branch") << "b1" << int(Qt::LeftButton) << true << "b1" << "";
    QTest::newRow("right on a branch: its box") << "b1" << int(Qt::RightButton) << true << "b1"
                                                << "Шахта \"\"\r\n\r\nВыработка №1";
    QTest::newRow("left on empty space") << "empty" << int(Qt::LeftButton) << true << "u3" << "";
    QTest::newRow("outside the drawing rectangle") << "outside" << int(Qt::LeftButton) << true << "u3" << "";
    QTest::newRow("topology not valid") << "u2" << int(Qt::LeftButton) << false << "u3" << "";
}

void tst_TCustomMine3D::mouse()
{
    QFETCH(QString, where);
    QFETCH(int, button);
    QFETCH(bool, valid);
    QFETCH(QString, current);
    QFETCH(QString, box);
    Shown s;
    s.mine.SelectUzel(s.mine.Uzels().Find(3));
    if (!valid)
        s.mine.SetTopologyValid(false);
    s.events.clear();
    QPoint at;
    if (where == QLatin1String("u2"))
        at = s.At(2);
    else if (where == QLatin1String("b1"))
        at = (s.At(1) + s.At(2)) / 2;
    else if (where == QLatin1String("empty"))
        at = s.At(1) + QPoint(0, -40);
    else
        at = QPoint(3, 3);
    AppTestHooks hooks;
    QTest::mouseClick(&s.control, Qt::MouseButton(button), {}, at);
    QCOMPARE(s.Current(), current);
    const QStringList boxes = hooks.texts();
    QCOMPARE(boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QVERIFY2(boxes[0].startsWith(box), qPrintable(boxes[0]));
        QCOMPARE(hooks.boxes[0].caption, QStringLiteral("Информация об узле"));
    }
    if (current != QLatin1String("u3"))
        QCOMPARE(s.events.last(), current.startsWith(u'u') ? QStringLiteral("uzel 2") : QStringLiteral("branch 1"));
}

void tst_TCustomMine3D::panAndCentre()
{
    Shown s;
    const QPoint origin = s.control.ScreenOrigin();
    const QPoint empty = s.At(1) + QPoint(0, -40);
    QTest::mousePress(&s.control, Qt::RightButton, {}, empty);
    QTest::mouseMove(&s.control, empty + QPoint(30, 20));
    QTest::mouseRelease(&s.control, Qt::RightButton, {}, empty + QPoint(30, 20));
    QCOMPARE(s.control.ScreenOrigin(), origin + QPoint(30, 20));
    QVERIFY(!s.control.PopupMenu->isVisible());
    QCOMPARE(s.mine.AngleX(), 0.0f);
    s.control.CenterButton->click();
    QCOMPARE(s.control.ScreenOrigin(), origin);
}

void tst_TCustomMine3D::wholeMine_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Home on the picture") << "home";
    QTest::newRow("the button") << "button";
    QTest::newRow("the menu") << "menu";
}

void tst_TCustomMine3D::wholeMine()
{
    QFETCH(QString, how);
    Shown s;
    s.control.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.control));
    // The first view turns about the middle of the network (X 0..100, Y 0, Z 0..60).
    QCOMPARE((QList<float>{s.control.RotationCenterX(), s.control.RotationCenterY(), s.control.RotationCenterZ()}),
             (QList<float>{50, 0, 30}));
    const QPoint middle = s.control.ScreenOrigin();
    // Picked, zoomed, turned and panned away.
    QTest::mouseClick(&s.control, Qt::LeftButton, {}, s.At(1));
    s.control.ScaleBar->setValue(50);
    s.control.XBar->setValue(30);
    s.control.SetScreenOrigin(middle + QPoint(70, -40));
    QCOMPARE(s.control.RotationCenterX(), 0.0f);
    s.events.clear();
    if (how == QLatin1String("home")) {
        s.control.setFocus();
        QTest::keyClick(&s.control, Qt::Key_Home);
    } else if (how == QLatin1String("button")) {
        s.control.WholeButton->click();
    } else {
        QCOMPARE(s.control.PopupMenu->actions().value(0), s.control.actWholeMine);
        s.control.actWholeMine->trigger();
    }
    QCOMPARE(s.mine.Scale(), 1.0f);
    QCOMPARE(s.control.ScaleBar->value(), 10);
    QCOMPARE(s.events, QStringList{"scale 1"});
    QCOMPARE(s.control.ScreenOrigin(), middle);
    QCOMPARE(s.control.RotationCenterX(), 50.0f);
    QCOMPARE(s.mine.AngleX(), 30.0f);   // the view keeps its angles
    // The current element stays what it was.
    QCOMPARE(s.Current(), QStringLiteral("u1"));
}

void tst_TCustomMine3D::barsAreTabStopsAndAnswerKeys()
{
    Shown s;
    s.control.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.control));
    s.control.setFocus();
    const QList<QScrollBar *> order{s.control.ZBar, s.control.XBar, s.control.ScaleBar};
    for (QScrollBar *bar : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), bar);
    }
    // A bar with the focus answers as a scroll bar does; Home is its start, not the whole mine.
    QScrollBar *z = s.control.ZBar;
    z->setFocus();
    QTest::keyClick(z, Qt::Key_Right);
    QCOMPARE(s.mine.AngleZ(), 1.0f);
    QTest::keyClick(z, Qt::Key_Left);
    QTest::keyClick(z, Qt::Key_Left);
    QCOMPARE(s.mine.AngleZ(), -1.0f);
    QTest::keyClick(z, Qt::Key_PageDown);
    QCOMPARE(s.mine.AngleZ(), 29.0f);
    QTest::keyClick(z, Qt::Key_PageUp);
    QCOMPARE(s.mine.AngleZ(), -1.0f);
    QTest::keyClick(z, Qt::Key_End);
    QCOMPARE(s.mine.AngleZ(), 180.0f);
    QTest::keyClick(z, Qt::Key_Home);
    QCOMPARE(s.mine.AngleZ(), -180.0f);
    s.control.ScaleBar->setFocus();
    QTest::keyClick(s.control.ScaleBar, Qt::Key_PageDown);
    QCOMPARE(s.mine.Scale(), 3.0f);
    QTest::keyClick(s.control.ScaleBar, Qt::Key_Home);
    QCOMPARE(s.mine.Scale(), 1.0f);
    s.control.XBar->setFocus();
    QTest::keyClick(s.control.XBar, Qt::Key_Down);
    QCOMPARE(s.mine.AngleX(), 1.0f);
    QTest::keyClick(s.control.XBar, Qt::Key_PageUp);
    QCOMPARE(s.mine.AngleX(), -29.0f);
}

void tst_TCustomMine3D::rightClickOnEmptySpaceOpensMenu()
{
    Shown s;
    QTest::mouseClick(&s.control, Qt::RightButton, {}, s.At(1) + QPoint(0, -40));
    QVERIFY(s.control.PopupMenu->isVisible());
    QStringList texts;
    for (const QAction *a : s.control.PopupMenu->actions())
        texts << a->text();
    QCOMPARE(texts, (QStringList{"Вся шахта", "", "Сохранить схему как..."}));
    QCOMPARE(s.control.actWholeMine->shortcut(), QKeySequence(Qt::Key_Home));
    s.control.PopupMenu->close();
}

void tst_TCustomMine3D::savesThePicture()
{
    Shown s;
    QTemporaryDir dir;
    AppTestHooks hooks;
    hooks.files.enqueue({dir.filePath(QStringLiteral("scheme"))});   // no extension: PNG
    // The size proposed at first is 1920 x 1200; "Как в окне" gives the window's.
    OnDialog<TPictureSizeDialog>([](TPictureSizeDialog *d) {
        QCOMPARE(d->PictureSize(), QSize(1920, 1200));
        d->btnWindowSize->click();
        d->btnOK->click();
    });
    s.control.SavePictureAs();
    QCOMPARE(hooks.errors().size(), 0);
    // The dialog opens in a folder that exists (else it takes the folder's name for the file's)
    // and, after a save, in the folder of the last picture; the name has no extension of its own.
    QVERIFY(QFileInfo(hooks.fileDialogs.value(0).directory).isDir());
    QCOMPARE(hooks.fileDialogs.value(0).fileName, QStringLiteral("Топологическая схема"));
    const QImage saved(dir.filePath(QStringLiteral("scheme.png")));
    QCOMPARE(saved.size(), QSize(468, 347));
    // At the window's size the picture is what the control shows inside its drawing rectangle.
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), s.control.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(6, 27, 468, 347));

    // The size chosen last is proposed next; a larger picture shows the same view, larger.
    hooks.files.enqueue({dir.filePath(QStringLiteral("large.png"))});
    OnDialog<TPictureSizeDialog>([](TPictureSizeDialog *d) {
        QCOMPARE(d->PictureSize(), QSize(468, 347));
        d->edWidth->setValue(936);
        d->edHeight->setValue(694);
        d->btnOK->click();
    });
    s.control.SavePictureAs();
    QCOMPARE(hooks.fileDialogs.value(1).directory, dir.path());
    const QImage large(dir.filePath(QStringLiteral("large.png")));
    QCOMPARE(large.size(), QSize(936, 694));
    // The network fills it as it fills the window's picture, twice as large.
    const QRect small = NetworkIn(saved), big = NetworkIn(large);
    QVERIFY2(big.width() >= 2 * small.width() - 20 && big.width() <= 2 * small.width() + 20,
             qPrintable(QStringLiteral("%1 against %2").arg(big.width()).arg(small.width())));
    QVERIFY(std::abs(big.left() - (936 - 1 - big.right())) <= 2);

    // Cancelling the size writes nothing.
    hooks.files.enqueue({dir.filePath(QStringLiteral("none.png"))});
    OnDialog<TPictureSizeDialog>([](TPictureSizeDialog *d) { d->btnCancel->click(); });
    s.control.SavePictureAs();
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("none.png"))));
}

void tst_TCustomMine3D::svgTypeWithoutExtensionWritesSvg()
{
    // The real file dialog: the user picks the SVG type and types a name without an extension.
    Shown s;
    QTemporaryDir dir;
    OnDialog<QFileDialog>([&dir](QFileDialog *d) {
        d->setDirectory(dir.path());
        auto *types = d->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        auto *name = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!types || !name) {
            d->reject();
            QFAIL("the file dialog has no type or name box");
        }
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);   // "Рисунок SVG (*.svg)"
        QCOMPARE(types->currentText(), QStringLiteral("Рисунок SVG (*.svg)"));
        name->setText(QStringLiteral("scheme"));
        OnDialog<TPictureSizeDialog>([](TPictureSizeDialog *size) {
            size->SetPictureSize(QSize(300, 200));
            size->btnOK->click();
        });
        QMetaObject::invokeMethod(d, "accept");
    });
    s.control.SavePictureAs();
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("scheme.png"))));
    QFile svg(dir.filePath(QStringLiteral("scheme.svg")));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("viewBox=\"0 0 300 200\""));
}

void tst_TCustomMine3D::failedSaveKeepsTheOldPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("PNG") << QStringLiteral("scheme.png");
    QTest::newRow("SVG") << QStringLiteral("scheme.svg");
}

void tst_TCustomMine3D::failedSaveKeepsTheOldPicture()
{
    QFETCH(QString, name);
    Shown s;
    QTemporaryDir dir;
    tooltest::WriteFile(dir.filePath(name), "old picture");
    AppTestHooks hooks;
    hooks.files.enqueue({dir.filePath(name)});
    OnDialog<TPictureSizeDialog>([](TPictureSizeDialog *d) { d->btnOK->click(); });
    {
        failedwrites::FileSizeLimit limit(64);   // the empty space of a picture packs well
        s.control.SavePictureAs();
    }
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QStringLiteral("Ошибка при записи в файл"));
    QCOMPARE(failedwrites::FilesIn(dir.path()), (QMap<QString, QByteArray>{{name, "old picture"}}));
}

QTEST_MAIN(tst_TCustomMine3D)
#include "tst_TCustomMine3D.moc"
