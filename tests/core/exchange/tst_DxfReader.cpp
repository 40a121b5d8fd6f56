// Reading DXF files: what the quirks of the format come to (an entity's own coordinate system,
// arrays of inserts, layer "0" in blocks, sheets, code pages, text markup, units), and any bytes
// a file may hold refused with a clear message before dxflib sees them: not a DXF, binary DXF,
// damaged lines, counts that would make the library allocate without bound, blocks that unfold
// for ever, points beyond single precision or on the unset marker, special and oversized files.
#include "AppError.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "model/TMine.h"
#include "storage/FileErrors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// "code value|code value|..." as the lines of a file.
QByteArray Groups(const QString &pairs)
{
    QByteArray out;
    for (const QString &pair : pairs.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype blank = pair.indexOf(u' ');
        out += pair.left(blank).toUtf8() + '\n' + (blank < 0 ? QByteArray() : pair.mid(blank + 1).toUtf8()) + '\n';
    }
    return out;
}

// A whole file: header variables, blocks and entities given as Groups.
QByteArray Dxf(const QString &entities, const QString &blocks = QString(), const QString &header = QString())
{
    QByteArray out;
    if (!header.isEmpty())
        out += Groups(QStringLiteral("0 SECTION|2 HEADER|") + header + QStringLiteral("|0 ENDSEC"));
    if (!blocks.isEmpty())
        out += Groups(QStringLiteral("0 SECTION|2 BLOCKS|") + blocks + QStringLiteral("|0 ENDSEC"));
    out += Groups(QStringLiteral("0 SECTION|2 ENTITIES|") + entities + QStringLiteral("|0 ENDSEC|0 EOF"));
    return out;
}

QString Line(const QString &layer, double x1, double y1, double x2, double y2)
{
    auto n = [](double v) { return QString::number(v, 'g', 17); };
    return QStringLiteral("0 LINE|8 %1|10 %2|20 %3|30 0|11 %4|21 %5|31 0").arg(layer, n(x1), n(y1), n(x2), n(y2));
}

QString Block(const QString &name, const QString &contents)
{
    return QStringLiteral("0 BLOCK|8 0|2 %1|70 0|10 0|20 0|30 0|%2|0 ENDBLK|8 0").arg(name, contents);
}

QString Insert(const QString &block, const QString &layer, const QString &more = QString())
{
    return QStringLiteral("0 INSERT|8 %1|2 %2|10 0|20 0|30 0%3").arg(layer, block, more);
}

QString P(const TDxfPoint &p)
{
    return QStringLiteral("(%1 %2 %3)").arg(double(p.X), 0, 'f', 3).arg(double(p.Y), 0, 'f', 3).arg(double(p.Z), 0, 'f', 3);
}

// Paths as "layer: (x y z) ...", texts as "layer (x y z) text", skipped entities as "NAME n".
QStringList Dump(const TDxfDrawing &d)
{
    QStringList lines;
    for (const TDxfDrawing::TPath &p : d.Paths) {
        QString s = d.Layers[size_t(p.Layer)].Name + u':';
        for (qint32 k = 0; k < p.Count; ++k)
            s += u' ' + P(d.Points[size_t(p.First + k)]);
        lines << s;
    }
    for (const TDxfDrawing::TLabel &l : d.Labels)
        lines << d.Layers[size_t(l.Layer)].Name + u' ' + P(l.At) + u' ' + l.Text;
    for (const auto &[name, count] : d.Skipped)
        lines << QStringLiteral("%1 %2").arg(name).arg(count);
    if (d.Rounding > 0)
        lines << QStringLiteral("rounded %1").arg(d.Rounding, 0, 'f', 3);
    return lines;
}

QString Refusal(const std::function<void()> &run)
{
    try {
        run();
    } catch (const AppError &e) {
        return e.message();
    }
    return QStringLiteral("(accepted)");
}

} // namespace

class tst_DxfReader : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void layerColours();
    void refused_data();
    void refused();
    void files_data();
    void files();

private:
    QTemporaryDir m_dir;
};

