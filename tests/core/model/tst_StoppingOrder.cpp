// The stopping list's order: branch by branch at first, then by any column, with the ties
// broken by branch number and position, and a sort that survives a value that is not a number.
#include "model/StoppingOrder.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"

#include <QtTest>
#include <cmath>
#include <limits>

class tst_StoppingOrder : public QObject {
    Q_OBJECT
private slots:
    void sortsByColumn_data();
    void sortsByColumn();
};

namespace {

// Branches 5, 3, 9 in list order; stoppings s1..s5 with designations chosen so that the file's
// byte order differs from the characters' order ("ё" is 0xB8 there, before "Б" 0xC1).
struct Fixture {
    TMine mine;
    QList<TJumper *> s;
    Fixture()
    {
        TBranch *b5 = mine.AddBranch(5, 1, 2, QString(), 1);
        TBranch *b3 = mine.AddBranch(3, 1, 2, QString(), 1);
        TBranch *b9 = mine.AddBranch(9, 1, 2, QString(), 1);
        const struct {
            TBranch *branch;
            double position;
            const char *caption;
        } rows[] = {{b5, 0.2, "а"}, {b5, 0.7, "Z"}, {b3, 0.7, "б"}, {b3, 0.1, "ё"}, {b9, 0.7, "Б"}};
        for (const auto &row : rows) {
            auto *j = new TJumper(row.branch, row.position);
            j->SetCaption(QString::fromUtf8(row.caption));
            s << j;
        }
        s[0]->SetMaterial(4);
        s[1]->SetVent(true);
        s[0]->SetThickness(0.1);
        s[4]->SetThickness(0.3);
        s[1]->SetBreakPressure(1);
        s[2]->SetBreakPressure(std::numeric_limits<double>::quiet_NaN());
        s[4]->SetOpening(2);
        s[3]->SetOpening(4);
    }
    QString Order(const std::vector<TJumper *> &list) const
    {
        QStringList names;
        for (TJumper *j : list)
            names << QStringLiteral("s%1").arg(s.indexOf(j) + 1);
        return names.join(u' ');
    }
};

} // namespace

void tst_StoppingOrder::sortsByColumn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("order");
    QTest::addColumn<bool>("blankCaptions");
    auto row = [](const char *name, int column, const char *order, bool blankCaptions = false) {
        QTest::newRow(name) << column << QString::fromLatin1(order) << blankCaptions;
    };
    row("unsorted: branches in list order", 0, "s1 s2 s4 s3 s5");
    row("branch, then position", 1, "s4 s3 s1 s2 s5");
    row("designation byte by byte", 2, "s2 s4 s5 s1 s3");
    row("equal designations: branch, then position", 2, "s4 s3 s1 s2 s5", true);
    row("material code", 3, "s4 s3 s2 s5 s1");
    row("vent: no before yes", 5, "s4 s3 s1 s5 s2");
    row("thickness", 6, "s4 s3 s2 s1 s5");
    row("same position: by branch number", 7, "s4 s1 s3 s2 s5");
    row("not a number last", 12, "s4 s1 s5 s2 s3");
    row("opening code", 14, "s3 s1 s2 s5 s4");
    row("past the last column", 15, "s1 s2 s4 s3 s5");
}

void tst_StoppingOrder::sortsByColumn()
{
    QFETCH(int, column);
    QFETCH(QString, order);
    QFETCH(bool, blankCaptions);
    Fixture f;
    if (blankCaptions)
        for (TJumper *j : f.s)
            j->SetCaption(QString());
    std::vector<TJumper *> list = StoppingOrder::AllStoppings(f.mine);
    StoppingOrder::Sort(list, column);
    QCOMPARE(f.Order(list), order);
}

QTEST_GUILESS_MAIN(tst_StoppingOrder)
#include "tst_StoppingOrder.moc"
