// Every column kind through the table of kinds: a typed or pasted text is read, stored through
// the element's setter and shown again, as the tables show it and in full; refused texts give
// their messages and leave the value; computed kinds take nothing and show what the model
// derives. Then the row check of Enter and of a paste.
#include "model/ColumnKinds.h"
#include "model/TPLF.h"

#include "MineText.h"

#include <QtTest>
#include <cmath>
#include <limits>

class tst_ColumnKinds : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void walk_data();
    void walk();
    void rowCheck_data();
    void rowCheck();
    void widestTexts_data();
    void widestTexts();
};

namespace {

// Node 1 at the origin, node 2 five metres away and four up; branch 5 between them with a
// section of 4, a volume coefficient of 2.5, an additional volume of 3 and plan position "ПЛА 3".
struct Fixture {
    TMine mine;
    TUzel *uzel;
    TBranch *branch;
    Fixture()
    {
        minetext::Build(mine, "u 1 0 0 0; u 2 3 0 4; b 5 1 2 4");
        uzel = mine.Uzels().Items(1);
        branch = mine.Branches().Items(1);
        branch->SetVolumeFactor(2.5f);
        branch->SetExtraVolume(3);
        (new TPLF(&mine))->SetName(QStringLiteral("ПЛА 3"));
        branch->SetPLFIndex(0);
        mine.ResolveIncidence();
    }
    bool Node(TColumnKind kind) const { return ColumnKinds::Row(kind).Table == TColumnTable::Uzels; }
    bool Set(TColumnKind kind, const TColumnValue &v)
    {
        return Node(kind) ? ColumnKinds::SetValue(kind, *uzel, v) : ColumnKinds::SetValue(kind, *branch, v);
    }
    QString Text(TColumnKind kind) const
    {
        return Node(kind) ? ColumnKinds::Text(kind, *uzel) : ColumnKinds::Text(kind, *branch);
    }
    QString Exact(TColumnKind kind) const
    {
        return Node(kind) ? ColumnKinds::ExactText(kind, *uzel) : ColumnKinds::ExactText(kind, *branch);
    }
};

const QString kNotANumber = QStringLiteral("Неверно указано число");

} // namespace

void tst_ColumnKinds::initTestCase()
{
    // The C locale, before anything asks for the user's decimal separator: "." is the point.
    QLocale::setDefault(QLocale::c());
}

void tst_ColumnKinds::walk_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("pasted");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("exact");
    const bool typed = false, pasted = true;
    auto row = [](const char *name, TColumnKind kind, const char *input, bool source, const QString &refusal,
                  const char *text, const char *exact) {
        QTest::newRow(name) << ColumnKinds::Code(kind) << QString::fromUtf8(input) << source << refusal
                            << QString::fromUtf8(text) << QString::fromUtf8(exact);
    };
    using K = TColumnKind;
    row("node number", K::UzelNumber, "12", typed, {}, "12", "12");
    row("node number 0", K::UzelNumber, "0", pasted, "Ошибка !\r\nНомер узла должен быть больше 0 !", "1", "1");
    row("X shown rounded, kept whole", K::X, "-12.25", typed, {}, "-12.3", "-12.25");
    row("Y unset by a dash", K::Y, "-", typed, {}, "", "");
    row("Z unset when emptied", K::Z, "", pasted, {}, "", "");
    row("branch number", K::BranchNumber, "7", typed, {}, "7", "7");
    row("branch number 0", K::BranchNumber, "0", typed, "Ошибка !\r\nНомер ветви должен быть больше 0 !", "5", "5");
    row("start: a paste takes only the keys of typing", K::StartNumber, "+3", pasted, kNotANumber, "1", "1");
    row("end 0 is the row check's", K::EndNumber, "0", pasted, {}, "0", "0");
    row("length computed", K::Length, "9", typed, {}, "5.0", "5");
    row("section", K::Section, "4.5", pasted, {}, "4.5", "4.5");
    // A paste takes "," or "." as the point in any locale (this test runs with "."), not both.
    row("section pasted with a comma", K::Section, "4,75", pasted, {}, "4.8", "4.75");
    row("digit grouping refused", K::Section, "1,234.5", pasted,
        "Неверно указано число «1,234.5»: в нем и запятая, и точка (разделители разрядов не допускаются)", "4.0", "4");
    row("R pasted with a comma", K::Resistance, "0,003353", pasted, {}, "0.0033530", "0.003353");
    row("Z pasted with a comma", K::Z, "-100,25", pasted, {}, "-100.3", "-100.25");
    row("section beyond single precision", K::Section, "1e39", typed, kNotANumber, "4.0", "4");
    row("perimeter only from the dialog", K::Perimeter, "9", typed, {}, "8.0", "8");
    row("volume computed", K::Volume, "1", typed, {}, "50.0", "50");
    row("volume coefficient emptied: 1", K::VolumeFactor, "", typed, {}, "1.00", "1");
    row("volume coefficient: no dash", K::VolumeFactor, "-", typed, kNotANumber, "2.50", "2.5");
    row("additional volume emptied: 0", K::ExtraVolume, "", pasted, {}, "0.0", "0");
    row("angle computed", K::Angle, "1", typed, {}, "53.1", "53.130104");
    row("comment", K::Comment, "Штрек №2", pasted, {}, "Штрек №2", "Штрек №2");
    row("comment outside the code page", K::Comment, "штрек 中", typed,
        "Текст содержит знаки, которых нет в кодовой странице Windows-1251", "", "");
    row("resistance in double precision", K::Resistance, "0.00123449", typed, {}, "0.0012345", "0.00123449");
    row("resistance not finite", K::Resistance, "1e999", pasted, kNotANumber, "0.0000000", "0");
    row("people counted", K::People, "2", typed, {}, "0", "0");
    row("name", K::Name, "Вентиляционный штрек", typed, {}, "Вентиляционный штрек", "Вентиляционный штрек");
    row("plan position by name", K::PLF, "1", typed, {}, "ПЛА 3", "ПЛА 3");
}

