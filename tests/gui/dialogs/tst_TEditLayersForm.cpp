// The seams and plan positions editor: the name rules (blank, taken in any letter case, a
// rename that keeps the name), deleting a seam that branches use, the buttons following the
// selection, and the colour.
#include "AppTestHooks.h"
#include "dialogs/TEditLayersForm.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

class tst_TEditLayersForm : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void deleteSeamUsedByBranches();
    void buttonsAndPages();
    void colour();
};

namespace {

struct Mine {
    TMine mine;
    Mine()
    {
        (new TLayer(&mine))->SetName(QStringLiteral("Пласт k5"));
        (new TLayer(&mine))->SetName(QStringLiteral("Мощный"));
        (new TPLF(&mine))->SetName(QStringLiteral("П-1"));
        mine.SetModified(false);
    }
    QStringList Names(const TLayerList &groups) const
    {
        QStringList names;
        for (const TLayer *g : groups)
            names << g->Name();
        return names;
    }
};

QStringList Items(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

void tst_TEditLayersForm::names_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("renameRow");   // -1: add
    QTest::addColumn<QString>("answer");  // "<cancel>": the box is cancelled
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("selected");
    const QStringList seams{"Пласт k5", "Мощный"};
    const QString taken = "Пласт с таким названием уже существует";
    QTest::newRow("add, trimmed") << 0 << -1 << "  Тонкий " << QStringList{"Пласт k5", "Мощный", "Тонкий"} << "" << 2;
    QTest::newRow("add blank: nothing") << 0 << -1 << "   " << seams << "" << -1;
    QTest::newRow("add cancelled: nothing") << 0 << -1 << "<cancel>" << seams << "" << -1;
    QTest::newRow("add taken, other case") << 0 << -1 << "пласт K5" << seams << taken << 0;
    QTest::newRow("rename") << 0 << 1 << "Средний" << QStringList{"Пласт k5", "Средний"} << "" << 1;
    QTest::newRow("rename to another's, other case") << 0 << 1 << "пласт K5" << seams << taken << 0;
    QTest::newRow("rename only in letter case") << 0 << 0 << "ПЛАСТ K5" << seams << taken << 0;
    QTest::newRow("rename cancelled") << 0 << 1 << "<cancel>" << seams << taken << 1;
    QTest::newRow("plan position taken") << 1 << -1 << "п-1" << QStringList{"П-1"}
                                         << "Позиция с таким номером уже существует" << 0;
}

void tst_TEditLayersForm::names()
{
    QFETCH(int, page);
    QFETCH(int, renameRow);
    QFETCH(QString, answer);
    QFETCH(QStringList, names);
    QFETCH(QString, message);
    QFETCH(int, selected);
    AppTestHooks hooks;
    Mine m;
    TEditLayersForm form(&m.mine, page);
    QStringList asked;
    form.AskText = [&](const QString &caption, const QString &prompt, const QString &text) {
        asked << caption << prompt << text;
        return answer == "<cancel>" ? text : answer;
    };
    const QString proposed = renameRow >= 0 ? form.Groups().Items(renameRow)->Name() : QString();
    if (renameRow >= 0) {
        form.lbGroups->setCurrentRow(renameRow);
        form.btnRename->click();
    } else {
        form.btnAdd->click();
    }
    QCOMPARE(asked, (page == 0 ? QStringList{"Пласт", "Введите название пласта", proposed}
                               : QStringList{"Позиция ПЛА", "Введите номер позиции ПЛА", proposed}));
    QCOMPARE(m.Names(form.Groups()), names);
    QCOMPARE(Items(form.lbGroups), names);
    QCOMPARE(hooks.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(form.lbGroups->currentRow() >= 0 && form.lbGroups->currentItem()->isSelected()
                 ? form.lbGroups->currentRow() : -1,
             selected);
}

void tst_TEditLayersForm::deleteSeamUsedByBranches()
{
    AppTestHooks hooks;
    Mine m;
    (new TLayer(&m.mine))->SetName(QStringLiteral("Третий"));
    QList<TBranch *> branches;
    for (int i = 0; i < 3; ++i) {
        branches << m.mine.AddBranch(i + 1, 1, 2, QString(), 1);
        branches.last()->SetLayerIndex(i);
    }
    m.mine.SetModified(false);
    TEditLayersForm form(&m.mine, TEditLayersForm::LayersPage);
    form.lbGroups->setCurrentRow(1);
    hooks.answers << QMessageBox::No;
    form.btnDelete->click();
    QCOMPARE(m.mine.Layers().Count(), 3);
    QVERIFY(!m.mine.Modified());
    form.btnDelete->click();   // the default answer: Yes
    QVERIFY(m.mine.Modified());   // else closing would not offer to save the deletion
    QCOMPARE(hooks.texts(), QStringList(2, "Удалить пласт \"Мощный\"?"));
    QCOMPARE(m.Names(m.mine.Layers()), (QStringList{"Пласт k5", "Третий"}));
    QCOMPARE(Items(form.lbGroups), (QStringList{"Пласт k5", "Третий"}));
    QCOMPARE(branches[0]->LayerIndex(), 0);
    QCOMPARE(branches[1]->LayerIndex(), -1);
    QCOMPARE(branches[2]->LayerIndex(), 1);
    QVERIFY(!form.btnDelete->isEnabled());
}

void tst_TEditLayersForm::buttonsAndPages()
{
    Mine m;
    TEditLayersForm form(&m.mine, TEditLayersForm::PLFsPage);
    form.show();
    QCOMPARE(form.windowTitle(), QString("Пласты и позиции ПЛА"));
    QCOMPARE(form.Pages->currentIndex(), 1);
    QCOMPARE(form.btnRename->text(), QString("&Номер"));
    QCOMPARE(Items(form.lbGroups), QStringList{"П-1"});
    QVERIFY(!form.btnRename->isEnabled() && !form.btnDelete->isEnabled() && !form.lbColor->isEnabled());
    QVERIFY(!form.btnColor->isVisible());
    form.lbGroups->setCurrentRow(0);
    QVERIFY(form.btnRename->isEnabled() && form.btnDelete->isEnabled() && form.lbColor->isEnabled());
    QVERIFY(form.btnColor->isVisible());
    form.Pages->setCurrentIndex(0);
    QCOMPARE(form.btnRename->text(), QString("&Имя"));
    QCOMPARE(Items(form.lbGroups), (QStringList{"Пласт k5", "Мощный"}));
    QVERIFY(!form.btnColor->isVisible());
    QVERIFY(form.btnClose->isDefault());
}

void tst_TEditLayersForm::colour()
{
    Mine m;
    TEditLayersForm form(&m.mine, TEditLayersForm::LayersPage);
    form.show();
    form.lbGroups->setCurrentRow(1);
    QList<quint32> offered;
    quint32 answer = 0;
    bool choose = false;
    form.PickColor = [&](const QPoint &, quint32 &color) {
        offered << color;
        color = answer;
        return choose;
    };
    form.btnColor->click();
    QVERIFY(!m.mine.Modified());
    choose = true;
    answer = 0x123456;
    form.btnColor->click();
    QCOMPARE(offered, (QList<quint32>{0xFFFFFF, 0xFFFFFF}));
    QCOMPARE(m.mine.Layers().Items(1)->Color(), quint32(0x123456));
    QVERIFY(m.mine.Modified());
}

QTEST_MAIN(tst_TEditLayersForm)
#include "tst_TEditLayersForm.moc"
