#include "exchange/DxfWriter.h"

#include "AppError.h"
#include "exchange/DxfColors.h"
#include "exchange/DxfNetwork.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/FileErrors.h"   // TFileError
#include "storage/TSafeFile.h"

#include <QIODevice>
#include <QSet>
#include <QStringEncoder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

namespace {

// dxflib's ASCII writer, its groups going into a device instead of a file of its own, so that
// the file is replaced only once complete and every write is checked. The library writes through
// these five calls alone; the file name given to the base names nothing and opens nothing.
class TDeviceWriter : public DL_WriterA {
public:
    explicit TDeviceWriter(QIODevice &out) : DL_WriterA("", DL_VERSION_2000), FOut(out) {}

    void dxfReal(int gc, double value) const override
    {
        // A single-precision value of the mine in its fewest digits; others in a double's.
        char buf[64];
        const float f = float(value);
        const auto r = double(f) == value ? std::to_chars(buf, buf + sizeof buf, f) : std::to_chars(buf, buf + sizeof buf, value);
        Group(gc, std::string_view(buf, size_t(r.ptr - buf)));
    }
    void dxfInt(int gc, int value) const override { Group(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override
    {
        char buf[16];
        const auto r = std::to_chars(buf, buf + sizeof buf, unsigned(value), 16);
        std::string s(buf, r.ptr);
        std::transform(s.begin(), s.end(), s.begin(), ::toupper);
        Group(gc, s);
    }
    void dxfString(int gc, const char *value) const override { Group(gc, value ? value : ""); }
    void dxfString(int gc, const std::string &value) const override { Group(gc, value); }

    bool Finish() const
    {
        Flush();
        return !FFailed;
    }

private:
    void Group(int gc, std::string_view value) const
    {
        // Codes right-aligned in three places, as CAD programs write them.
        const char *pad = gc < 10 ? "  " : gc < 100 ? " " : "";
        FBuffer += pad;
        FBuffer += std::to_string(gc);
        FBuffer += '\n';
        FBuffer.append(value.data(), value.size());
        FBuffer += '\n';
        if (FBuffer.size() >= 256 * 1024)
            Flush();
    }
    void Flush() const
    {
        if (!FFailed && !FBuffer.empty() && FOut.write(FBuffer.data(), qint64(FBuffer.size())) != qint64(FBuffer.size()))
            FFailed = true;
        FBuffer.clear();
    }

    QIODevice &FOut;
    mutable std::string FBuffer;
    mutable bool FFailed = false;
};

std::string Cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), size_t(bytes.size()));
}

// A seam's name as a layer name CAD programs take: no control characters and none of
// < > / \ " : ; ? * | , = `, at most 255 characters, no clash with another layer (letter case
// aside, as CAD compares names).
QString LayerName(const QString &name, int seam, QSet<QString> &taken)
{
    QString s;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Control)
            s.append(u' ');
        else if (QStringLiteral("<>/\\\":;?*|,=`").contains(c))
            s.append(u'_');
        else
            s.append(c);
    }
    s = s.simplified().left(240);
    if (s.isEmpty())
        s = QStringLiteral("Пласт %1").arg(seam + 1);
    QString unique = s;
    for (int n = 2; taken.contains(unique.toUpper()); ++n)
        unique = QStringLiteral("%1 (%2)").arg(s).arg(n);
    taken.insert(unique.toUpper());
    return unique;
}

struct TLine {
    const TBranch *Branch;
    const TUzel *Start, *End;
    int Layer;   // index into the layer list written
};

} // namespace

QString TDxfExportReport::Summary() const
{
    return QStringLiteral("ветвей: %1, перемычек: %2, пропущено ветвей: %3").arg(Lines).arg(Stoppings).arg(LeftOut.size());
}

