// The whole-document JSON read back: what a missing key leaves, and every refusal with the path
// of the value refused.
#include "AppError.h"
#include "MdfTestSupport.h"
#include "exchange/MineJson.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QtTest>
#include <cmath>
#include <cstring>

namespace {

// The message of the refusal, or an empty text when the document is taken.
QString Refusal(const QByteArray &json)
{
    TMineDocument doc;
    try {
        MineJson::Read(json, doc);
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

const char kNodeColumns[] = R"({"Kind":0},{"Kind":1},{"Kind":2})";

} // namespace

class TestMineJson : public QObject {
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void missingKeysAsNew();
    void anyKeyOrder();
    void nonFiniteReals();
};

void TestMineJson::refused_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("message");
    const auto row = [](const char *name, const QByteArray &json, const QString &message) {
        QTest::newRow(name) << json << message;
    };
    row("not an object", "[]", QStringLiteral("не объект"));
    row("unknown key", R"({"Foo": 1})", QStringLiteral("Foo: неизвестный ключ"));
    row("key twice", R"({"Title": "a", "Title": "b"})", QStringLiteral("Title: ключ повторяется"));
    row("text as number", R"({"Title": 5})", QStringLiteral("Title: не текст"));
    row("real as integer", R"({"Temperature": 1.5})", QStringLiteral("Temperature: не целое число"));
    row("integer past 32 bits", R"({"Temperature": 2147483648})",
        QStringLiteral("Temperature: вне пределов -2147483648..2147483647"));
    row("number as text", R"({"Pressure": "1"})", QStringLiteral("Pressure: не число"));
    row("finite bits as NaN", R"({"Pressure": "NaN:0x3F800000"})", QStringLiteral("Pressure: не число"));
    row("past single precision", R"({"Pressure": 1e39})",
        QStringLiteral("Pressure: вне пределов чисел одинарной точности"));
    row("null", R"({"Uzels": [{"X": null}]})", QStringLiteral("Uzels[0].X: не число"));
    row("flag past a byte", R"({"AutoUpdate": 256})", QStringLiteral("AutoUpdate: вне пределов 0..255"));
    row("flag as text", R"({"AutoUpdate": "да"})", QStringLiteral("AutoUpdate: не логическое значение"));
    row("note not text", R"({"Notes": ["a", 1]})", QStringLiteral("Notes[1]: не текст"));
    row("beyond Windows-1251", R"({"Notes": ["ok", "a✓"]})",
        QStringLiteral("Notes[1]: символ \"✓\" не помещается в кодовую страницу Windows-1251"));
    row("character outside the first plane", R"({"Title": "\ud83d\ude00"})",
        QStringLiteral("Title: символ \"😀\" не помещается в кодовую страницу Windows-1251"));
    row("three node columns", QByteArray(R"({"NodeColumns": [)") + kNodeColumns + "]}",
        QStringLiteral("NodeColumns: столбцов должно быть 4"));
    row("kind twice", QByteArray(R"({"NodeColumns": [)") + kNodeColumns + R"(,{"Kind":1}]})",
        QStringLiteral("NodeColumns[3].Kind: столбец этого вида уже есть"));
    row("branch kind among nodes", R"({"NodeColumns": [{"Kind": 4}]})",
        QStringLiteral("NodeColumns[0].Kind: вне пределов 0..3"));
    row("column without kind", R"({"NodeColumns": [{"Shown": true}]})",
        QStringLiteral("NodeColumns[0]: нет ключа \"Kind\""));
    row("colour past 32 bits", R"({"Layers": [{"Color": -1}]})",
        QStringLiteral("Layers[0].Color: вне пределов 0..4294967295"));
    row("branches not a list", R"({"Branches": {}})", QStringLiteral("Branches: не массив"));
    row("second branch's section", R"({"Branches": [{}, {"Section": "12"}]})",
        QStringLiteral("Branches[1].Section: не число"));
    row("negative zone bound", R"({"Branches": [{"Gas1From": -1}]})", QStringLiteral("Branches[0].Gas1From: меньше 0"));
    row("link past the branches", R"({"Branches": [{"LinkIndex": 1}]})",
        QStringLiteral("Branches[0].LinkIndex: вне пределов -1..0"));
    row("seam that is not there", R"({"Layers": [{}], "Branches": [{"LayerIndex": 1}]})",
        QStringLiteral("Branches[0].LayerIndex: вне пределов -1..0"));
    row("plan position before any", R"({"Branches": [{"PLFIndex": -2}]})",
        QStringLiteral("Branches[0].PLFIndex: вне пределов -1..2147483647"));
    row("stopping past the branch's end", R"({"Branches": [{"Jumpers": [{"Position": 1.5}]}]})",
        QStringLiteral("Branches[0].Jumpers[0].Position: вне пределов 0..1"));
    row("person at NaN", R"({"Branches": [{"People": [{"Position": "NaN"}]}]})",
        QStringLiteral("Branches[0].People[0].Position: вне пределов 0..1"));
    row("two result values", R"({"Branches": [{"Jumpers": [{"NormalValues": [1, 2]}]}]})",
        QStringLiteral("Branches[0].Jumpers[0].NormalValues: нужно три числа"));
    row("person's name", R"({"Branches": [{"People": [{"FullName": "✓"}]}]})",
        QStringLiteral("Branches[0].People[0].FullName: символ \"✓\" не помещается в кодовую страницу Windows-1251"));
    row("cut short", "{\"Title\": \"a\"", QStringLiteral("строка 1, столбец 14: текст JSON оборван"));
    row("text after the document", "{}\n x", QStringLiteral("строка 2, столбец 2: после документа JSON лишний текст"));
    row("not UTF-8", "{\"Title\":\n \"\xC0\xAF\"}", QStringLiteral("строка 2, столбец 2: строка не в кодировке UTF-8"));
    row("lone surrogate", R"({"Title": "\ud800x"})",
        QStringLiteral("строка 1, столбец 18: непарная половина суррогатной пары"));
    row("leading zero", R"({"Pressure": 01})", QStringLiteral("строка 1, столбец 15: неверное число"));
    row("missing comma", R"({"Title": "a" "Pressure": 1})",
        QStringLiteral("строка 1, столбец 15: ожидается \",\" или \"}\""));
    row("control character in a text", "{\"Title\": \"a\tb\"}",
        QStringLiteral("строка 1, столбец 13: управляющий символ внутри строки"));
}

void TestMineJson::refused()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, message);
    QCOMPARE(Refusal(json), message);
}

