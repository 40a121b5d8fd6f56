// The five exchanges between the names and the comments of all branches.
#include "model/NameComment.h"
#include "model/TBranch.h"
#include "model/TMine.h"

#include <QtTest>

class tst_NameComment : public QObject {
    Q_OBJECT
private slots:
    void operations_data();
    void operations();
};

void tst_NameComment::operations_data()
{
    QTest::addColumn<QList<int>>("operations");
    QTest::addColumn<QString>("after");     // name|comment of each branch
    QTest::addColumn<bool>("modified");
    using N = NameComment::Operation;
    QTest::newRow("copy comments to names") << QList<int>{N::CopyCommentsToNames} << "C1|C1;|" << true;
    QTest::newRow("copy names to comments") << QList<int>{N::CopyNamesToComments} << "N1|N1;N2|N2" << true;
    QTest::newRow("move comments to names") << QList<int>{N::MoveCommentsToNames} << "C1|;|" << true;
    QTest::newRow("move names to comments") << QList<int>{N::MoveNamesToComments} << "|N1;|N2" << true;
    QTest::newRow("move names to comments twice")
        << QList<int>{N::MoveNamesToComments, N::MoveNamesToComments} << "|;|" << true;
    QTest::newRow("delete comments") << QList<int>{N::DeleteComments} << "N1|;N2|" << true;
    QTest::newRow("deleting no comments changes nothing")
        << QList<int>{N::DeleteComments, N::DeleteComments} << "N1|;N2|" << false;
    QTest::newRow("unknown operation") << QList<int>{5} << "N1|C1;N2|" << false;
}

void tst_NameComment::operations()
{
    QFETCH(QList<int>, operations);
    QFETCH(QString, after);
    QFETCH(bool, modified);
    TMine mine;
    mine.AddBranch(1, 1, 2, QStringLiteral("C1"), 1)->SetName(QStringLiteral("N1"));
    mine.AddBranch(2, 1, 2, QString(), 1)->SetName(QStringLiteral("N2"));
    for (int i = 0; i < operations.size(); ++i) {
        // Only the last application is watched for the modified mark.
        mine.SetModified(false);
        NameComment::Apply(mine, operations[i]);
    }
    QStringList state;
    for (const TBranch *b : mine.Branches())
        state << b->Name() + u'|' + b->Comment();
    QCOMPARE(state.join(u';'), after);
    QCOMPARE(mine.Modified(), modified);
}

QTEST_GUILESS_MAIN(tst_NameComment)
#include "tst_NameComment.moc"
