// The hanging-and-isolated-elements window against a stand-in document window.
#include "MineText.h"
#include "base/AppDialogs.h"
#include "checks/TIsolForm.h"
#include "checks/TIsolHost.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"

#include <QHeaderView>
#include <QPushButton>
#include <QtTest>
#include <memory>

namespace {

class FakeDocument : public QObject, public TIsolHost {
public:
    explicit FakeDocument(const QString &text) { minetext::Build(mine, text); }

    TMine *Mine() const override { return const_cast<TMine *>(&mine); }
    bool CheckTopology(bool keepPanel) override
    {
        ++checks;
        lastKeepPanel = keepPanel;
        TTopologyCheck check(mine, messages);
        return check.CheckTopology().Passed;
    }
    void ShowBranchRow(int index) override { shown << QStringLiteral("branch %1").arg(index); }
    void ShowUzelRow(int index) override { shown << QStringLiteral("uzel %1").arg(index); }
    QObject *HostObject() override { return this; }

    TMine mine;
    TMessageList messages;
    int checks = 0;
    bool lastKeepPanel = true;
    QStringList shown;
};

QStringList Column(const TIsolGrid *grid, int column)
{
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem *item = grid->item(r, column);
        out << (item ? item->text() : QString());
    }
    return out;
}

void DoubleClickRow(TIsolGrid *grid, int row)
{
    grid->setCurrentCell(row, 0);
    emit grid->cellDoubleClicked(row, 0);
}

const char *kNetwork = "u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; u 4 3 0 0; u 7 0 5 0; u 8 0 6 0; u 9 9 9 9;"
                       "b 1 1 2; b 2 2 3; b 3 3 1; b 4 7 8; b 5 4 1";

} // namespace

class tst_IsolForm : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsTheDeadEnds();
    void emptyListsShowOneEmptyRow();
    void failedCheckClosesTheWindow();
    void doubleClickLeadsToTheElement();
    void numberNoLongerThere_data();
    void numberNoLongerThere();
    void oneWindowRepointedAtTheActiveDocument();
    void closesWithItsDocument();
    void positionRememberedForTheRun();

private:
    QList<AppDialogs::MessageRequest> m_boxes;
};

void tst_IsolForm::init()
{
    m_boxes.clear();
    AppDialogs::SetMessageHook([this](const AppDialogs::MessageRequest &r) {
        m_boxes << r;
        return QMessageBox::Ok;
    });
}

void tst_IsolForm::cleanup()
{
    if (TIsolForm *form = TIsolForm::Instance())
        form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    AppDialogs::SetMessageHook({});
}

void tst_IsolForm::listsTheDeadEnds()
{
    FakeDocument doc(kNetwork);
    TIsolForm *form = TIsolForm::Open(&doc);
    QVERIFY(form);
    QVERIFY(form->isVisible());
    QCOMPARE(form->windowTitle(), QStringLiteral("Висячие и изолированные ветви"));
    QCOMPARE(doc.checks, 1);
    QCOMPARE(doc.lastKeepPanel, false);

    QCOMPARE(Column(form->Grid1, 0), QStringList{"5"});
    QCOMPARE(Column(form->Grid1, 1), QStringList{"4"});
    QCOMPARE(Column(form->Grid1, 2), QStringList{"1"});
    QCOMPARE(Column(form->Grid2, 0), QStringList{"4"});
    QCOMPARE(Column(form->Grid3, 0), QStringList{"9"});

    QCOMPARE(form->Grid1->horizontalHeaderItem(0)->text(), QStringLiteral("Ветвь"));
    QCOMPARE(form->Grid1->horizontalHeaderItem(1)->text(), QStringLiteral("Н. у."));
    QCOMPARE(form->Grid1->horizontalHeaderItem(2)->text(), QStringLiteral("К. у."));
    QCOMPARE(form->Grid3->horizontalHeaderItem(0)->text(), QStringLiteral("Узел"));
    QCOMPARE(form->Grid1->columnWidth(0), 35);
    QCOMPARE(form->Grid1->columnWidth(1), 34);
    QCOMPARE(form->Grid1->columnWidth(2), 33);
    QCOMPARE(form->Grid1->verticalHeader()->width(), 10);
    QCOMPARE(form->Grid1->rowHeight(0), 18);

    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QString shot = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR");
    if (!shot.isEmpty())
        form->grab().save(shot + "/isol_form.png");
}

