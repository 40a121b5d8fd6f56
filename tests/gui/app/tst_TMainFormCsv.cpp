// The main window's exchange with other files: where the commands stand in the File menu, a new
// document window from two CSV files (none when a value is refused), the active document written
// as two files, asking before it replaces old ones, and the window comparing the document with a
// mine file, whose lines lead to the elements.
#include "AppTestHooks.h"
#include "MainFormFixture.h"
#include "FailedWrites.h"
#include "Settle.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "dialogs/TCompareForm.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"
#include "base/TGroupCombo.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTableModel.h"
#include "editor/TNetworkTables.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "TestConfig.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

} // namespace

class tst_TMainFormCsv : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { NewTestConfig(); }
    void cleanupTestCase()
    {
        m_form.reset();
        DropTestConfig();
    }
    void init() { OpenMainForm(m_form); }
    void cleanup() { CloseMainForm(m_form); }
    void fileMenuOrder();
    void failedExportKeepsBothFiles();
    void importOpensWindow();
    void refusedImportOpensNothing();
    void exportAsksBeforeReplacing();
    void compareWindowLeadsToElements();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TMainForm> m_form;
};

void tst_TMainFormCsv::fileMenuOrder()
{
    QMenu *file = m_form->menuBar()->actions().first()->menu();
    QStringList items;
    for (QAction *a : file->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, (QStringList{"&Новый", "&Открыть ...", "Последние с&еансы", "-", "&Сохранить", "Сохранить &как ...",
                                 "Со&хранить все", "&Закрыть", "-", "Импорт из CSV...", "Экспорт в CSV...",
                                 "Импорт из DXF...", "Экспорт в DXF...", "Сравнить с...", "-",
                                 "&Печать ...", "-", "Сво&йства ...", "-", "&Выход"}));
}

void tst_TMainFormCsv::importOpensWindow()
{
    AppTestHooks hooks;
    hooks.files << QStringList{writeFile(m_dir, "n.csv", "Number;X;Y;Z\n1;0;0;0\n2;10,5;0;0\n")}
                << QStringList{writeFile(m_dir, "b.csv", "Number;StartNumber;EndNumber;Section;LayerIndex\n1;1;2;12,5;1\n")};
    m_form->actImportCsv->trigger();
    settle();
    QVERIFY(hooks.errors().isEmpty());
    QCOMPARE(hooks.fileDialogs.size(), 2);
    QCOMPARE(hooks.fileDialogs[0].title, QStringLiteral("Импорт из CSV: узлы"));
    QCOMPARE(m_form->Children().size(), 1);
    TChildForm *child = m_form->ActiveChild();
    QCOMPARE(child->Mine()->Uzels().Count(), 2);
    QCOMPARE(child->Mine()->Uzels().Items(2)->X(), 10.5f);
    QCOMPARE(child->Mine()->Branches().Count(), 1);
    QVERIFY(child->Mine()->Modified());
    QVERIFY(!child->HasFile());
    QCOMPARE(m_form->StatusPanelText(1), QStringLiteral("Узлы: 2"));
    // Refreshed as a read file is: the tables' rows and the seam box on the branch's seam.
    QCOMPARE(child->Tables->BranchGrid->TableModel()->rowCount(), 1);
    QCOMPARE(child->Tables->UzelGrid->TableModel()->rowCount(), 2);
    QCOMPARE(m_form->cbLayers->count(), 4);   // with "<не определен>" and "<редактировать...>"
    QCOMPARE(m_form->cbLayers->currentText(), QStringLiteral("Пласт 2"));

    // The document and stopping files beside the branch file come along.
    writeFile(m_dir, "document.csv", "Name,Value\nTitle,Шахта 3\nLayer,Пласт k5\n");
    writeFile(m_dir, "stoppings.csv", "Branch,Position,Number\n1,0.25,П-1\n");
    hooks.files << QStringList{m_dir.filePath("n.csv")} << QStringList{m_dir.filePath("b.csv")};
    m_form->actImportCsv->trigger();
    settle();
    QVERIFY(hooks.errors().isEmpty());
    TMine *again = m_form->ActiveChild()->Mine();
    QCOMPARE(again->Title(), QStringLiteral("Шахта 3"));
    QCOMPARE(again->Layers().Items(0)->Name(), QStringLiteral("Пласт k5"));
    QCOMPARE(again->Jumpers().Count(), 1);
    QFile::remove(m_dir.filePath("document.csv"));
    QFile::remove(m_dir.filePath("stoppings.csv"));
}

