// Writing a mine as a DXF drawing and reading it back: the sample mine comes back as the same
// network (node positions exact, branch ends, seams) up to numbering; stoppings, labels and seam
// colours are where they belong; single-precision numbers survive to the bit; branches that
// cannot be drawn are listed and left out; a failed write is reported.
#include "MineText.h"

#include "AppError.h"
#include "exchange/DxfNetwork.h"
#include "exchange/DxfReader.h"
#include "exchange/DxfWriter.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

QByteArray Exported(const TMine &mine, quint8 labels = 0, TDxfExportReport *report = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!DxfWriter::Write(mine, buffer, {labels}, report))
        return {};
    return buffer.data();
}

TDxfDrawing Drawing(const QByteArray &bytes) { return DxfReader::Read(bytes, QStringLiteral("out.dxf"), {}); }

QString Point(const TUzel *u)
{
    return QStringLiteral("%1 %2 %3").arg(double(u->X()), 0, 'g', 9).arg(double(u->Y()), 0, 'g', 9).arg(double(u->Z()), 0, 'g', 9);
}

// The network without its numbers: each branch as its two end points, in order, and its seam.
QStringList Shape(const TMine &mine)
{
    QStringList lines;
    for (const TBranch *b : mine.Branches()) {
        QString ends[2] = {Point(mine.Uzels().Find(b->StartNumber())), Point(mine.Uzels().Find(b->EndNumber()))};
        const QString seam = b->LayerIndex() >= 0 ? mine.Layers().Items(b->LayerIndex())->Name() : QString();
        lines << ends[0] + QStringLiteral(" - ") + ends[1] + QStringLiteral(" ") + seam;
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A device that takes a few bytes and then fails, like a full disk.
class TFullDisk : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        m_room -= len;
        return m_room >= 0 ? len : -1;
    }

private:
    qint64 m_room = 1000;
};

} // namespace

class tst_DxfWriter : public QObject {
    Q_OBJECT
private slots:
    void sampleMineRoundTrip();
    void stoppingsLabelsAndColours();
    void exactNumbers();
    void leftOutAndRenamed();
    void failedWrite();
};