void tst_DxfReader::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("dump");
    QTest::newRow("extrusion (0,0,-1) mirrors X and Z")
        << Dxf(QStringLiteral("0 LWPOLYLINE|8 A|90 2|70 0|38 5|10 1|20 2|10 3|20 4|210 0|220 0|230 -1"))
        << QStringList{"A: (-1.000 2.000 -5.000) (-3.000 4.000 -5.000)"};
    QTest::newRow("2D polyline at its elevation, a bulge as chords")
        << Dxf(QStringLiteral("0 POLYLINE|8 A|66 1|10 0|20 0|30 -50|70 0|0 VERTEX|8 A|10 0|20 0|30 7|42 1|"
                              "0 VERTEX|8 A|10 4|20 0|30 7|0 SEQEND|8 A"))
        << QStringList{"A: (0.000 0.000 -50.000) (2.000 -2.000 -50.000) (4.000 0.000 -50.000)"};
    QTest::newRow("array of inserts, layer 0 takes the insert's")
        << Dxf(Insert(QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("|70 2|71 1|44 100|45 0")),
               Block(QStringLiteral("B"), Line(QStringLiteral("0"), 0, 0, 10, 0)))
        << QStringList{"S: (0.000 0.000 0.000) (10.000 0.000 0.000)", "S: (100.000 0.000 0.000) (110.000 0.000 0.000)"};
    QTest::newRow("nested blocks, base point, a named layer kept")
        << Dxf(Insert(QStringLiteral("OUTER"), QStringLiteral("S"), QStringLiteral("|10 1000|41 2|42 2|43 2")),
               QStringLiteral("0 BLOCK|8 0|2 INNER|70 0|10 5|20 0|30 0|") + Line(QStringLiteral("0"), 5, 0, 6, 0) + u'|' +
                   Line(QStringLiteral("K"), 5, 0, 5, 1) + QStringLiteral("|0 ENDBLK|8 0|") +
                   Block(QStringLiteral("OUTER"), Insert(QStringLiteral("inner"), QStringLiteral("0"))))
        << QStringList{"S: (1000.000 0.000 0.000) (1002.000 0.000 0.000)", "K: (1000.000 0.000 0.000) (1000.000 2.000 0.000)"};
    QTest::newRow("paper space and other entities counted, not taken")
        << Dxf(QStringLiteral("0 LINE|8 A|67 1|10 0|20 0|30 0|11 1|21 0|31 0|0 CIRCLE|8 A|10 0|20 0|30 0|40 1|") +
               Line(QStringLiteral("A"), 0, 0, 0, 1))
        << QStringList{"A: (0.000 0.000 0.000) (0.000 1.000 0.000)", "CIRCLE 1", "LINE 1"};
    QTest::newRow("feet, Windows-1251 with an escape, MTEXT markup")
        << Dxf(QStringLiteral("0 LINE|8 \\U+0416 1|10 0|20 0|30 0|11 10|21 0|31 0|"
                              "0 MTEXT|8 0|10 5|20 1|30 0|40 1|1 {\\fArial;Штрек}\\P№ 5"),
               QString(), QStringLiteral("9 $INSUNITS|70 2"))
        << QStringList{"Ж 1: (0.000 0.000 0.000) (3.048 0.000 0.000)", "0 (1.524 0.305 0.000) Штрек № 5"};
    QTest::newRow("survey coordinates beyond single precision")
        << Dxf(Line(QStringLiteral("A"), 6543210.123, 0, 6543210.5, 1))
        << QStringList{"A: (6543210.000 0.000 0.000) (6543210.500 1.000 0.000)", "rounded 0.123"};
    QTest::newRow("UTF-8 from AutoCAD 2007 on")
        << Dxf(Line(QStringLiteral("Уклон"), 0, 0, 1, 0), QString(), QStringLiteral("9 $ACADVER|1 AC1021"))
        << QStringList{"Уклон: (0.000 0.000 0.000) (1.000 0.000 0.000)"};

    // Names of a Windows-1251 file are its bytes in that code page.
    QByteArray cp1251 = Dxf(Line(QStringLiteral("LAYER"), 0, 0, 1, 0), QString(), QStringLiteral("9 $DWGCODEPAGE|3 ANSI_1251"));
    cp1251.replace("LAYER", "\xD8\xF2\xF0\xE5\xEA");
    QTest::newRow("Windows-1251 names") << cp1251 << QStringList{"Штрек: (0.000 0.000 0.000) (1.000 0.000 0.000)"};
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF") + Dxf(Line(QStringLiteral("A"), 0, 0, 1, 0))
                                     << QStringList{"A: (0.000 0.000 0.000) (1.000 0.000 0.000)"};
    QTest::newRow("Windows line breaks, blanks about codes and numbers")
        << Dxf(Line(QStringLiteral("A"), 0, 0, 1, 0)).replace("\n", "\r\n").replace("\n0\r", "\n  0 \r").replace("\n1\r", "\n 1 \r")
        << QStringList{"A: (0.000 0.000 0.000) (1.000 0.000 0.000)"};
    // As the library reads it: a name with a blank is another name.
    QTest::newRow("a value keeps its blanks") << Dxf(Line(QStringLiteral("A"), 0, 0, 1, 0)).replace("LINE", "LINE ")
                                              << QStringList{"LINE  1"};
}