void tst_TMainFormCsv::refusedImportOpensNothing()
{
    AppTestHooks hooks;
    const QString nodes = writeFile(m_dir, "bad.csv", "Number,X\n1,0\n2,abc\n");
    hooks.files << QStringList{nodes} << QStringList{writeFile(m_dir, "b2.csv", "Number,StartNumber,EndNumber\n")};
    m_form->actImportCsv->trigger();
    settle();
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, nodes + QStringLiteral(":3: column X: не число: \"abc\""));
    QVERIFY(m_form->Children().isEmpty());
    // Cancelling the second choice opens nothing either.
    hooks.files << QStringList{nodes};
    m_form->actImportCsv->trigger();
    settle();
    QVERIFY(m_form->Children().isEmpty());
}

void tst_TMainFormCsv::exportAsksBeforeReplacing()
{
    AppTestHooks hooks;
    m_form->actNew->trigger();
    settle();
    TMine *mine = m_form->ActiveChild()->Mine();
    mine->AddUzel(4, 1.5f, 2, 3);
    QTemporaryDir out;
    hooks.files << QStringList{out.path()};
    hooks.answers << QMessageBox::No;   // plain CSV
    m_form->actExportCsv->trigger();
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().buttonTexts.first().second, QStringLiteral("Для Excel (точка с запятой, десятичная запятая)"));
    // The Excel form is chosen where the user's language is Russian.
    QCOMPARE(hooks.boxes.first().defaultButton,
             QLocale().language() == QLocale::Russian ? QMessageBox::Yes : QMessageBox::No);
    const QByteArray plain = "\xEF\xBB\xBFNumber,X,Y,Z,Surface\n4,1.5,2,3,0\n";
    QCOMPARE(failedwrites::FilesIn(out.path()).value(QStringLiteral("nodes.csv")), plain);
    QCOMPARE(failedwrites::FilesIn(out.path()).size(), 5);

    mine->AddUzel(5, 0, 0, 0);
    hooks.files << QStringList{out.path()};
    hooks.answers << QMessageBox::No;
    m_form->actExportCsv->trigger();
    QCOMPARE(hooks.boxes.size(), 2);
    QVERIFY(hooks.boxes.last().text.contains(QStringLiteral("Заменить их?")));
    QCOMPARE(failedwrites::FilesIn(out.path()).value(QStringLiteral("nodes.csv")), plain);

    hooks.files << QStringList{out.path()};
    hooks.answers << QMessageBox::Yes << QMessageBox::Yes;   // replace, for Excel
    m_form->actExportCsv->trigger();
    QCOMPARE(failedwrites::FilesIn(out.path()).value(QStringLiteral("nodes.csv")),
             QByteArray("\xEF\xBB\xBFNumber;X;Y;Z;Surface\n4;1,5;2;3;0\n5;0;0;0;0\n"));
}