namespace DxfWriter {

bool Write(const TMine &mine, QIODevice &out, const TDxfExportOptions &options, TDxfExportReport *report)
{
    TDxfExportReport r;
    auto coordinatesSet = [](const TUzel *u) { return !IsUnset(u->X()) && !IsUnset(u->Y()) && !IsUnset(u->Z()); };

    // Layers: "0", a layer per seam that has a drawn branch, then the stoppings' and labels'.
    struct TLayerOut {
        QString Name;
        quint32 Color;
    };
    std::vector<TLayerOut> layers{{QStringLiteral("0"), 0xFFFFFF}};
    QSet<QString> taken{QStringLiteral("0"), DxfNetwork::StoppingsLayer().toUpper(), QStringLiteral("УЗЛЫ"), QStringLiteral("ВЕТВИ")};
    std::vector<int> layerOfSeam(size_t(mine.Layers().Count()), -1);
    std::vector<TLine> lines;
    int stoppings = 0;
    for (const TBranch *b : mine.Branches()) {
        if (b->IsEmpty())
            continue;
        const TUzel *ends[2] = {mine.Uzels().Find(b->StartNumber()), mine.Uzels().Find(b->EndNumber())};
        const qint32 numbers[2] = {b->StartNumber(), b->EndNumber()};
        QString why;
        for (int k = 0; k < 2 && why.isEmpty(); ++k) {
            if (!ends[k])
                why = IsUnset(numbers[k]) ? QStringLiteral("не задан %1 узел").arg(k == 0 ? QStringLiteral("начальный") : QStringLiteral("конечный"))
                                          : QStringLiteral("нет узла %1").arg(numbers[k]);
            else if (!coordinatesSet(ends[k]))
                why = QStringLiteral("у узла %1 не заданы координаты").arg(numbers[k]);
        }
        if (!why.isEmpty()) {
            r.LeftOut << QStringLiteral("ветвь %1: %2").arg(IsUnset(b->Number()) ? QStringLiteral("без номера") : QString::number(b->Number()), why);
            continue;
        }
        int layer = 0;
        const qint32 seam = b->LayerIndex();
        if (seam >= 0 && seam < mine.Layers().Count()) {
            int &l = layerOfSeam[size_t(seam)];
            if (l < 0) {
                const TLayer *s = mine.Layers().Items(seam);
                l = int(layers.size());
                layers.push_back({LayerName(s->Name(), seam, taken), s->Color()});
                if (layers.back().Name != s->Name())
                    r.Renamed << QStringLiteral("пласт \"%1\" записан слоем \"%2\"").arg(s->Name(), layers.back().Name);
            }
            layer = l;
        }
        lines.push_back({b, ends[0], ends[1], layer});
        stoppings += b->Jumpers().Count();
    }
    const int stoppingLayer = stoppings > 0 ? int(layers.size()) : -1;
    if (stoppingLayer >= 0)
        layers.push_back({DxfNetwork::StoppingsLayer(), DxfColors::AciColor(1)});
    const int labelLayer = options.Labels == 1 || options.Labels == 2 ? int(layers.size()) : -1;
    if (labelLayer >= 0)
        layers.push_back({options.Labels == 1 ? QStringLiteral("Ветви") : QStringLiteral("Узлы"), DxfColors::AciColor(options.Labels == 1 ? 3 : 5)});

    // The size of strokes and labels: a tenth of the middle branch's length, in 0.1..10 m.
    std::vector<double> lengths;
    lengths.reserve(lines.size());
    auto length = [](const TUzel *a, const TUzel *b) {
        return std::sqrt(std::pow(double(b->X()) - a->X(), 2) + std::pow(double(b->Y()) - a->Y(), 2) + std::pow(double(b->Z()) - a->Z(), 2));
    };
    for (const TLine &l : lines)
        lengths.push_back(length(l.Start, l.End));
    double size = 1.0;
    if (!lengths.empty()) {
        std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
        size = std::clamp(float(lengths[lengths.size() / 2] / 10), 0.1f, 10.0f);
    }

    TDeviceWriter dw(out);
    DL_Dxf dxf;
    dxf.writeHeader(dw);
    dw.dxfString(9, "$DWGCODEPAGE");
    dw.dxfString(3, "ANSI_1251");
    dw.dxfString(9, "$INSUNITS");
    dw.dxfInt(70, 6);
    dw.dxfString(9, "$MEASUREMENT");
    dw.dxfInt(70, 1);
    dw.sectionEnd();

    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(int(layers.size()));
    for (const TLayerOut &l : layers) {
        const int aci = DxfColors::NearestAci(l.Color);
        const int exact = DxfColors::AciColor(aci) == l.Color ? -1 : int(DxfColors::ToTrueColor(l.Color));
        dxf.writeLayer(dw, DL_LayerData(Cp1251(l.Name), 0), DL_Attributes(std::string(), aci, exact, -1, "CONTINUOUS"));
    }
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 2.5, 1.25, 0.625, 0.625, 2.5);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();