void tst_IsolForm::emptyListsShowOneEmptyRow()
{
    FakeDocument doc("u 1 0 0 0; u 2 1 0 0; u 3 2 0 0; b 1 1 2; b 2 2 3; b 3 3 1");
    TIsolForm *form = TIsolForm::Open(&doc);
    QVERIFY(form);
    for (TIsolGrid *grid : {form->Grid1, form->Grid2, form->Grid3}) {
        QCOMPARE(grid->rowCount(), 1);
        QCOMPARE(Column(grid, 0), QStringList{QString()});
        DoubleClickRow(grid, 0);
    }
    QVERIFY(doc.shown.isEmpty());
    QVERIFY(m_boxes.isEmpty());
}

void tst_IsolForm::failedCheckClosesTheWindow()
{
    FakeDocument doc(kNetwork);
    QPointer<TIsolForm> form = TIsolForm::Open(&doc);
    QVERIFY(form);
    doc.mine.AddBranch(6, 1, 99, QString(), 4.0f);   // a reference to no node
    QTest::mouseClick(form->btnRefresh, Qt::LeftButton);
    QCOMPARE(doc.checks, 2);
    QVERIFY(!TIsolForm::Instance());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!form);
    // The findings stay with the document.
    QVERIFY(doc.messages.MessageCount() > 0);

    // Failing at once: the window never shows.
    FakeDocument broken("u 1 0 0 0; b 1 1 2");
    QVERIFY(!TIsolForm::Open(&broken));
    QVERIFY(!TIsolForm::Instance());
}

void tst_IsolForm::doubleClickLeadsToTheElement()
{
    FakeDocument doc(kNetwork);
    TIsolForm *form = TIsolForm::Open(&doc);
    QVERIFY(form);
    DoubleClickRow(form->Grid1, 0);
    DoubleClickRow(form->Grid2, 0);
    DoubleClickRow(form->Grid3, 0);
    QCOMPARE(doc.shown, (QStringList{"branch 5", "branch 4", "uzel 7"}));
    QVERIFY(m_boxes.isEmpty());
}

void tst_IsolForm::numberNoLongerThere_data()
{
    QTest::addColumn<int>("grid");
    QTest::addColumn<QString>("message");

    QTest::newRow("branch") << 2 << "Ветвь №4 не найдена.";
    QTest::newRow("node") << 3 << "Узел №9 не найден.";
}

void tst_IsolForm::numberNoLongerThere()
{
    QFETCH(int, grid);
    QFETCH(QString, message);

    FakeDocument doc(kNetwork);
    TIsolForm *form = TIsolForm::Open(&doc);
    QVERIFY(form);
    // Renumbered after the refresh.
    if (grid == 2)
        doc.mine.Branches().Items(4)->SetNumbers(1, 40);
    else
        doc.mine.Uzels().Items(7)->SetNumber(90);
    DoubleClickRow(grid == 2 ? form->Grid2 : form->Grid3, 0);
    QVERIFY(doc.shown.isEmpty());
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].text, message);
    QCOMPARE(m_boxes[0].icon, QMessageBox::Information);
}

void tst_IsolForm::oneWindowRepointedAtTheActiveDocument()
{
    FakeDocument first(kNetwork);
    FakeDocument second("u 1 0 0 0; u 2 1 0 0; b 8 1 2");
    TIsolForm *form = TIsolForm::Open(&first);
    QCOMPARE(TIsolForm::Open(&second), form);
    QCOMPARE(form->Host(), static_cast<TIsolHost *>(&second));
    QCOMPARE(Column(form->Grid2, 0), QStringList{"8"});
    QCOMPARE(Column(form->Grid1, 0), QStringList{QString()});
    QCOMPARE(second.checks, 1);
}

void tst_IsolForm::closesWithItsDocument()
{
    auto doc = std::make_unique<FakeDocument>(kNetwork);
    QPointer<TIsolForm> form = TIsolForm::Open(doc.get());
    QVERIFY(form);
    doc.reset();
    QVERIFY(!TIsolForm::Instance());
    QVERIFY(!form || !form->isVisible());
    if (form) {
        QVERIFY(!form->Host());
        DoubleClickRow(form->Grid1, 0);   // nothing to act on, and no crash
    }
}

void tst_IsolForm::positionRememberedForTheRun()
{
    FakeDocument doc(kNetwork);
    TIsolForm *form = TIsolForm::Open(&doc);
    QVERIFY(form);
    QCOMPARE(form->pos(), TIsolForm::RememberedPosition());
    form->move(420, 260);
    QTest::mouseClick(form->btnClose, Qt::LeftButton);
    QVERIFY(!TIsolForm::Instance());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form = TIsolForm::Open(&doc);
    QCOMPARE(form->pos(), QPoint(420, 260));
}

QTEST_MAIN(tst_IsolForm)
#include "tst_IsolForm.moc"
