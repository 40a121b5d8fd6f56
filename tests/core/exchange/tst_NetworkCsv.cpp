// The node and branch lists to and from the two CSV files: what is written, what is read, and
// every refusal, which names file, line and column and leaves the mine empty.
#include "MineText.h"

#include "AppError.h"
#include "exchange/CsvText.h"
#include "exchange/NetworkCsv.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/TMineDocument.h"

#include <QStringEncoder>
#include <QtTest>

namespace {

const QByteArray kNodes = "Number,X,Y,Z\n1,0,0,0\n2,10,0,0\n";
const QByteArray kBranches = "Number,StartNumber,EndNumber\n1,1,2\n";

QString Real(double v) { return IsUnset(v) ? QStringLiteral("-") : QString::number(v); }

// The network in a line: nodes "number(x y z)" with "s" for surface, branches
// "number:start-end section shape roughness R layer plf 'comment' 'name'", then the group names.
QString Describe(const TMine &mine)
{
    QStringList parts;
    for (const TUzel *n : mine.Uzels())
        parts << QStringLiteral("%1(%2 %3 %4)%5").arg(n->Number()).arg(Real(n->X()), Real(n->Y()), Real(n->Z()),
                                                       n->Surface() ? QStringLiteral("s") : QString());
    for (const TBranch *b : mine.Branches())
        parts << QStringLiteral("%1:%2-%3 %4 %5 %6 %7 %8 %9 '%10' '%11'")
                     .arg(b->Number()).arg(b->StartNumber()).arg(b->EndNumber()).arg(Real(b->Section()))
                     .arg(b->Shape()).arg(b->Roughness()).arg(Real(b->Resistance())).arg(b->LayerIndex())
                     .arg(b->PLFIndex()).arg(b->Comment(), b->Name());
    for (const TLayer *l : mine.Layers())
        parts << l->Name();
    for (const TLayer *p : mine.PLFs())
        parts << p->Name();
    return parts.join(QStringLiteral("; "));
}

QString ReadError(TMine &mine, const QByteArray &nodes, const QByteArray &branches)
{
    try {
        NetworkCsv::Read(mine, nodes, QStringLiteral("nodes.csv"), branches, QStringLiteral("branches.csv"));
    } catch (const AppError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestNetworkCsv : public QObject {
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void accepted_data();
    void accepted();
    void exportText();
    void everyValueComesBack();
    void otherFilesRefused_data();
    void otherFilesRefused();
    void thousandRowsWithSemicolonsComeBackEqual();
};

void TestNetworkCsv::refused_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QByteArray>("branches");
    QTest::addColumn<QString>("message");
    const QByteArray b = kBranches;
    const QByteArray bHead = "Number,StartNumber,EndNumber,Section,Shape,Comment\n";

    QTest::newRow("unknown columns, listed") << QByteArray("Number,X,Colour,Y,Weight\n1,0,red,0,5\n") << b
        << "nodes.csv:1: неизвестные столбцы: Colour, Weight; допустимы: Number, X, Y, Z, Surface";
    QTest::newRow("node number column missing") << QByteArray("X,Y\n1,2\n") << b
        << "nodes.csv:1: column Number: столбец обязателен, но его нет";
    QTest::newRow("end node column missing") << kNodes << QByteArray("Number,StartNumber\n1,1\n")
        << "branches.csv:1: column EndNumber: столбец обязателен, но его нет";
    QTest::newRow("duplicate header, other letter case") << QByteArray("Number,X,x\n1,2,3\n") << b
        << "nodes.csv:1: column X: столбец указан дважды";
    QTest::newRow("empty file") << QByteArray() << b << "nodes.csv:1: файл пуст, нет строки заголовка";
    QTest::newRow("blank lines only") << kNodes << QByteArray("\n,,\n") << "branches.csv:1: файл пуст, нет строки заголовка";
    QTest::newRow("node number beyond 32 bits") << QByteArray("Number\n1\n4294967296\n") << b
        << "nodes.csv:3: column Number: число вне пределов 32-разрядного целого: \"4294967296\"";
    QTest::newRow("end node beyond 64 bits") << kNodes << b + "2,1,99999999999999999999\n"
        << "branches.csv:3: column EndNumber: число вне пределов 32-разрядного целого: \"99999999999999999999\"";
    QTest::newRow("not a number") << QByteArray("Number,X\n1,abc\n") << b << "nodes.csv:2: column X: не число: \"abc\"";
    QTest::newRow("grouped thousands") << QByteArray("Number;X\n1;1.234,5\n") << b
        << "nodes.csv:2: column X: не число: \"1.234,5\"";
    QTest::newRow("beyond single precision") << QByteArray("Number,Z\n1,-1e39\n") << b
        << "nodes.csv:2: column Z: число вне пределов: \"-1e39\"";
    QTest::newRow("fraction as a number") << QByteArray("Number\n1.5\n") << b
        << "nodes.csv:2: column Number: не целое число: \"1.5\"";
    QTest::newRow("shape out of range") << kNodes << bHead + "1,1,2,3,4,\n"
        << "branches.csv:2: column Shape: допустимы значения от 0 до 3: \"4\"";
    QTest::newRow("shape below the range") << kNodes << bHead + "1,1,2,3,-1,\n"
        << "branches.csv:2: column Shape: допустимы значения от 0 до 3: \"-1\"";
    QTest::newRow("seam index below the range") << kNodes << QByteArray("Number,StartNumber,EndNumber,LayerIndex\n1,1,2,-2\n")
        << "branches.csv:2: column LayerIndex: допустимы значения от -1 до 9999: \"-2\"";
    QTest::newRow("a long value quoted up to 200 characters")
        << QByteArray("Number,X\n1,") + QByteArray(300, 'x') + "\n" << b
        << "nodes.csv:2: column X: не число: \"" + QString(200, u'x') + "…\"";
    QTest::newRow("text outside code page 1251") << kNodes << bHead + "1,1,2,3,0,Ствол \xE6\x97\xA5\n"
        << "branches.csv:2: column Comment: символ \"\u65E5\" не помещается в кодовую страницу Windows-1251";
    QTest::newRow("quote left open") << kNodes << bHead + "1,1,2,3,0,ok\n2,1,2,3,0,\"open\n3,1,2\n"
        << "branches.csv:3: кавычка не закрыта";
    QTest::newRow("value beyond the header") << QByteArray("Number,X\n1,2,3\n") << b
        << "nodes.csv:2: значение в поле 3, у которого нет столбца в заголовке";
    QTest::newRow("unknown columns, the first ten listed")
        << QByteArray("Number,") + QByteArray("a,").repeated(12) + "\n" << b
        << "nodes.csv:1: неизвестные столбцы: a, a, a, a, a, a, a, a, a, a, …; допустимы: Number, X, Y, Z, Surface";
    QTest::newRow("surface neither yes nor no") << QByteArray("Number,Surface\n1,maybe\n") << b
        << "nodes.csv:2: column Surface: ожидалось 1 или 0 (Да или Нет): \"maybe\"";
    QTest::newRow("seam index beyond the bound") << kNodes << QByteArray("Number,StartNumber,EndNumber,LayerIndex\n1,1,2,2000000000\n")
        << "branches.csv:2: column LayerIndex: допустимы значения от -1 до 9999: \"2000000000\"";
}

void TestNetworkCsv::refused()
{
    QFETCH(QByteArray, nodes);
    QFETCH(QByteArray, branches);
    QFETCH(QString, message);
    TMine mine;
    QCOMPARE(ReadError(mine, nodes, branches), message);
    QCOMPARE(mine.Uzels().Count(), 0);
    QCOMPARE(mine.Branches().Count(), 0);
    QCOMPARE(mine.Layers().Count(), 0);
    QVERIFY(!mine.Modified());
}

void TestNetworkCsv::accepted_data()
{
    QTest::addColumn<QByteArray>("nodes");
    QTest::addColumn<QByteArray>("branches");
    QTest::addColumn<QString>("network");
    const QString two = QStringLiteral("1(0 0 0); 2(10 0 0)");
    QTest::newRow("semicolons, decimal commas, any order and case")
        << QByteArray("z;NUMBER;y;x;surface\n-2,5;7;;1,25;Да\n")
        << QByteArray("Name;Comment;endnumber;StartNumber;Number;Section;Resistance;Shape;Roughness\n"
                      "\"Штрек\";\"a;b\";7;8;3;12,5;0,0125;2;4\n")
        << QStringLiteral("7(1.25 - -2.5)s; 3:8-7 12.5 2 4 0.0125 -1 -1 'a;b' 'Штрек'");
    QTest::newRow("yes and no in any letter case")
        << QByteArray("Number,Surface\n1,TRUE\n2,yes\n3,да\n4,НЕТ\n5,False\n") << QByteArray("Number,StartNumber,EndNumber\n")
        << QStringLiteral("1(- - -)s; 2(- - -)s; 3(- - -)s; 4(- - -); 5(- - -)");
    QTest::newRow("resistance negative, empty or the unset marker")
        << kNodes << QByteArray("Number,StartNumber,EndNumber,Resistance\n1,1,2,-0.003353\n2,1,2,\n3,1,2,-777777\n")
        << two + QStringLiteral("; 1:1-2 - 0 0 -0.003353 -1 -1 '' ''; 2:1-2 - 0 0 - -1 -1 '' ''; 3:1-2 - 0 0 - -1 -1 '' ''");
    QTest::newRow("empty shape and roughness: the row above's, as a new table row")
        << kNodes << QByteArray("Number,StartNumber,EndNumber,Shape,Roughness\n1,1,2,,\n2,1,2,3,1\n3,1,2,,\n4,1,2,0,\n")
        << two + QStringLiteral("; 1:1-2 - 0 0 - -1 -1 '' ''; 2:1-2 - 3 1 - -1 -1 '' ''; 3:1-2 - 3 1 - -1 -1 '' ''; "
                                "4:1-2 - 0 1 - -1 -1 '' ''");
    QTest::newRow("byte order mark, CR LF, blank and nameless empty columns")
        << QByteArray("\xEF\xBB\xBFNumber,X,Y,Z,,\r\n1,0,0,0,,\r\n,,,,,\r\n\r\n2,10,0,0,,\r\n") << kBranches
        << two + QStringLiteral("; 1:1-2 - 0 0 - -1 -1 '' ''");
    QTest::newRow("Windows-1251 bytes") << kNodes
        << QByteArray(QStringEncoder("windows-1251").encode(QStringLiteral("Number;StartNumber;EndNumber;Comment\n1;1;2;Уклон\n")))
        << two + QStringLiteral("; 1:1-2 - 0 0 - -1 -1 'Уклон' ''");
    QTest::newRow("whole numbers with decimals, computed columns skipped")
        << kNodes << QByteArray("Number;StartNumber;EndNumber;Length;Perimeter;Angle\n1,00;1;2;9,9;x;\n")
        << two + QStringLiteral("; 1:1-2 - 0 0 - -1 -1 '' ''");
    // What a document can hold is read as it is: the topology check finds what is wrong with it.
    QTest::newRow("numbers 0, negative and not given, a loop, a negative section")
        << QByteArray("Number,X\n0,1\n-4,2\n,5\n") << QByteArray("Number;StartNumber;EndNumber;Section\n;2;2;-3\n0;;-4;\n")
        << QStringLiteral("0(1 - -); -4(2 - -); -777777(5 - -); -777777:2-2 -3 0 0 - -1 -1 '' ''; "
                          "0:-777777--4 - 0 0 - -1 -1 '' ''");
    QTest::newRow("seams and plan positions the indices name")
        << kNodes << QByteArray("Number,StartNumber,EndNumber,LayerIndex,PLFIndex\n1,1,2,1,\n2,2,1,,0\n")
        << two + QStringLiteral("; 1:1-2 - 0 0 - 1 -1 '' ''; 2:2-1 - 0 0 - -1 0 '' ''; Пласт 1; Пласт 2; Позиция ПЛА 1");
}

void TestNetworkCsv::accepted()
{
    QFETCH(QByteArray, nodes);
    QFETCH(QByteArray, branches);
    QFETCH(QString, network);
    TMine mine;
    QCOMPARE(ReadError(mine, nodes, branches), QString());
    QCOMPARE(Describe(mine), network);
    QVERIFY(mine.Modified());
}

void TestNetworkCsv::exportText()
{
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 3 4 0 s; u - - - -; u 9 - 1.5 -;"
                                         "b 5 1 2 2.5 \"Уклон, \"старый\"\"; b 6 2 8; b - - - -"));
    TBranch *b5 = mine.Branches().Items(1);
    b5->SetName(QStringLiteral("Штрек\n2"));
    b5->SetResistance(-0.003353);
    b5->SetShape(1);
    b5->SetLayerIndex(0);
    b5->SetGasKind(1, 2);
    b5->SetZone(1, true);
    b5->SetZoneBound(1, 0.5f);
    b5->SetZoneBound(2, 4.25f);
    mine.Branches().Items(2)->SetResistance(kUnsetReal);
    const QByteArray bom = "\xEF\xBB\xBF";
    QCOMPARE(NetworkCsv::NodesText(mine), bom + "Number,X,Y,Z,Surface\n1,0,0,0,0\n2,3,4,0,1\n9,,1.5,,0\n");
    // The perimeter of an arched 2.5 m2 is 3.84 * sqrt(2.5) in single precision.
    const QByteArray branches = bom + "Number,StartNumber,EndNumber,Section,Shape,Roughness,Resistance,LayerIndex,PLFIndex,"
                                      "Comment,Name,Length,Perimeter,Angle,Gas1,Gas1Kind,Gas1From,Gas1To,Gas2,Gas2Kind,"
                                      "Gas2From,Gas2To\n"
                                      "5,1,2,2.5,1,0,-0.003353,0,,\"Уклон, \"\"старый\"\"\",\"Штрек\n2\",5,6.071573,0,"
                                      "1,2,0.5,4.25,0,0,0,0\n"
                                      "6,2,8,,0,0,,,,,,,0,,0,0,0,0,0,0,0,0\n";
    QCOMPARE(NetworkCsv::BranchesText(mine), branches);
    // Semicolons and decimal commas, as a Russian spreadsheet writes them; with commas between
    // fields a decimal comma is quoted.
    QCOMPARE(NetworkCsv::BranchesText(mine, {';', true}),
             bom + "Number;StartNumber;EndNumber;Section;Shape;Roughness;Resistance;LayerIndex;PLFIndex;"
                   "Comment;Name;Length;Perimeter;Angle;Gas1;Gas1Kind;Gas1From;Gas1To;Gas2;Gas2Kind;Gas2From;Gas2To\n"
                   "5;1;2;2,5;1;0;-0,003353;0;;\"Уклон, \"\"старый\"\"\";\"Штрек\n2\";5;6,071573;0;1;2;0,5;4,25;0;0;0;0\n"
                   "6;2;8;;0;0;;;;;;;0;;0;0;0;0;0;0;0;0\n");
    QVERIFY(NetworkCsv::NodesText(mine, {',', true}).endsWith("9,,\"1,5\",,0\n"));
    // The mine's own branches are not resolved.
    QVERIFY(!b5->StartUzel());
}

