// A document whose every text runs to millions of characters, in a real document window: each
// place that shows such a text (table cells and their editors, the group boxes, the check's
// messages) answers at once, and the stored texts stay whole.
#include "AppTestHooks.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "base/TGroupCombo.h"
#include "checks/TMessagePanel.h"
#include "editor/StoppingCells.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "settings/TConfig.h"
#include "TestConfig.h"
#include "MainFormFixture.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>
#include <memory>

class tst_HugeTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void placeAnswersAtOnce_data();
    void placeAnswersAtOnce();

private:
    TMine *mine() const { return m_child->Mine(); }
    TNetworkTables *tables() const { return m_child->Tables; }
    void settle() const
    {
        QApplication::processEvents();
        m_form->repaint();
        QApplication::processEvents();
    }

    std::unique_ptr<TMainForm> m_form;
    TChildForm *m_child = nullptr;
    QString m_huge;
};

void tst_HugeTexts::initTestCase()
{
    NewTestConfig();
    QVERIFY(ShowMainForm(m_form));
    m_child = m_form->CreateChild();
    QVERIFY(m_child);
    m_huge = QString(qEnvironmentVariableIntValue("HUGE_TEXT_CHARS") > 0 ? qEnvironmentVariableIntValue("HUGE_TEXT_CHARS") : 5'000'000, QChar(u'ж'));
    for (int i = 1; i <= 3; ++i)
        mine()->AddUzel(i, float(i), 0.0f, 0.0f);
    // Branches 1 and 2 share a number, so that the check lists both with their comments.
    for (int i = 1; i <= 2; ++i)
        mine()->AddBranch(1, i, i + 1, m_huge, 10.0f);
    auto *seam = new TLayer(mine());
    seam->SetName(m_huge);
    auto *plf = new TPLF(mine());
    plf->SetName(m_huge);
    TBranch *b = mine()->Branches().Items(1);
    b->SetName(m_huge);
    b->SetLayerIndex(0);
    b->SetPLFIndex(0);
    (new TJumper(b, 0.5))->SetCaption(m_huge);
    auto *person = new TPeopleInfo(b, 0.5);
    person->SetFullName(m_huge);
    person->SetJobTitle(m_huge);
    m_child->RefreshTables();
    settle();
}

void tst_HugeTexts::cleanupTestCase()
{
    AppTestHooks hooks;   // the closing asks about the unsaved document
    hooks.answers.enqueue(QMessageBox::No);
    m_form.reset();
    DropTestConfig();
}

void tst_HugeTexts::placeAnswersAtOnce_data()
{
    QTest::addColumn<int>("place");
    QTest::newRow("group boxes filled and drawn") << 0;
    QTest::newRow("seam box opened") << 1;
    QTest::newRow("comment cell edited") << 14;
    QTest::newRow("name cell edited") << 17;
    QTest::newRow("plan position cell") << 18;
    QTest::newRow("stopping caption edited") << 100 + StoppingColumns::Caption;
    QTest::newRow("person's name edited") << 200 + PeopleColumns::FullName;
    QTest::newRow("person's job edited") << 200 + PeopleColumns::JobTitle;
    QTest::newRow("check messages") << 300;
}

void tst_HugeTexts::placeAnswersAtOnce()
{
    QFETCH(int, place);
    AppTestHooks hooks;
    QElapsedTimer clock;
    clock.start();
    if (place == 0) {
        m_child->FillGroupCombos();
        settle();
    } else if (place == 1) {
        static_cast<QComboBox *>(m_form->cbLayers)->showPopup();
        settle();
        m_form->cbLayers->hidePopup();
    } else if (place < 100) {
        TNetworkGrid *grid = tables()->BranchGrid;
        grid->setFocus();
        grid->SetCurrentCell({.Row = 0, .Column = grid->TableModel()->ColumnOfKind(place)});
        settle();
        static_cast<QAbstractItemView *>(grid)->edit(grid->currentIndex());
        settle();
        if (grid->IsEditing())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        tables()->EditorEscape(grid);
        settle();
    } else if (place < 300) {
        TElementGrid *grid = place < 200 ? m_child->pnlJumpers->JumperGrid : m_child->pnlJumpers->PeopleGrid;
        m_child->pnlJumpers->setCurrentIndex(place < 200 ? 0 : 1);
        grid->SetCurrentCell({.Row = 1, .Column = place % 100});
        settle();
        static_cast<QAbstractItemView *>(grid)->edit(grid->currentIndex());
        settle();
        if (QLineEdit *editor = grid->Editor())
            QTest::keyClicks(editor, QStringLiteral("x"));
        grid->CloseEditor();
        settle();
    } else {
        QVERIFY(!m_child->CheckTopology(false));
        settle();
        QVERIFY(m_child->pnlMessages->MessageCount() > 0);
        hooks.boxes.clear();   // the check's own word
    }
    const qint64 elapsed = clock.elapsed();
    // An edit in place is refused with a word: the editor would cut the text.
    const bool edit = (place > 1 && place < 300 && place != 18);
    QCOMPARE(hooks.boxes.size(), edit ? 1 : 0);
    if (edit)
        QVERIFY(hooks.boxes.first().text.startsWith(QStringLiteral("Текст длиной %1 знаков нельзя править").arg(m_huge.size())));
    qInfo("%lld ms", elapsed);
    QVERIFY2(elapsed < 2000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));

    // Nothing was cut in the document.
    TBranch *b = mine()->Branches().Items(1);
    QCOMPARE(b->Comment().size(), m_huge.size());
    QCOMPARE(b->Name().size(), m_huge.size());
    QCOMPARE(b->Jumpers().Items(0)->Caption().size(), m_huge.size());
    QCOMPARE(b->People().Items(0)->FullName().size(), m_huge.size());
    QCOMPARE(b->People().Items(0)->JobTitle().size(), m_huge.size());
}

QTEST_MAIN(tst_HugeTexts)
#include "tst_HugeTexts.moc"
