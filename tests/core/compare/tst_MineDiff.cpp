// What the comparison of two mines lists: one changed field of each kind of element, elements
// added and removed, lists in another order, numbers shared, a moved node's branch lengths.
#include "MdfTestSupport.h"
#include "MineText.h"
#include "compare/MineDiff.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QtTest>
#include <functional>

namespace {

// "~ Узел 1 | Коор. X м: 0 → 5" per field, "+ Узел 3" for an item without fields.
QStringList Lines(const TMineDiff &diff)
{
    static const char kMarks[] = {'+', '-', '~', '!'};
    QStringList lines;
    for (const TDiffItem &item : diff.Items) {
        const QString head = QString(QLatin1Char(kMarks[int(item.Kind)])) + u' ' + item.Title;
        if (item.Fields.isEmpty())
            lines << head;
        for (const TDiffField &f : item.Fields)
            lines << QStringLiteral("%1 | %2: %3 → %4")
                         .arg(head, f.Caption, f.Old.value_or(QStringLiteral("-")), f.New.value_or(QStringLiteral("-")));
    }
    return lines;
}

const QString kBase = QStringLiteral("u 1 0 0 0; u 2 3 4 0; u 3 0 0 10; b 1 1 2 5 \"a\"; b 2 2 3 6; b 3 3 1");

using TEdit = std::function<void(TMineDocument &, bool second)>;

TBranch *Branch(TMineDocument &d, int number)
{
    for (TBranch *b : d.Mine()->Branches())
        if (b->Number() == number)
            return b;
    return nullptr;
}

} // namespace

class TestMineDiff : public QObject {
    Q_OBJECT

private slots:
    void compare_data();
    void compare();
    void placesInTheFirstDocument();
};

void TestMineDiff::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<TEdit>("edit");   // applied to both documents
    QTest::addColumn<QStringList>("lines");
    const TEdit none;
    const auto row = [](const char *name, const QString &a, const QString &b, const TEdit &edit, const QStringList &lines) {
        QTest::newRow(name) << a << b << edit << lines;
    };
    row("identical", kBase, kBase, none, {});
    row("node order only", kBase, QStringLiteral("u 3 0 0 10; u 2 3 4 0; u 1 0 0 0; b 1 1 2 5 \"a\"; b 2 2 3 6; b 3 3 1"),
        none, {QStringLiteral("! Порядок узлов в списке другой")});
    row("moved node and its branches' lengths", kBase,
        QStringLiteral("u 1 0 0 0; u 2 6 8 0; u 3 0 0 10; b 1 1 2 5 \"a\"; b 2 2 3 6; b 3 3 1"), none,
        {QStringLiteral("~ Узел 2 | Коор. X м: 3 → 6"), QStringLiteral("~ Узел 2 | Коор. Y м: 4 → 8"),
         QStringLiteral("~ Узел 2 | Длина ветви 1, м: 5 → 10"),
         QStringLiteral("~ Узел 2 | Длина ветви 2, м: 11.18034 → 14.142136")});
    row("single precision in full", QStringLiteral("u 1 0.1 0 0"), QStringLiteral("u 1 0.100000001 0 0"), none, {});
    row("nearest other float", QStringLiteral("u 1 0.1 0 0"), QStringLiteral("u 1 0.10000001 0 0"), none,
        {QStringLiteral("~ Узел 1 | Коор. X м: 0.1 → 0.10000001")});
    row("unset coordinate", QStringLiteral("u 1 0 0 0"), QStringLiteral("u 1 0 0 -"), none,
        {QStringLiteral("~ Узел 1 | Коор. Z м: 0 → -")});
    row("surface", QStringLiteral("u 1 0 0 0"), QStringLiteral("u 1 0 0 0 s"), none,
        {QStringLiteral("~ Узел 1 | Поверхностный: Нет → Да")});
    row("branch's end and comment", kBase, QStringLiteral("u 1 0 0 0; u 2 3 4 0; u 3 0 0 10; b 1 1 3 5 \"b\"; b 2 2 3 6; b 3 3 1"),
        none, {QStringLiteral("~ Ветвь 1 | Кон. узел: 2 → 3"), QStringLiteral("~ Ветвь 1 | Комментарий: a → b")});
    row("added and removed", kBase, QStringLiteral("u 1 0 0 0; u 2 3 4 0; u 4 0 0 10; b 1 1 2 5 \"a\"; b 2 2 3 6; b 3 3 1; b 9 1 4"),
        none, {QStringLiteral("- Узел 3"), QStringLiteral("+ Узел 4"), QStringLiteral("+ Ветвь 9")});
    row("shared numbers matched in order", QStringLiteral("u 5 1 0 0; u 5 2 0 0"), QStringLiteral("u 5 1 0 0; u 5 3 0 0; u 5 4 0 0"),
        none,
        {QStringLiteral("! Номер 5 носят несколько узлов: сопоставлены по порядку в списке"),
         QStringLiteral("~ Узел 5 (2-й с этим номером) | Коор. X м: 2 → 3"), QStringLiteral("+ Узел 5 (3-й с этим номером)")});
    row("resistance, section, shape and seam", kBase, kBase, [](TMineDocument &d, bool second) {
        new TLayer(d.Mine());
        d.Mine()->Layers().Items(0)->SetName(QStringLiteral("k5"));
        if (second) {
            Branch(d, 2)->SetResistance(0.125);
            Branch(d, 2)->SetSection(6.5f);
            Branch(d, 2)->SetShape(1);
            Branch(d, 2)->SetLayerIndex(0);
        }
    }, {QStringLiteral("~ Ветвь 2 | Сечение м2: 6 → 6.5"), QStringLiteral("~ Ветвь 2 | R km: 0 → 0.125"),
        QStringLiteral("~ Ветвь 2 | Пласт: - → k5"), QStringLiteral("~ Ветвь 2 | Форма сечения: Квадратная → Арочная")});
    row("seam inserted before the one a branch has", kBase, kBase, [](TMineDocument &d, bool second) {
        if (second)
            (new TLayer(d.Mine()))->SetName(QStringLiteral("new"));
        (new TLayer(d.Mine()))->SetName(QStringLiteral("k5"));
        Branch(d, 1)->SetLayerIndex(second ? 1 : 0);
    }, {QStringLiteral("+ Пласт «new»")});
    row("stopping and person", kBase, kBase, [](TMineDocument &d, bool second) {
        TJumper *j = new TJumper(Branch(d, 1), 0.25);
        j->SetCaption(QStringLiteral("П-1"));
        j->SetMaterial(second ? 12 : 9);
        new TPeopleInfo(Branch(d, 2), second ? 0.75 : 0.5);
        if (second)
            new TJumper(Branch(d, 3), 0.5);
    }, {QStringLiteral("~ Ветвь 1, перемычка 1 «П-1» | Материал: Кирпичная → Брезентовая"),
        QStringLiteral("+ Ветвь 3, перемычка 1"), QStringLiteral("~ Ветвь 2, человек 1 | Положение: 0.5 → 0.75")});
    row("document fields and notes", kBase, kBase, [](TMineDocument &d, bool second) {
        if (second) {
            d.Mine()->SetTitle(QStringLiteral("Новая"));
            d.Mine()->SetTemperature(25);
            d.SetNotes({QStringLiteral("a"), QStringLiteral("b")});
        } else {
            d.Mine()->SetTitle(QString());
            d.SetNotes({QStringLiteral("a")});
        }
    }, {QStringLiteral("~ Документ | Название шахты:  → Новая"), QStringLiteral("~ Документ | Температура, °C: 20 → 25"),
        QStringLiteral("~ Документ | Примечание, строка 2: - → b")});
}

