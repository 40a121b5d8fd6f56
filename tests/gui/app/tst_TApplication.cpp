// The one error display of the program: whatever escapes a command or an event handler is shown
// in the error box, and the program goes on.
#include "AppTestHooks.h"
#include "AppError.h"
#include "app/TApplication.h"
#include "base/Guarded.h"

#include <QEvent>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

namespace {
class ThrowingObject : public QObject {
protected:
    void customEvent(QEvent *) override { throw AppError(QStringLiteral("Найдены ошибки топологии")); }
};
} // namespace

class tst_TApplication : public QObject {
    Q_OBJECT
private slots:
    void guardedWork_data();
    void guardedWork();
    void eventHandlerErrorShownAndLoopGoesOn();
    void questionsCarryTheTitle();
    void captionsGetNothingAppended();
    void boxesShowPlainText();
    void programIconIsDrawn();
};

void tst_TApplication::guardedWork_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << 0 << QString();
    QTest::newRow("application error") << 1 << QStringLiteral("Узел №5 имеет инцидентные ветви");
    QTest::newRow("standard exception") << 2 << QStringLiteral("plain failure");
    QTest::newRow("anything else") << 3 << QStringLiteral("Неизвестная ошибка");
}

void tst_TApplication::guardedWork()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    AppTestHooks hooks;
    int applied = 0;
    const bool ok = RunGuarded([&] {
        ++applied; // what was applied before the error stays
        if (kind == 1)
            throw AppError(message);
        if (kind == 2)
            throw std::runtime_error("plain failure");
        if (kind == 3)
            throw 42;
        ++applied;
    });
    QCOMPARE(ok, kind == 0);
    QCOMPARE(applied, kind == 0 ? 2 : 1);
    if (kind == 0) {
        QVERIFY(hooks.boxes.isEmpty());
        return;
    }
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().icon, QMessageBox::Critical);
    QCOMPARE(hooks.boxes.first().text, message);
    QCOMPARE(hooks.boxes.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(hooks.boxes.first().caption, QStringLiteral("Тарвел"));
}

void tst_TApplication::eventHandlerErrorShownAndLoopGoesOn()
{
    AppTestHooks hooks;
    ThrowingObject object;
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QStringLiteral("Найдены ошибки топологии"));
    // Only a last resort: the toolkit's own dispatch of input events is not exception-safe
    // (an exception out of a mouse handler leaks the event's data), so our handlers catch at
    // their own boundaries and nothing is thrown through one here.

    // The loop still runs.
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QTRY_VERIFY(ran);
}

void tst_TApplication::questionsCarryTheTitle()
{
    AppTestHooks hooks;
    hooks.answers.enqueue(QMessageBox::No);
    QCOMPARE(AppDialogs::AskQuestion(nullptr, QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes),
             QMessageBox::No);
    AppDialogs::AskQuestion(nullptr, QStringLiteral("?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                            QStringLiteral("Сохранение"));
    QCOMPARE(hooks.boxes.at(0).caption, QStringLiteral("Тарвел"));
    QCOMPARE(hooks.boxes.at(0).icon, QMessageBox::Question);
    QCOMPARE(hooks.boxes.at(1).caption, QStringLiteral("Сохранение"));
    // Unanswered, the default button stands.
    QCOMPARE(hooks.boxes.size(), 2);
}

void tst_TApplication::captionsGetNothingAppended()
{
    // The window system appends " — " and a display name set for the program to every caption
    // that does not end in it ("x.mdf — Тарвел"): none may be set. Without one, the display name
    // is the program's name, whatever that is.
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Тарвел"));
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    const QString display = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(QStringLiteral("Тарвел"));
    QCOMPARE(display, QStringLiteral("probe"));
}

// A file named "<h1 ...>" must not turn a question into a red heading; an absurdly long text
// is cut rather than laid out.
void tst_TApplication::boxesShowPlainText()
{
    const QString name = QStringLiteral("Сохранить изменения в файле <h1 style=\"color:red\">НЕ СОХРАНЯТЬ<h1>.mdf ?");
    for (const QString &text : {name, name + QString(100000, u'я')}) {
        Qt::TextFormat format = Qt::RichText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            shown = box->text();
            box->accept();
        });
        AppDialogs::ShowInformation(nullptr, text);
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(shown.startsWith(name));
        QVERIFY(shown.size() <= 4001);
    }
}

void tst_TApplication::programIconIsDrawn()
{
    // The icon is an SVG in the resources: without the resource or the SVG icon engine, the
    // windows would show none.
    const QImage image = QApplication::windowIcon().pixmap(32, 32).toImage();
    QVERIFY(!image.isNull());
    QVERIFY(image.pixelColor(16, 16).alpha() > 0);
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("tarvel"));
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    tst_TApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TApplication.moc"