    dw.sectionBlocks();
    for (const char *space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, space);
    }
    dw.sectionEnd();

    dw.sectionEntities();
    std::vector<std::string> layerNames;
    for (const TLayerOut &l : layers)
        layerNames.push_back(Cp1251(l.Name));
    auto attributes = [&](int layer) { return DL_Attributes(layerNames[size_t(layer)], 256, -1, -1, "BYLAYER"); };
    for (const TLine &l : lines) {
        const TUzel *a = l.Start, *b = l.End;
        dxf.writeLine(dw, DL_LineData(a->X(), a->Y(), a->Z(), b->X(), b->Y(), b->Z()), attributes(l.Layer));
        ++r.Lines;
        // A stopping: a stroke across the branch in plan, as long as the labels are high.
        double dx = double(b->X()) - a->X(), dy = double(b->Y()) - a->Y();
        const double plan = std::hypot(dx, dy);
        if (plan > 0) {
            dx /= plan;
            dy /= plan;
        } else {
            dx = 0;
            dy = 1;
        }
        for (const TJumper *j : l.Branch->Jumpers()) {
            const double p = std::clamp(j->Position(), 0.0, 1.0);
            const double x = a->X() + p * (double(b->X()) - a->X()), y = a->Y() + p * (double(b->Y()) - a->Y());
            const double z = a->Z() + p * (double(b->Z()) - a->Z());
            const double h = size / 2;
            dxf.writeLine(dw, DL_LineData(float(x + dy * h), float(y - dx * h), float(z), float(x - dy * h), float(y + dx * h), float(z)),
                          attributes(stoppingLayer));
            ++r.Stoppings;
        }
    }
    auto label = [&](double x, double y, double z, qint32 number) {
        const std::string text = std::to_string(number);
        dxf.writeText(dw, DL_TextData(float(x), float(y), float(z), float(x), float(y), float(z), size, 1.0, 0, 0, 0, text, "Standard", 0.0),
                      attributes(labelLayer));
        ++r.Labels;
    };
    if (options.Labels == 1) {
        for (const TLine &l : lines)
            if (!IsUnset(l.Branch->Number()))
                label((double(l.Start->X()) + l.End->X()) / 2, (double(l.Start->Y()) + l.End->Y()) / 2,
                      (double(l.Start->Z()) + l.End->Z()) / 2, l.Branch->Number());
    } else if (options.Labels == 2) {
        for (const TUzel *u : mine.Uzels())
            if (!IsUnset(u->Number()) && coordinatesSet(u))
                label(u->X(), u->Y(), u->Z(), u->Number());
    }
    dw.sectionEnd();
    dxf.writeObjects(dw);
    dxf.writeObjectsEnd(dw);
    dw.dxfEOF();

    if (report)
        *report = r;
    return dw.Finish();
}

TDxfExportReport Export(const TMine &mine, const QString &path, const TDxfExportOptions &options)
{
    TDxfExportReport report;
    try {
        TSafeFile file(path);
        file.Open();
        Write(mine, file, options, &report);
        file.Commit();   // raises what any write failed with
    } catch (const TFileError &e) {
        throw AppError(QStringLiteral("%1: %2").arg(e.Path(), e.Reason()));
    }
    return report;
}

} // namespace DxfWriter