// Every value a document can hold, unset ones, a negative resistance or section, loops and nodes
// without a number among them, is read back as it was written: the files written again are the
// same bytes.
void TestNetworkCsv::everyValueComesBack()
{
    TMine mine;
    mine.BeginUpdate();
    const int n = 5000;
    for (int i = 1; i <= n; ++i)
        mine.AddUzel(i % 1000 == 0 ? kUnsetInt : i, i % 7 == 0 ? kUnsetReal : float(i) * 1.1f - 2000.0f, i % 5 == 0 ? kUnsetReal : float(i) / 3.0f,
                     i % 3 == 0 ? kUnsetReal : -float(i) * 0.37f)->SetSurface(i % 11 == 0);
    const double resistances[] = {double(kUnsetReal), -0.003353, 0.0, 1e-300, 1.0 / 3.0, 12345.678};
    for (int i = 1; i <= n; ++i) {
        TBranch *b = mine.AddBranch(i, i, i % 13 == 0 ? i : i % n + 1,
                                    i % 9 == 0 ? QStringLiteral("«%1»; \"x\"").arg(i) : QString(),
                                    i % 4 == 0 ? kUnsetReal : float(i % 50) * (i % 17 == 0 ? -1.0f : 1.0f) + 0.1f);
        b->SetResistance(resistances[i % 6]);
        b->SetShape(quint8(i % 4));
        b->SetRoughness(quint8(i % 5));
        b->SetLayerIndex(i % 3 - 1);
        b->SetPLFIndex(i % 4 - 1);
        b->SetName(i % 2 ? QStringLiteral("Штрек\r\n%1").arg(i) : QString());
    }
    mine.EndUpdate();
    for (const NetworkCsv::TFormat &format : {NetworkCsv::TFormat{}, NetworkCsv::TFormat{';', true}}) {
        const QByteArray nodes = NetworkCsv::NodesText(mine, format);
        const QByteArray branches = NetworkCsv::BranchesText(mine, format);
        TMine back;
        NetworkCsv::Read(back, nodes, QStringLiteral("nodes.csv"), branches, QStringLiteral("branches.csv"));
        QCOMPARE(back.Uzels().Count(), n);
        QCOMPARE(back.Branches().Count(), n);
        QVERIFY(NetworkCsv::NodesText(back, format) == nodes);
        QVERIFY(NetworkCsv::BranchesText(back, format) == branches);
    }
}