// The branches do not fit under the limit, the nodes do: an error box, and neither old file is
// replaced.
void tst_TMainFormCsv::failedExportKeepsBothFiles()
{
    AppTestHooks hooks;
    m_form->actNew->trigger();
    settle();
    TMine *mine = m_form->ActiveChild()->Mine();
    mine->AddUzel(1, 0, 0, 0);
    mine->AddUzel(2, 0, 0, 0);
    for (int i = 1; i <= 300; ++i)
        mine->AddBranch(i, 1, 2, QStringLiteral("выработка"), 9.5f);
    QTemporaryDir out;
    const QMap<QString, QByteArray> old{{QStringLiteral("nodes.csv"), "old nodes"},
                                        {QStringLiteral("branches.csv"), "old branches"}};
    failedwrites::PutFiles(out.path(), old);
    hooks.files << QStringList{out.path()};
    hooks.answers << QMessageBox::Yes << QMessageBox::No;
    {
        failedwrites::FileSizeLimit limit(4096);
        m_form->actExportCsv->trigger();
    }
    QCOMPARE(hooks.errors().size(), 1);
    QVERIFY2(hooks.errors().first().text.endsWith(QStringLiteral("branches.csv: Ошибка при записи в файл")),
             qPrintable(hooks.errors().first().text));
    QCOMPARE(failedwrites::FilesIn(out.path()), old);
}

// The document against a copy with a node moved and a stopping renamed: the window lists both,
// Enter on a line makes the element current, "Обновить" compares again after an edit.
void tst_TMainFormCsv::compareWindowLeadsToElements()
{
    AppTestHooks hooks;
    const QString sample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");
    m_form->OpenDocumentFile(sample);
    settle();
    TChildForm *child = m_form->ActiveChild();
    TMine *mine = child->Mine();
    int branchRow = 0;   // the last branch with a stopping
    for (int i = 1; i <= mine->Branches().Count(); ++i)
        if (mine->Branches().Items(i)->Jumpers().Count() > 0)
            branchRow = i;
    QVERIFY(branchRow > 1);
    TMineDocument copy;
    TMineFile::Load(copy, sample);
    copy.Mine()->Uzels().Items(3)->SetCoordinate(1, mine->Uzels().Items(3)->X() + 1);
    TBranch *copyBranch = copy.Mine()->Branches().Items(branchRow);
    copyBranch->Jumpers().Items(0)->SetCaption(QStringLiteral("новая"));
    const QString other = m_dir.filePath(QStringLiteral("other.mdf"));
    TMineFile::Save(copy, other);

    hooks.files << QStringList{other};
    m_form->actCompare->trigger();
    settle();
    QVERIFY(hooks.errors().isEmpty());
    auto *form = child->findChild<TCompareForm *>();
    QVERIFY(form && form->isVisible());
    QStringList titles;
    for (const TDiffItem &item : form->Diff().Items)
        titles << item.Title;
    const QString stopping = QStringLiteral("Ветвь %1, перемычка 1 «%2»")
                                 .arg(copyBranch->Number())
                                 .arg(mine->Branches().Items(branchRow)->Jumpers().Items(0)->Caption());
    QCOMPARE(titles, (QStringList{QStringLiteral("Узел %1").arg(mine->Uzels().Items(3)->Number()), stopping}));

    const auto enterOn = [&](int group) {
        QTreeWidgetItem *line = form->List->topLevelItem(group)->child(0);
        form->List->setFocus();
        form->List->setCurrentItem(line);
        QTest::keyClick(form->List, Qt::Key_Return);
        settle();
    };
    enterOn(0);
    QCOMPARE(child->Tables->UzelGrid->CurrentRow(), 2);
    enterOn(1);
    QCOMPARE(child->Tables->BranchGrid->CurrentRow(), branchRow - 1);
    QCOMPARE(child->pnlJumpers->currentIndex(), 0);
    QCOMPARE(child->pnlJumpers->JumperGrid->CurrentRow(), 1);

    mine->Uzels().Items(3)->SetCoordinate(1, copy.Mine()->Uzels().Items(3)->X());
    form->btnRefresh->click();
    settle();
    QCOMPARE(form->Diff().Items.size(), 1);
    QCOMPARE(form->List->topLevelItemCount(), 1);
    // The window is the document's: it goes with it.
    mine->SetModified(false);
    QPointer<TCompareForm> guard(form);
    m_form->actClose->trigger();
    settle();
    QVERIFY(guard.isNull());
}

QTEST_MAIN(tst_TMainFormCsv)
#include "tst_TMainFormCsv.moc"
