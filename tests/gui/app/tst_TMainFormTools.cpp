// The find and list tools opened from the main window on the active document: where a found
// element or a chosen stopping leads, the names exchange reaching the model, and the group
// boxes refilled after the seams editor, also when "<редактировать...>" opened it.
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "base/TGroupCombo.h"
#include "dialogs/TEditLayersForm.h"
#include "dialogs/TFindForm.h"
#include "dialogs/TfrmJumpers.h"
#include "dialogs/TfrmMoveRemName.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "schemes/TGraph3DForm.h"
#include "settings/TConfig.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

class tst_TMainFormTools : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { NewTestConfig(); }
    void cleanupTestCase()
    {
        m_form.reset();
        DropTestConfig();
    }
    void init();
    void cleanup() { m_form.reset(); }

    void findLeadsToElement_data();
    void findLeadsToElement();
    void stoppingListLeads_data();
    void stoppingListLeads();
    void namesExchange();
    void editorRefillsGroupBoxes();

private:
    // Runs work on the modal dialog of type D once it is up.
    template<typename D> void whenShown(std::function<void(D *)> work)
    {
        QTimer::singleShot(0, [work] {
            if (auto *d = qobject_cast<D *>(QApplication::activeModalWidget()))
                work(d);
        });
    }
    TMine *mine() const { return m_child->Mine(); }

    std::unique_ptr<TMainForm> m_form;
    TChildForm *m_child = nullptr;
};

void tst_TMainFormTools::init()
{
    QVERIFY(ShowMainForm(m_form));
    m_child = m_form->CreateChild();
    for (int i = 1; i <= 3; ++i)
        mine()->AddUzel(i, float(i), 0.0f, 0.0f);
    for (int i = 1; i <= 3; ++i)
        mine()->AddBranch(i, i, i % 3 + 1, QStringLiteral("Ком%1").arg(i), float(10 - i));
    m_child->RefreshTables();
    m_form->UpdateActions();
}

void tst_TMainFormTools::findLeadsToElement_data()
{
    QTest::addColumn<bool>("uzels");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("row");
    QTest::newRow("branch by comment") << false << "Комментарий" << 2 << 2;
    QTest::newRow("node by X") << true << "Коор. X" << 1 << 1;
}

void tst_TMainFormTools::findLeadsToElement()
{
    QFETCH(bool, uzels);
    QFETCH(QString, parameter);
    QFETCH(int, value);
    QFETCH(int, row);
    // Nodes are searched when the node table has the focus, branches from anywhere else.
    TNetworkGrid *grid = uzels ? m_child->Tables->UzelGrid : m_child->Tables->BranchGrid;
    QWidget *focused = uzels ? static_cast<QWidget *>(grid) : m_child->pnlJumpers->JumperGrid;
    focused->setFocus();
    QApplication::processEvents();
    bool shown = false;
    whenShown<TFindForm>([&](TFindForm *find) {
        shown = find->PageControl->isTabVisible(uzels ? 0 : 1);
        find->cbParams->setCurrentIndex(find->cbParams->findText(parameter));
        find->SelectValue(value);
        find->btnOK->click();
    });
    QCOMPARE(m_form->actFind->shortcut(), QKeySequence(Qt::Key_F3));
    QTest::keyClick(focused, Qt::Key_F3);
    QVERIFY(shown);
    QCOMPARE(grid->CurrentRow(), row);
    QCOMPARE(m_child->focusWidget(), grid);
}

void tst_TMainFormTools::stoppingListLeads_data()
{
    QTest::addColumn<bool>("scheme");
    QTest::newRow("to the tables' rows") << false;
    QTest::newRow("to the scheme") << true;
}

void tst_TMainFormTools::stoppingListLeads()
{
    QFETCH(bool, scheme);
    TBranch *b2 = mine()->Branches().Items(2);
    new TJumper(b2, 0.2);
    TJumper *second = new TJumper(b2, 0.6);
    new TJumper(mine()->Branches().Items(3), 0.5);
    whenShown<TfrmJumpers>([&](TfrmJumpers *list) {
        list->SelectRow(1);
        (scheme ? list->btnScheme : list->btnGo)->click();
    });
    m_form->actJumperList->trigger();
    if (scheme) {
        QVERIFY(m_form->Graph3DForm());
        QCOMPARE(mine()->CurJumper(), second);
        QCOMPARE(mine()->SelKind(), quint8(2));
    } else {
        QCOMPARE(m_child->Tables->BranchGrid->CurrentRow(), 1);
        QCOMPARE(m_child->pnlJumpers->JumperGrid->CurrentRow(), second->IndexInBranch() + 1);
    }
}

void tst_TMainFormTools::namesExchange()
{
    whenShown<TfrmMoveRemName>([](TfrmMoveRemName *d) {
        d->SetOperation(3);
        d->btnOK->click();
    });
    mine()->SetModified(false);
    m_form->actMoveRemName->trigger();
    QCOMPARE(mine()->Branches().Items(1)->Comment(), QString());
    QVERIFY(mine()->Modified());   // the comments went
}

void tst_TMainFormTools::editorRefillsGroupBoxes()
{
    (new TLayer(mine()))->SetName(QStringLiteral("Старый"));
    mine()->Branches().Items(1)->SetLayerIndex(0);
    m_child->FillGroupCombos();
    QCOMPARE(m_form->cbLayers->count(), 3);
    whenShown<TEditLayersForm>([](TEditLayersForm *editor) {
        editor->AskText = [](const QString &, const QString &, const QString &) {
            return QStringLiteral("Новый");
        };
        editor->btnAdd->click();
        editor->btnClose->click();
    });
    emit m_form->cbLayers->activated(m_form->cbLayers->count() - 1);
    QCOMPARE(m_form->cbLayers->count(), 4);
    QCOMPARE(m_form->cbLayers->itemText(2), QString("Новый"));
    QCOMPARE(m_form->cbLayers->currentIndex(), 1);   // the current branch's seam again
}

QTEST_MAIN(tst_TMainFormTools)
#include "tst_TMainFormTools.moc"
