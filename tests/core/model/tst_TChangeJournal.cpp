// The change journal: random sequences of user actions on a mine of 2,000 elements, undone
// and done again, must give back the file byte for byte; and the cases a user sees at once.
#include "MineGenerators.h"
#include "model/ColumnKinds.h"
#include "model/CoordinateTransform.h"
#include "model/NameComment.h"
#include "model/TBranch.h"
#include "model/TChangeJournal.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"
#include "AppError.h"
#include <QRandomGenerator>
#include <QtTest>
#include <memory>
#include <vector>

namespace {

enum Action {
    EditUzel, EditBranch, AddUzel, AddBranch, DeleteUzel, DeleteBranch, AddStopping, EditStopping,
    DeleteStopping, AddPerson, EditPerson, DeletePerson, Sort, Transform, DeleteEmpty, Seams,
    Properties, NamesComments, ActionCount
};

// A document with its journal on, every closed step kept in order.
struct Journaled {
    TMineDocument doc;
    TMine &mine = *doc.Mine();
    std::vector<std::unique_ptr<TChangeStep>> steps;
    int lost = 0;

    explicit Journaled(int seed)
    {
        minegen::RandomParams p;
        p.uzels = 800;
        p.branches = 1200;
        p.emptyRowPercent = 2;
        p.unsetEndPercent = 5;
        minegen::Random(mine, quint32(seed), p);
        for (int i = 0; i < 3; ++i) {
            (new TLayer(&mine))->SetName(QStringLiteral("Пласт %1").arg(i));
            (new TPLF(&mine))->SetName(QStringLiteral("Позиция %1").arg(i));
        }
        for (int i = 1; i <= mine.Branches().Count(); i += 7) {
            new TJumper(mine.Branches().Items(i), 0.5);
            new TPeopleInfo(mine.Branches().Items(i), 0.25);
            mine.Branches().Items(i)->SetLayerIndex(i % 3);
        }
        mine.Journal().OnStep = [this](std::unique_ptr<TChangeStep> s) { steps.push_back(std::move(s)); };
        mine.Journal().OnLost = [this] { ++lost; };
        mine.Journal().SetEnabled(true);
    }
    QByteArray Bytes() const { return TMdfWriter::Snapshot(doc); }
};

TBranch *AnyBranch(TMine &mine, QRandomGenerator &rng)
{
    const int n = mine.Branches().Count();
    return n ? mine.Branches().Items(int(rng.bounded(n)) + 1) : nullptr;
}

// One user action through the model's entry points the tables and dialogs call.
void Act(TMine &mine, Action a, QRandomGenerator &rng)
{
    const int uzels = mine.Uzels().Count();
    TBranch *branch = AnyBranch(mine, rng);
    auto real = [&rng] { return float(rng.bounded(100000)) / 8.0f; };
    TUserAction action(&mine, QStringLiteral("шаг"));
    switch (a) {
    case EditUzel:
        if (uzels) {
            const auto kind = TColumnKind(rng.bounded(ColumnKinds::kUzelCount));
            TUzel *u = mine.Uzels().Items(int(rng.bounded(uzels)) + 1);
            ColumnKinds::SetValue(kind, *u, kind == TColumnKind::UzelNumber ? TColumnValue(qint32(rng.bounded(900)))
                                                                            : TColumnValue(real()));
            if (rng.bounded(4) == 0)
                u->SetSurface(!u->Surface());
        }
        break;
    case EditBranch:
        if (branch) {
            static const TColumnKind kinds[] = {TColumnKind::BranchNumber, TColumnKind::StartNumber,
                TColumnKind::EndNumber, TColumnKind::Section, TColumnKind::VolumeFactor,
                TColumnKind::ExtraVolume, TColumnKind::Comment, TColumnKind::Resistance,
                TColumnKind::Name, TColumnKind::PLF};
            const TColumnKind kind = kinds[rng.bounded(int(std::size(kinds)))];
            TColumnValue v;
            switch (ColumnKinds::Row(kind).Type) {
            case TColumnType::Int: v = qint32(rng.bounded(kind == TColumnKind::PLF ? 3 : 900)); break;
            case TColumnType::Float: v = real(); break;
            case TColumnType::Double: v = double(real()) / 3; break;
            case TColumnType::Text: v = QStringLiteral("т%1").arg(rng.bounded(50)); break;
            }
            ColumnKinds::SetValue(kind, *branch, v);
            branch->SetShape(quint8(rng.bounded(4)));
        }
        break;
    case AddUzel: mine.AddUzel(kUnsetInt, kUnsetReal, kUnsetReal, kUnsetReal)->SetNumber(qint32(rng.bounded(900))); break;
    case AddBranch: mine.AddBranch(kUnsetInt, kUnsetInt, kUnsetInt, QString(), kUnsetReal)->SetSection(real()); break;
    case DeleteUzel:
        if (uzels) {
            try {
                mine.Uzels().Delete(int(rng.bounded(uzels)));
            } catch (const AppError &) {
                // refused: the node has branches
            }
        }
        break;
    case DeleteBranch:
        if (branch)
            mine.Branches().Delete(branch->ListPos());
        break;
    case AddStopping:
        if (branch) {
            auto *j = new TJumper(branch);
            j->SetPosition(0.5);
            j->SetCaption(QStringLiteral("П%1").arg(rng.bounded(99)));
        }
        break;
    case EditStopping:
        if (branch && branch->Jumpers().Count()) {
            TJumper *j = branch->Jumpers().Items(int(rng.bounded(branch->Jumpers().Count())));
            switch (rng.bounded(5)) {
            case 0: j->SetPosition(double(rng.bounded(11)) / 10); break;
            case 1: j->SetMeasurement(int(rng.bounded(2)) + 1, double(rng.bounded(60))); break;
            case 2: j->SetResistanceValue(int(rng.bounded(2)) + 1, double(real())); break;
            case 3: j->SetMaterial(quint8(rng.bounded(21))); j->SetVent(rng.bounded(2)); break;
            default: j->SetOpening(4); j->SetOpeningArea(double(rng.bounded(9))); j->SetCutIn(rng.bounded(2)); break;
            }
        }
        break;
    case DeleteStopping:
        if (branch && branch->Jumpers().Count())
            branch->Jumpers().Delete(int(rng.bounded(branch->Jumpers().Count())));
        break;
    case AddPerson:
        if (branch)
            (new TPeopleInfo(branch))->SetPosition(0.5);
        break;
    case EditPerson:
        if (branch && branch->People().Count()) {
            TPeopleInfo *p = branch->People().Items(int(rng.bounded(branch->People().Count())));
            p->SetPosition(double(rng.bounded(11)) / 10);
            p->SetFullName(QStringLiteral("Иванов %1").arg(rng.bounded(9)));
            p->SetTabNumber(qint32(rng.bounded(999)));
        }
        break;
    case DeletePerson:
        if (branch && branch->People().Count())
            branch->People().Delete(0);
        break;
    case Sort:
        if (rng.bounded(2))
            mine.Uzels().SortBy(int(rng.bounded(4)));
        else
            mine.Branches().SortBy(int(rng.bounded(ColumnKinds::kBranchCount)));
        break;
    case Transform:
        TNodeTransform::ShiftScale({1.5, 1, 0.5}, {10, -20, double(rng.bounded(100))}).ApplyToAll(mine);
        break;
    case DeleteEmpty:
        mine.DeleteEmptyUzels();
        mine.DeleteEmptyBranches();
        break;
    case Seams:
        switch (rng.bounded(4)) {
        case 0: (new TLayer(&mine))->SetName(QStringLiteral("новый")); break;
        case 1: mine.Layers().Delete(int(rng.bounded(std::max(1, mine.Layers().Count())))); break;
        case 2: mine.PLFs().Delete(0); break;
        default:
            if (branch)
                branch->SetLayerIndex(qint32(rng.bounded(mine.Layers().Count() + 1)) - 1);
            if (mine.Layers().Count())
                mine.Layers().Items(0)->SetColor(rng.bounded(0xFFFFFF));
            break;
        }
        break;
    case Properties:
        mine.SetTitle(QStringLiteral("Шахта %1").arg(rng.bounded(9)));
        mine.SetTemperature(qint32(rng.bounded(40)));
        mine.SetPressure(1.0f + float(rng.bounded(9)) / 100);
        mine.SetCellLength(float(rng.bounded(8)) + 1);
        break;
    case NamesComments: NameComment::Apply(mine, int(rng.bounded(NameComment::OperationCount))); break;
    case ActionCount: break;
    }
}

} // namespace