// The stopping, people and document files: what is refused, and nothing created then.
void TestNetworkCsv::otherFilesRefused_data()
{
    QTest::addColumn<QString>("file");   // stoppings.csv, people.csv or document.csv
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("stopping in a branch not in the branch file") << "stoppings.csv" << QByteArray("Branch,Position\n1,0.2\n7,0.5\n")
        << "stoppings.csv:3: column Branch: в файле ветвей нет ветви с таким номером: \"7\"";
    QTest::newRow("stopping past the end of its branch") << "stoppings.csv" << QByteArray("Branch;Position\n1;1,5\n")
        << "stoppings.csv:2: column Position: допустимы значения от 0 до 1: \"1,5\"";
    QTest::newRow("material beyond the list") << "stoppings.csv" << QByteArray("Branch,Material\n1,21\n")
        << "stoppings.csv:2: column Material: допустимы значения от 0 до 20: \"21\"";
    QTest::newRow("person without a branch") << "people.csv" << QByteArray("Branch,FullName\n,Иванов\n")
        << "people.csv:2: column Branch: номер не указан";
    QTest::newRow("unknown document row") << "document.csv" << QByteArray("Name,Value\nColour,red\n")
        << "document.csv:2: column Name: неизвестное имя \"Colour\"; допустимы: Title, Temperature, Pressure, Note, "
           "Layer, LayerColor, LayerVisible, PLF, PLFColor, PLFVisible";
    QTest::newRow("colour before its seam") << "document.csv" << QByteArray("Name,Value\nLayerColor,#FF0000\n")
        << "document.csv:2: column Name: строка LayerColor должна идти после строки Layer";
    QTest::newRow("colour not #RRGGBB") << "document.csv" << QByteArray("Name,Value\nPLF,a\nPLFColor,red\n")
        << "document.csv:3: column Value: ожидался цвет #RRGGBB: \"red\"";
}

