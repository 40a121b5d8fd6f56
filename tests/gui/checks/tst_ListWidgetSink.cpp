// The check writing into a list widget, as the document window's message list receives it.
#include "MineText.h"
#include "checks/TListWidgetSink.h"
#include "checks/TTopologyCheck.h"
#include "model/TMine.h"

#include <QListWidget>
#include <QtTest>

class tst_ListWidgetSink : public QObject {
    Q_OBJECT

private slots:
    void linesAndReferences();
    void firstLineSelectedAfterDeletions();
};

void tst_ListWidgetSink::linesAndReferences()
{
    QListWidget list;
    list.addItem(QStringLiteral("from an earlier check"));
    TListWidgetSink sink(&list);
    TMine mine;
    minetext::Build(mine, "u 1 0 0 0; u 2 0 0 0; b 1 1 9");
    TTopologyCheck check(mine, sink);
    check.CheckTopology();

    QCOMPARE(list.count(), 2);
    QCOMPARE(sink.MessageCount(), 2);
    QCOMPARE(list.item(0)->text(), QStringLiteral("Обнаружены ветви, ссылающиеся на несуществующие узлы: "));
    QVERIFY(!TListWidgetSink::InfoOf(list.item(0)));
    QCOMPARE(list.item(1)->text(), QStringLiteral("  - Ветвь № 1 ссылается на узел № 9"));
    const std::optional<TErrorInfo> info = TListWidgetSink::InfoOf(list.item(1));
    QVERIFY(info);
    QCOMPARE(int(info->Kind), 11);
    QCOMPARE(info->Index, 1);
    QVERIFY(!TListWidgetSink::InfoOf(nullptr));

    sink.ClearMessages();
    QCOMPARE(list.count(), 0);
}

void tst_ListWidgetSink::firstLineSelectedAfterDeletions()
{
    QListWidget list;
    TListWidgetSink sink(&list);
    TMine mine;
    minetext::Build(mine, "u - - - -; u 1 0 0 0; u 2 1 0 0; b 1 1 2");
    TTopologyCheck check(mine, sink);
    QVERIFY(check.CheckTopology().Passed);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.currentRow(), 0);
    QCOMPARE(list.item(0)->text(), QStringLiteral("Удалено пустых узлов: 1"));
}

QTEST_MAIN(tst_ListWidgetSink)
#include "tst_ListWidgetSink.moc"