class tst_TChangeJournal : public QObject {
    Q_OBJECT

private slots:
    void randomSequenceUndoesToTheByte_data();
    void randomSequenceUndoesToTheByte();
    void deletedBranchComesBackWhole();
    void sortIsUndone();
    void nothingRecordedWithoutJournalOrWhileReading();
    void cellEditKeyByKeyMerges();
};

void tst_TChangeJournal::randomSequenceUndoesToTheByte_data()
{
    QTest::addColumn<QList<int>>("actions");
    QTest::addColumn<int>("seed");
    const QList<int> tables{EditUzel, EditBranch, AddUzel, AddBranch};
    const QList<int> deletions{DeleteUzel, DeleteBranch, DeleteStopping, DeletePerson, DeleteEmpty, AddStopping};
    const QList<int> stoppings{AddStopping, EditStopping, DeleteStopping, AddPerson, EditPerson, DeletePerson};
    const QList<int> order{Sort, Transform, EditUzel, AddUzel, DeleteEmpty};
    const QList<int> groups{Seams, Properties, NamesComments, EditBranch};
    QList<int> all;
    for (int a = 0; a < ActionCount; ++a)
        all << a;
    QTest::newRow("table edits") << tables << 1;
    QTest::newRow("deletions") << deletions << 2;
    QTest::newRow("stoppings and people") << stoppings << 3;
    QTest::newRow("sorts and transformations") << order << 4;
    QTest::newRow("seams, properties, names") << groups << 5;
    for (int seed : {6, 7, 8})
        QTest::addRow("every action, seed %d", seed) << all << seed;
}