void tst_DxfReader::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, dump);
    QCOMPARE(Dump(DxfReader::Read(bytes, QStringLiteral("t.dxf"), {})), dump);
}

// Colours of the CAD colour index as AutoCAD's table has them, a layer switched off (a negative
// index) keeping its colour, and an exact colour beside the index winning.
void tst_DxfReader::layerColours()
{
    const QByteArray bytes =
        Groups(QStringLiteral("0 SECTION|2 TABLES|0 TABLE|2 LAYER|70 5|0 LAYER|2 A|70 0|62 13|0 LAYER|2 B|70 0|62 195|"
                              "0 LAYER|2 C|70 0|62 250|0 LAYER|2 D|70 0|62 -5|0 LAYER|2 E|70 0|62 1|420 1193046|"
                              "0 ENDTAB|0 ENDSEC")) +
        Dxf(Line(QStringLiteral("A"), 0, 0, 1, 0));
    QStringList colours;
    for (const TDxfDrawing::TLayer &l : DxfReader::Read(bytes, QStringLiteral("t.dxf"), {}).Layers)
        colours << QStringLiteral("%1 %2").arg(l.Name).arg(l.Color, 6, 16, QLatin1Char('0'));
    QCOMPARE(colours, (QStringList{"0 ffffff", "A 6666cc", "B 994c72", "C 333333", "D ff0000", "E 563412"}));
}

void tst_DxfReader::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QString line = Line(QStringLiteral("A"), 0, 0, 1, 0);
    QTest::newRow("not a DXF") << QByteArray("Это просто текст\n") << "это не файл DXF";
    QTest::newRow("empty") << QByteArray() << "это не файл DXF";
    QTest::newRow("not starting with a section") << Groups("0 LINE|8 A") << "это не файл DXF: он начинается не с раздела (0 SECTION)";
    QTest::newRow("binary DXF") << QByteArray("AutoCAD Binary DXF\r\n\x1a") + QByteArray(3, '\0') + "SECTION"
                                << "двоичный DXF не читается: сохраните чертёж как DXF в текстовом виде (ASCII)";
    QTest::newRow("nothing to import") << Dxf(QStringLiteral("0 CIRCLE|8 A|10 0|20 0|30 0|40 1"))
                                       << "в файле нет линий (LINE, POLYLINE, LWPOLYLINE, ARC)";
    QTest::newRow("beyond single precision") << Dxf(QStringLiteral("0 LINE|8 A|10 1e39|20 0|30 0|11 0|21 0|31 0"))
                                             << "строка 5 (LINE): координаты не помещаются в числа одинарной точности";
    QTest::newRow("the unset marker")
        << Dxf(QStringLiteral("0 LINE|8 A|10 0|20 0|30 0|11 0|21 -777777|31 0"))
        << "строка 5 (LINE): координата равна -777777, а этим числом программа отмечает незаданные значения";
    QByteArray cut = Dxf(line);
    cut.chop(8);
    QTest::newRow("cut before its end") << cut << "файл обрывается: нет завершающей группы EOF";
    QTest::newRow("cut in a pair") << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n") << "файл обрывается на строке 7: нет значения группы";
    QTest::newRow("LWPOLYLINE claiming 2,000,000,000 vertices")
        << Dxf(QStringLiteral("0 LWPOLYLINE|8 A|90 2000000000|70 0|10 0|20 0"))
        << "строка 5: в LWPOLYLINE группа 90 обещает 2000000000, а задано 1";
    QTest::newRow("LWPOLYLINE without its count") << Dxf(QStringLiteral("0 LWPOLYLINE|8 A|70 0|10 0|20 0|10 1|20 1"))
                                                  << "строка 5: в LWPOLYLINE нет группы 90 (число вершин)";
    QTest::newRow("LWPOLYLINE counting twice") << Dxf(QStringLiteral("0 LWPOLYLINE|8 A|90 1|90 1|10 0|20 0"))
                                               << "строка 5: в LWPOLYLINE группа 90 повторяется";
    QTest::newRow("SPLINE whose count overflows") << Dxf(QStringLiteral("0 SPLINE|8 A|73 1073741825|10 0|20 0|30 0"))
                                                  << "строка 5: в SPLINE группа 73 обещает 1073741825, а задано 1";
    QTest::newRow("LEADER claiming vertices") << Dxf(QStringLiteral("0 LEADER|8 A|76 100000000"))
                                              << "строка 5: в LEADER группа 76 обещает 100000000, а задано 0";
    QTest::newRow("a line past the library's buffer") << Dxf(QStringLiteral("0 LINE|8 ") + QString(1100, u'x'))
                                                      << "строка 8 длиннее 1023 знаков: это не DXF или файл повреждён";
    QTest::newRow("text for a number") << Dxf(QStringLiteral("0 LINE|8 A|10 abc")) << "строка 10: группа 10 должна быть числом, а не \"abc\"";
    QTest::newRow("text for a whole number") << Dxf(QStringLiteral("0 LINE|8 A|62 1.5"))
                                             << "строка 10: группа 62 должна быть целым числом, а не \"1.5\"";
    QTest::newRow("text for a code") << Dxf(QStringLiteral("0 LINE|zz A")) << "строка 7: вместо кода группы \"zz\": файл повреждён";
    QTest::newRow("a zero byte") << Dxf(QStringLiteral("0 LINE|8 A\tB")).replace('\t', '\0') << "в строке 8 нулевой байт: это не текстовый файл DXF";
    QTest::newRow("the library's comment without its version") << Groups("999 dxflib") + Dxf(line)
                                                                << "строка 2: комментарий dxflib без номера версии";
    QTest::newRow("a block inserted into itself")
        << Dxf(Insert(QStringLiteral("B"), QStringLiteral("0")), Block(QStringLiteral("B"), line + u'|' + Insert(QStringLiteral("B"), QStringLiteral("0"))))
        << "строка 35: блок \"B\" вставлен сам в себя";
    QString deep;
    for (int i = 0; i < 40; ++i)
        deep += Block(QStringLiteral("B%1").arg(i), i == 39 ? line : Insert(QStringLiteral("B%1").arg(i + 1), QStringLiteral("0"))) + u'|';
    deep.chop(1);
    QTest::newRow("blocks nested 40 deep") << Dxf(Insert(QStringLiteral("B0"), QStringLiteral("0")), deep)
                                           << "строка 949: блоки вложены глубже 32 уровней";
    QString wide;
    for (int i = 0; i < 8; ++i)
        wide += Block(QStringLiteral("W%1").arg(i), i == 7 ? line : Insert(QStringLiteral("W%1").arg(i + 1), QStringLiteral("0"), QStringLiteral("|70 10|71 10"))) + u'|';
    wide.chop(1);
    QTest::newRow("ten to the sixteenth lines") << Dxf(Insert(QStringLiteral("W0"), QStringLiteral("0")), wide)
                                                << QStringLiteral("чертёж разворачивается больше чем в %L1 отрезков").arg(DxfReader::kMaxSegments);
    QTest::newRow("an arc of a billion chords") << Dxf(QStringLiteral("0 ARC|8 A|10 0|20 0|30 0|40 1e30|50 0|51 359"))
                                                << QStringLiteral("чертёж разворачивается больше чем в %L1 отрезков").arg(DxfReader::kMaxSegments);
}