void tst_DxfWriter::sampleMineRoundTrip()
{
    TMineDocument doc;
    TMineFile::Load(doc, QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf"));
    const TMine &original = *doc.Mine();
    TDxfExportReport exported;
    const QByteArray bytes = Exported(original, 0, &exported);
    QCOMPARE(exported.Lines, original.Branches().Count());
    QCOMPARE(exported.Stoppings, original.Jumpers().Count());
    QVERIFY(exported.LeftOut.isEmpty() && exported.Renamed.isEmpty());

    TMine back;
    const TDxfImportReport imported = DxfNetwork::Build(back, Drawing(bytes), {});
    QCOMPARE(imported.Nodes, original.Uzels().Count());
    QCOMPARE(imported.Branches, original.Branches().Count());
    QCOMPARE(imported.Notes, QStringList{QStringLiteral("слой \"Перемычки\" не взят: на нём выгрузка в DXF рисует перемычки")});
    QCOMPARE(Shape(back), Shape(original));
    for (int i = 0; i < back.Layers().Count(); ++i) {
        const TLayer *seam = back.Layers().Items(i);
        const auto same = std::find_if(original.Layers().begin(), original.Layers().end(),
                                       [&](const TLayer *l) { return l->Name() == seam->Name(); });
        QVERIFY(same != original.Layers().end());
        QCOMPARE(seam->Color(), (*same)->Color());
    }
}

void tst_DxfWriter::stoppingsLabelsAndColours()
{
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 -10; u 2 10 0 -10; u 3 10 20 -10; b 5 1 2; b 6 2 3"));
    auto *seam = new TLayer(&mine);
    seam->SetName(QStringLiteral("Пласт k5"));
    seam->SetColor(0x123456);   // no colour of the index: written beside it exactly
    mine.Branches().Items(1)->SetLayerIndex(0);
    new TJumper(mine.Branches().Items(1), 0.3);

    QStringList dump;
    for (quint8 labels : {1, 2}) {
        const TDxfDrawing d = Drawing(Exported(mine, labels));
        for (const TDxfDrawing::TLabel &l : d.Labels)
            dump << QStringLiteral("%1 %2 %3 %4").arg(d.Layers[size_t(l.Layer)].Name, l.Text).arg(double(l.At.X)).arg(double(l.At.Y));
        if (labels == 1) {
            for (const TDxfDrawing::TPath &p : d.Paths) {
                const TDxfPoint &a = d.Points[size_t(p.First)], &b = d.Points[size_t(p.First + 1)];
                dump << QStringLiteral("%1 (%2 %3 %4) (%5 %6 %7)").arg(d.Layers[size_t(p.Layer)].Name)
                            .arg(double(a.X)).arg(double(a.Y)).arg(double(a.Z)).arg(double(b.X)).arg(double(b.Y)).arg(double(b.Z));
            }
            for (const TDxfDrawing::TLayer &l : d.Layers)
                dump << QStringLiteral("%1 %2").arg(l.Name).arg(l.Color, 6, 16, QLatin1Char('0'));
        }
    }
    // Strokes are a tenth of the middle branch (20 m) long; labels as high.
    QCOMPARE(dump, (QStringList{"Ветви 5 5 0", "Ветви 6 10 10",
                                "Пласт k5 (0 0 -10) (10 0 -10)", "Перемычки (3 -1 -10) (3 1 -10)", "0 (10 0 -10) (10 20 -10)",
                                "0 ffffff", "Пласт k5 123456", "Перемычки 0000ff", "Ветви 00ff00",
                                "Узлы 1 0 0", "Узлы 2 10 0", "Узлы 3 10 20"}));
}

void tst_DxfWriter::exactNumbers()
{
    TMine mine;
    const float values[] = {0.1f, 123456.789f, -1e-7f, 3e38f, -6543210.5f, 16777217.0f};
    mine.AddUzel(1, 0, 0, 0);
    for (int i = 0; i < 6; ++i)
        mine.AddUzel(i + 2, values[i], values[(i + 1) % 6], values[(i + 2) % 6]);
    for (int i = 0; i < 6; ++i)
        mine.AddBranch(i + 1, 1, i + 2, QString(), 1);
    const TDxfDrawing d = Drawing(Exported(mine));
    QVERIFY(d.Rounding == 0);
    for (int i = 0; i < 6; ++i) {
        const TDxfPoint &p = d.Points[size_t(d.Paths[size_t(i)].First + 1)];
        QVERIFY(p.X == values[i] && p.Y == values[(i + 1) % 6] && p.Z == values[(i + 2) % 6]);
    }
}

void tst_DxfWriter::leftOutAndRenamed()
{
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 1 0 0; u 3 - 0 0; b 1 1 2; b 2 2 3; b 3 1 9; b 4 1 -; b 5 2 1; b 6 1 2"));
    const char *names[] = {"A/B", "Штрек", "штрек", "Перемычки"};
    for (int i = 0; i < 4; ++i)
        (new TLayer(&mine))->SetName(QString::fromUtf8(names[i]));
    mine.Branches().Items(1)->SetLayerIndex(0);
    mine.Branches().Items(5)->SetLayerIndex(1);
    TDxfExportReport report;
    QVERIFY(!Exported(mine, 0, &report).isEmpty());
    QCOMPARE(report.LeftOut, (QStringList{"ветвь 2: у узла 3 не заданы координаты", "ветвь 3: нет узла 9",
                                          "ветвь 4: не задан конечный узел"}));
    QCOMPARE(report.Renamed, QStringList{"пласт \"A/B\" записан слоем \"A_B\""});
    QCOMPARE(report.Summary(), QStringLiteral("ветвей: 3, перемычек: 0, пропущено ветвей: 3"));

    // Seams whose names CAD programs take for one layer become layers of their own.
    mine.Branches().Items(1)->SetLayerIndex(1);
    mine.Branches().Items(5)->SetLayerIndex(2);
    mine.Branches().Items(6)->SetLayerIndex(3);
    Exported(mine, 0, &report);
    QCOMPARE(report.Renamed, (QStringList{"пласт \"штрек\" записан слоем \"штрек (2)\"",
                                          "пласт \"Перемычки\" записан слоем \"Перемычки (2)\""}));
}

void tst_DxfWriter::failedWrite()
{
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 1 0 0; b 1 1 2"));
    TFullDisk disk;
    disk.open(QIODevice::WriteOnly);
    QVERIFY(!DxfWriter::Write(mine, disk, {}, nullptr));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/plan.dxf"));
    try {
        DxfWriter::Export(mine, path, {});
        QFAIL("written into a folder that is not there");
    } catch (const AppError &e) {
        QVERIFY(e.message().startsWith(path + QStringLiteral(": ")));
    }
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(tst_DxfWriter)
#include "tst_DxfWriter.moc"