void tst_ColumnKinds::walk()
{
    QFETCH(int, kind);
    QFETCH(QString, input);
    QFETCH(bool, pasted);
    QFETCH(QString, refusal);
    QFETCH(QString, text);
    QFETCH(QString, exact);
    Fixture f;
    const TColumnKind k = ColumnKinds::FromCode(kind).value();
    const TColumnInput in =
        ColumnKinds::ReadInput(k, input, pasted ? TInputSource::Pasted : TInputSource::Typed);
    QCOMPARE(in.Refusal, refusal);
    if (refusal.isEmpty())
        QCOMPARE(f.Set(k, in.Value), ColumnKinds::Settable(k));
    QCOMPARE(f.Text(k), text);
    QCOMPARE(f.Exact(k), exact);
}

void tst_ColumnKinds::rowCheck_data()
{
    QTest::addColumn<bool>("node");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("column");
    const int unset = kUnsetInt;
    using ColumnKinds::Code;
    using K = TColumnKind;
    QTest::newRow("node fine") << true << 3 << 0 << 0 << "" << Code(K::UzelNumber);
    QTest::newRow("node unset") << true << unset << 0 << 0 << "Ошибка !\r\nНе указан номер узла !" << Code(K::UzelNumber);
    QTest::newRow("node 0") << true << 0 << 0 << 0 << "Ошибка !\r\nНомер узла должен быть больше 0 !" << Code(K::UzelNumber);
    QTest::newRow("branch fine") << false << 4 << 1 << 2 << "" << Code(K::UzelNumber);
    QTest::newRow("branch unset") << false << unset << 1 << 2 << "Ошибка !\r\nНе указан номер ветви !" << Code(K::BranchNumber);
    QTest::newRow("start 0") << false << 4 << 0 << 2 << "Ошибка !\r\nНеверно указан номер начального узла !" << Code(K::StartNumber);
    QTest::newRow("end unset") << false << 4 << 1 << unset << "Ошибка !\r\nНеверно указан номер конечного узла !" << Code(K::EndNumber);
    QTest::newRow("a loop") << false << 4 << 7 << 7 << "Ошибка !\r\nНомера начального и конечного узлов должны быть различными !" << Code(K::EndNumber);
}

void tst_ColumnKinds::rowCheck()
{
    QFETCH(bool, node);
    QFETCH(int, number);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, message);
    QFETCH(int, column);
    const TRowFault fault = node ? ColumnKinds::UzelRowFault(number) : ColumnKinds::BranchRowFault(number, start, end);
    QCOMPARE(fault.Message, message);
    QCOMPARE(ColumnKinds::Code(fault.Column), column);
}

// The texts a column is widened to: the smallest and the largest value of the fixture's
// elements and one of a third node, the unset marker skipped; a number that is no number shows
// its text too ("-inf" the longest of them). Text kinds and the plan position have none.
void tst_ColumnKinds::widestTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<float>("third");
    QTest::addColumn<QStringList>("texts");
    const float inf = std::numeric_limits<float>::infinity();
    using K = TColumnKind;
    QTest::newRow("X of 7 digits") << int(K::X) << -5412345.67f << QStringList{"-5412345.5", "3.0"};
    QTest::newRow("unset skipped") << int(K::X) << kUnsetReal << QStringList{"0.0", "3.0"};
    QTest::newRow("infinities and NaN") << int(K::Z) << -inf << QStringList{"0.0", "4.0", "-inf"};
    QTest::newRow("node numbers") << int(K::UzelNumber) << 0.0f << QStringList{"1", "3"};
    QTest::newRow("lengths") << int(K::Length) << 0.0f << QStringList{"5.0", "5.0"};
    QTest::newRow("comments: none") << int(K::Comment) << 0.0f << QStringList{};
    QTest::newRow("plan position: none") << int(K::PLF) << 0.0f << QStringList{};
}

void tst_ColumnKinds::widestTexts()
{
    QFETCH(int, kind);
    QFETCH(float, third);
    QFETCH(QStringList, texts);
    Fixture f;
    f.mine.AddUzel(3, third, 0, std::isinf(third) ? std::numeric_limits<float>::quiet_NaN() : 0.0f);
    if (std::isinf(third))
        f.mine.AddUzel(4, 0, 0, third);
    QCOMPARE(ColumnKinds::WidestTexts(ColumnKinds::FromCode(kind).value(), f.mine), texts);
}

QTEST_GUILESS_MAIN(tst_ColumnKinds)
#include "tst_ColumnKinds.moc"
