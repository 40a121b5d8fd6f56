// The one error display of the program: whatever escapes a command or an event handler is shown
// in the error box, and the program goes on.
#include "AppTestHooks.h"
#include "AppError.h"
#include "app/TAboutBox.h"
#include "app/TApplication.h"
#include "base/Guarded.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
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
    void aboutBoxShowsTheProgramIcon();
    void fileDialogsSpeakRussian_data();
    void fileDialogsSpeakRussian();
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

void tst_TApplication::aboutBoxShowsTheProgramIcon()
{
    TAboutBox box;
    const auto *logo = box.findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo);
    const QImage shown = logo->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage icon = QApplication::windowIcon().pixmap(TAboutBox::LogoSize, TAboutBox::LogoSize).toImage()
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!icon.isNull());
    QCOMPARE(shown, icon);
}

// The toolkit's own texts, as the open, save and folder dialogs show them: every caption,
// button, tool tip, column and the type of a folder in Russian (the catalog's texts and the few
// it lacks). What the dialog shows of the files themselves is left out.
void tst_TApplication::fileDialogsSpeakRussian_data()
{
    QTest::addColumn<int>("kind");   // 0 open, 1 save, 2 folder
    QTest::newRow("open") << 0;
    QTest::newRow("save") << 1;
    QTest::newRow("folder") << 2;
}

void tst_TApplication::fileDialogsSpeakRussian()
{
    QFETCH(int, kind);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Шахты")));
    QFileDialog dialog(nullptr, QStringLiteral("Открытие файл"), dir.path(), QStringLiteral("Файлы данных (*.mdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(kind == 1 ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (kind == 2)
        dialog.setFileMode(QFileDialog::Directory);
    dialog.show();
    auto *model = dialog.findChild<QFileSystemModel *>();
    QVERIFY(model);
    const QString folder = dir.filePath(QStringLiteral("Шахты"));
    QTRY_VERIFY(model->index(folder).isValid() && !model->type(model->index(folder)).isEmpty());

    QStringList texts{model->type(model->index(folder))};
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        if (label->isVisible())
            texts << label->text();
    for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        if (button->isVisible())
            texts << button->text() << button->toolTip();
    static const QRegularExpression latinWord(QStringLiteral("[A-Za-z]{2,}"));
    QStringList english;
    for (const QString &text : std::as_const(texts))
        if (latinWord.match(QString(text).remove(u'&')).hasMatch())
            english << text;
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QStringLiteral(" | "))));
    QCOMPARE(model->type(model->index(folder)), QStringLiteral("Папка"));
    QVERIFY(texts.contains(QStringLiteral("Тип")));
}

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    tst_TApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TApplication.moc"
