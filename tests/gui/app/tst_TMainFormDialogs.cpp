// The document dialogs run from the main window's commands: a transformation and a change of
// the properties show at once in the tables and the status bar, and a document with results asks
// before its coordinates change.
#include "AppTestHooks.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "dialogs/FilePropRules.h"
#include "dialogs/TFilePropForm.h"
#include "dialogs/TTransForm.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TNetworkTables.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs work on the dialog of type D once it is on screen.
template <class D>
void onDialog(std::function<void(D *)> work)
{
    QTimer::singleShot(0, [work] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        work(dialog);
    });
}

} // namespace

class tst_TMainFormDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        NewTestConfig();
    }
    void cleanupTestCase()
    {
        DropTestConfig();
    }

    void transformShowsAtOnce()
    {
        AppTestHooks hooks;
        hooks.answers << QMessageBox::Yes;   // agree to lose the results
        TMainForm form;
        form.show();
        TChildForm *child = form.CreateChild();
        for (int i = 1; i <= 3; ++i)
            child->Mine()->AddUzel(i, float(i), 0, 0);
        child->RefreshTables();
        child->Document().SetCalculated(true);
        child->Mine()->SetModified(false);
        form.UpdateActions();
        QVERIFY(form.actTransform->isEnabled());
        onDialog<TTransForm>([](TTransForm *d) {
            d->OffsetXEdit->setText(QStringLiteral("10"));
            d->btnOK->click();
        });
        form.actTransform->trigger();
        QCOMPARE(hooks.boxes.size(), 1);   // the results question
        QVERIFY(!child->Calculated());
        QCOMPARE(child->Mine()->Uzels().Items(3)->X(), 13.0f);
        QCOMPARE(form.StatusPanelText(3), QStringLiteral("Изменен"));
        const TNetworkTableModel *model = child->Tables->UzelGrid->TableModel();
        QCOMPARE(model->CellText(2, model->ColumnOfKind(1)), QStringLiteral("13.0"));
    }

    void propertiesShowAtOnce()
    {
        AppTestHooks hooks;
        TMainForm form;
        form.show();
        TChildForm *child = form.CreateChild();
        const int columns = child->Tables->UzelGrid->TableModel()->columnCount();
        onDialog<TFilePropForm>([](TFilePropForm *d) {
            d->edTitle->setText(QStringLiteral("Южная"));
            d->ColumnBox[FileProp::cbXY]->setChecked(false);
            d->btnOK->click();
        });
        form.actFileProp->trigger();
        QVERIFY(hooks.boxes.isEmpty());
        QCOMPARE(form.StatusPanelText(0), QStringLiteral("Шахта: \"Южная\""));
        QCOMPARE(form.StatusPanelText(3), QStringLiteral("Изменен"));
        QCOMPARE(child->Tables->UzelGrid->TableModel()->columnCount(), columns - 2);
    }
};

QTEST_MAIN(tst_TMainFormDialogs)
#include "tst_TMainFormDialogs.moc"