void tst_DxfReader::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString got = Refusal([&] {
        TMine mine;
        DxfNetwork::Build(mine, DxfReader::Read(bytes, QStringLiteral("t.dxf"), {}), {});
    });
    QCOMPARE(got, message.startsWith(QStringLiteral("в файле нет")) ? message : QStringLiteral("t.dxf: ") + message);
}

// Files are read only when they are ordinary files of a size the import reads.
void tst_DxfReader::files_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.dxf"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    const QString big = m_dir.filePath(QStringLiteral("big.dxf"));
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(DxfReader::kMaxBytes + 1));   // sparse: no disk taken
    const QString missing = m_dir.filePath(QStringLiteral("missing.dxf"));
    QTest::newRow("a pipe") << pipe << pipe + QStringLiteral(": ") + FileErrors::NotRegularText();
    QTest::newRow("a device") << QStringLiteral("/dev/zero") << QStringLiteral("/dev/zero: ") + FileErrors::NotRegularText();
    QTest::newRow("a folder") << m_dir.path() << m_dir.path() + QStringLiteral(": ") + FileErrors::NotRegularText();
    QTest::newRow("missing") << missing << missing + QStringLiteral(": ") + FileErrors::Text(FileErrors::FileNotFound);
    QTest::newRow("past the size bound") << big << big + QStringLiteral(": файл больше 512 МиБ, таких импорт DXF не читает");
}

void tst_DxfReader::files()
{
    QFETCH(QString, path);
    QFETCH(QString, message);
    QCOMPARE(Refusal([&] { DxfReader::ReadFile(path, {}); }), message);
}

QTEST_GUILESS_MAIN(tst_DxfReader)
#include "tst_DxfReader.moc"