void TestMineDiff::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(TEdit, edit);
    QFETCH(QStringList, lines);
    TMineDocument da, db;
    minetext::Build(*da.Mine(), a);
    minetext::Build(*db.Mine(), b);
    if (edit) {
        edit(da, false);
        edit(db, true);
    }
    const TMineDiff diff = MineDiff::Compare(da, db);
    QCOMPARE(Lines(diff), lines);
    QCOMPARE(diff.Different(), std::any_of(lines.begin(), lines.end(), [](const QString &l) { return !l.startsWith(u'!'); }));
}

// Where the editor puts the cursor: the element's place in the first document, none for what
// only the second has.
void TestMineDiff::placesInTheFirstDocument()
{
    TMineDocument a, b;
    minetext::Build(*a.Mine(), QStringLiteral("u 1 0 0 0; u 2 0 0 0; b 4 1 2; b 3 1 2"));
    minetext::Build(*b.Mine(), QStringLiteral("u 2 0 0 1; b 3 1 2; b 4 1 2; b 5 1 2"));
    new TJumper(a.Mine()->Branches().Items(1), 0.5);
    new TJumper(b.Mine()->Branches().Items(2), 0.5);
    new TJumper(b.Mine()->Branches().Items(2), 0.7);
    QStringList places;
    for (const TDiffItem &i : MineDiff::Compare(a, b).Items)
        places << QStringLiteral("%1 %2/%3/%4").arg(i.Title).arg(i.Place.Uzel).arg(i.Place.Branch).arg(i.Place.Jumper);
    QCOMPARE(places, (QStringList{QStringLiteral("Узел 1 0/-1/-1"), QStringLiteral("Узел 2 1/-1/-1"),
                                  QStringLiteral("Порядок ветвей в списке другой -1/-1/-1"),
                                  QStringLiteral("Ветвь 5 -1/-1/-1"), QStringLiteral("Ветвь 4, перемычка 2 -1/-1/-1")}));
}

QTEST_GUILESS_MAIN(TestMineDiff)
#include "tst_MineDiff.moc"