void TestNetworkCsv::otherFilesRefused()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QMap<QString, QByteArray> files{{QStringLiteral("n"), kNodes}, {QStringLiteral("b"), kBranches}, {file, bytes}};
    NetworkCsv::TSources sources{QStringLiteral("n"), QStringLiteral("b"), {}, {}, {}};
    (file.startsWith(u's') ? sources.Stoppings : file.startsWith(u'p') ? sources.People : sources.Document) = file;
    TMineDocument doc;
    try {
        NetworkCsv::Read(doc, sources, [&files](const QString &name) { return files.value(name); });
        QFAIL("read");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(doc.Mine()->Uzels().Count(), 0);
    QVERIFY(!doc.Mine()->Modified());
}

// A spreadsheet's thousand rows with semicolons and decimal commas, quoted text with the
// separator, quotes and line breaks: read and written again, every value comes back.
void TestNetworkCsv::thousandRowsWithSemicolonsComeBackEqual()
{
    const int n = 1000;
    QStringList nodeRows, branchRows;   // values as written back: "." decimals
    for (int i = 1; i <= n; ++i) {
        nodeRows << QStringList{QString::number(i), CsvText::ShortestFixed(float(i) * 1.5f),
                                CsvText::ShortestFixed(-float(i) / 4.0f),
                                i % 7 == 0 ? QString() : CsvText::ShortestFixed(float(i % 90) - 45.3f),
                                i % 5 == 0 ? QStringLiteral("1") : QStringLiteral("0")}.join(u'\x1f');
        const QString comment = i % 10 == 0 ? QStringLiteral("Уклон; \"%1\"\nвторая строка").arg(i) : QString();
        branchRows << QStringList{QString::number(i), QString::number(i), QString::number(i % n + 1),
                                  i % 3 == 0 ? QString() : CsvText::ShortestFixed(float(i % 50) + 0.5f),
                                  QString::number(i % 4), QString::number(i % 5),
                                  CsvText::ShortestFixed(double(i) * 0.0001), i % 3 == 0 ? QString() : QString::number(i % 3 - 1),
                                  i % 2 ? QStringLiteral("0") : QString(), comment,
                                  QStringLiteral("Выработка %1").arg(i)}.join(u'\x1f');
    }
    // The spreadsheet's form of the same rows.
    auto sheet = [](const QString &header, const QStringList &rows) {
        QString text = header + QStringLiteral("\r\n");
        for (const QString &row : rows) {
            QStringList fields = row.split(u'\x1f');
            for (QString &f : fields)
                f = CsvText::Quote(f.contains(u'\n') ? f : QString(f).replace(u'.', u','), u';');
            text += fields.join(u';') + QStringLiteral("\r\n");
        }
        return text.toUtf8();
    };
    TMine mine;
    NetworkCsv::Read(mine, sheet(QStringLiteral("Number;X;Y;Z;Surface"), nodeRows), QStringLiteral("n.csv"),
                     sheet(QStringLiteral("Number;StartNumber;EndNumber;Section;Shape;Roughness;Resistance;"
                                          "LayerIndex;PLFIndex;Comment;Name"), branchRows),
                     QStringLiteral("b.csv"));

    auto written = [](const QByteArray &text, int columns) {
        const CsvText::TSplit split = CsvText::Split(QString::fromUtf8(text.sliced(3)), u',', CsvText::TQuotes::Strict);
        QStringList rows;
        for (qsizetype i = 1; i < split.Records.size(); ++i)
            rows << split.Records[i].Fields.mid(0, columns).join(u'\x1f');
        return rows;
    };
    const QStringList nodesBack = written(NetworkCsv::NodesText(mine), 5);
    const QStringList branchesBack = written(NetworkCsv::BranchesText(mine), 11);
    QCOMPARE(nodesBack.size(), n);
    QCOMPARE(branchesBack.size(), n);
    for (int i = 0; i < n; ++i) {
        QCOMPARE(nodesBack[i], nodeRows[i]);
        QCOMPARE(branchesBack[i], branchRows[i]);
    }
}

QTEST_GUILESS_MAIN(TestNetworkCsv)
#include "tst_NetworkCsv.moc"