// A document of missing keys is a new document; a branch given only its numbers is a new
// branch with them.
void TestMineJson::missingKeysAsNew()
{
    TMineDocument fresh, read;
    MineJson::Read("{}", read);
    QCOMPARE(TMdfWriter::Write(read), TMdfWriter::Write(fresh));

    TMineDocument doc;
    MineJson::Read(R"({"Branches": [{"Number": 5, "StartNumber": 1, "EndNumber": 2, "Jumpers": [{}]}]})", doc);
    const TBranch *b = doc.Mine()->Branches().Items(1);
    QCOMPARE(b->Number(), 5);
    QCOMPARE(b->Section(), -777777.0f);
    QCOMPARE(b->VolumeFactor(), 1.0f);
    QCOMPARE(b->OptionByte(1), quint8(1));
    QCOMPARE(b->LayerIndex(), -1);
    QCOMPARE(b->Jumpers().Count(), 1);
    QCOMPARE(b->Jumpers().Items(0)->Position(), 0.5);
    QVERIFY(!doc.Mine()->Modified());
}

// jq -S sorts the keys: the branches come before the seams they refer to, the stoppings before
// the branch's numbers.
void TestMineJson::anyKeyOrder()
{
    TMineDocument doc;
    MineJson::Read(R"({"Branches": [{"Jumpers": [{"Position": 0.7}, {"Position": 0.2, "Caption": "A"}],
                        "LayerIndex": 1, "Number": 3}],
                       "Layers": [{"Name": "a"}, {"Name": "b", "Visible": 2}]})",
                   doc);
    const TBranch *b = doc.Mine()->Branches().Items(1);
    QCOMPARE(b->LayerIndex(), 1);
    QCOMPARE(doc.Mine()->Layers().Items(1)->VisibleByte(), quint8(2));
    QCOMPARE(b->Jumpers().Items(0)->Caption(), QStringLiteral("A"));
    QCOMPARE(b->Jumpers().Items(1)->Position(), 0.7);
}

// What JSON has no number for comes back to the same bits.
void TestMineJson::nonFiniteReals()
{
    TMineDocument doc;
    MineJson::Read(R"({"Pressure": "NaN:0xFFC00001", "CellLength": "-Infinity",
                       "Branches": [{"Resistance": "NaN:0x7FF0000000000001"}]})",
                   doc);
    quint32 pressure;
    const float p = doc.Mine()->Pressure();
    std::memcpy(&pressure, &p, 4);
    QCOMPARE(pressure, 0xFFC00001u);
    QVERIFY(std::isinf(doc.CellLength()) && doc.CellLength() < 0);
    quint64 resistance;
    const double r = doc.Mine()->Branches().Items(1)->Resistance();
    std::memcpy(&resistance, &r, 8);
    QCOMPARE(resistance, 0x7FF0000000000001ull);
}

QTEST_GUILESS_MAIN(TestMineJson)
#include "tst_MineJson.moc"