void tst_TChangeJournal::randomSequenceUndoesToTheByte()
{
    QFETCH(QList<int>, actions);
    QFETCH(int, seed);
    Journaled j(seed);
    const QByteArray start = j.Bytes();
    QRandomGenerator rng(quint32(seed) * 7919u);
    for (int i = 0; i < 200; ++i)
        Act(j.mine, Action(actions[int(rng.bounded(actions.size()))]), rng);
    QCOMPARE(j.lost, 0);
    const QByteArray end = j.Bytes();
    QVERIFY(end != start);
    for (auto it = j.steps.rbegin(); it != j.steps.rend(); ++it)
        (*it)->Undo();
    QVERIFY(j.Bytes() == start);
    for (auto &s : j.steps)
        s->Redo();
    QVERIFY(j.Bytes() == end);
}

void tst_TChangeJournal::deletedBranchComesBackWhole()
{
    Journaled j(11);
    TBranch *b = j.mine.Branches().Items(8);   // holds a stopping and a person
    const int stoppings = j.mine.Jumpers().Count();
    {
        TUserAction action(&j.mine, QStringLiteral("Удаление ветви"));
        j.mine.Branches().Delete(7);
    }
    QCOMPARE(j.mine.Jumpers().Count(), stoppings - 1);
    j.steps.back()->Undo();
    QCOMPARE(j.mine.Branches().Items(8), b);
    QCOMPARE(b->Jumpers().Count(), 1);
    QCOMPARE(b->People().Count(), 1);
    QCOMPARE(j.mine.Jumpers().Count(), stoppings);
    QCOMPARE(j.mine.Branches().Find(b->Number()), b);
    // Dropped while the branch is back: nothing of it is freed twice.
    j.steps.clear();
    QCOMPARE(b->Jumpers().Count(), 1);
}

void tst_TChangeJournal::sortIsUndone()
{
    Journaled j(12);
    std::vector<TUzel *> before(j.mine.Uzels().begin(), j.mine.Uzels().end());
    {
        TUserAction action(&j.mine, QStringLiteral("Сортировка"));
        j.mine.Uzels().SortBy(3);
    }
    QVERIFY(std::vector<TUzel *>(j.mine.Uzels().begin(), j.mine.Uzels().end()) != before);
    j.steps.back()->Undo();
    // The empty nodes the sort removed come back in their places too.
    QVERIFY(std::vector<TUzel *>(j.mine.Uzels().begin(), j.mine.Uzels().end()) == before);
    QCOMPARE(j.mine.Uzels().PositionOf(before[5]->Number()), before[5]->ListPos() + 1);
}

void tst_TChangeJournal::nothingRecordedWithoutJournalOrWhileReading()
{
    Journaled j(13);
    j.mine.Journal().SetEnabled(false);
    j.mine.Uzels().Items(1)->SetNumber(4242);
    QVERIFY(j.steps.empty());
    j.mine.Journal().SetEnabled(true);
    j.mine.BeginUpdate();   // as the file reader does
    j.mine.AddUzel(1, 2, 3, 4);
    j.mine.EndUpdate();
    QVERIFY(j.steps.empty());
    QCOMPARE(j.lost, 1);
    // Outside any action, the change of one event becomes an implicit step.
    j.mine.Uzels().Items(1)->SetNumber(4343);
    QVERIFY(j.steps.empty());
    j.mine.Journal().Flush();
    QCOMPARE(int(j.steps.size()), 1);
}

void tst_TChangeJournal::cellEditKeyByKeyMerges()
{
    Journaled j(14);
    TBranch *b = j.mine.Branches().Items(1);
    const QString before = b->Comment();
    for (const QString &typed : {QStringLiteral("а"), QStringLiteral("аб"), QStringLiteral("абв")}) {
        TUserAction action(&j.mine, QStringLiteral("Правка ячейки"), 77);
        b->SetComment(typed);
    }
    QCOMPARE(int(j.steps.size()), 3);
    for (size_t i = 1; i < j.steps.size(); ++i)
        j.steps[0]->Append(*j.steps[i]);
    j.steps[0]->Undo();
    QCOMPARE(b->Comment(), before);
    j.steps[0]->Redo();
    QCOMPARE(b->Comment(), QStringLiteral("абв"));
}

QTEST_GUILESS_MAIN(tst_TChangeJournal)
#include "tst_TChangeJournal.moc"
