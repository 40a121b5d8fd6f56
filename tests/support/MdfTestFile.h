#pragma once
// Mine files of any version put together byte by byte for the tests, straight from the file's
// layout tables. It shares nothing with the program's writer, so a test that reads what this
// builds checks the reader against the layout, not against the writer's own idea of it.
#include <QByteArray>
#include <QList>
#include <QtEndian>
#include <optional>

namespace mdftest {

struct Person {
    double Position = 0.5;
    qint32 TabNumber = 0;
    QByteArray FullName;
    qint32 Site = 0;
    QByteArray JobTitle;
};

struct Node {
    qint32 Number = 1;
    float X = 0, Y = 0, Z = 0;
    quint8 Surface = 0;
    qint32 Extra1 = -1, Extra2 = -1;
};

struct Branch {
    qint32 NormalResult = -1;
    qint32 Number = 1, StartNumber = 1, EndNumber = 2;
    float Section = 10.0f, Perimeter = 0.0f;
    quint8 Shape = 0;
    float VolumeFactor = 1.0f, ExtraVolume = 0.0f;
    quint8 Roughness = 0, Gas1Kind = 0, Gas1 = 0, Zone3 = 0, Zone4 = 0;
    float Gas1From = 0, Gas1To = 0, Zone3From = 0, Zone3To = 0, Zone4From = 0, Zone4To = 0;
    quint8 Reserved = 0, OptA = 1;
    float OptA1 = 0, OptA2 = 0;
    qint32 LayerIndex = -1;
    double Resistance = 0;
    std::optional<qint16> People16; // defaults to the low 16 bits of People.size()
    qint32 RouteResult = -1, LinkIndex = -1;
    quint8 Gas2Kind = 0, Gas2 = 0;
    float Gas2From = 0, Gas2To = 0;
    quint8 OptB = 1;
    float OptB1 = 0, OptB2 = 0;
    qint32 PLFIndex = -1;
    std::optional<qint32> PeopleCount; // defaults to People.size()
    QByteArray Comment, Name;
    QList<Person> People; // written only by 1.19 files
};

struct Stopping {
    qint32 BranchIndex = 1; // 1-based
    QByteArray Caption;
    quint8 Material = 0, Vent = 0;
    double Position = 0.5, Thickness = 0, Depression = 0, Flow = 0, Resistance = 0;
    quint8 Measured = 0;
    double ReverseResistance = 0, BreakPressure = 0;
    quint8 Opening = 0;
    double OpeningArea = 0;
    quint8 Doors = 0, CutIn = 0, NormalHit = 0;
    qint32 NormalStep = 0;
    double NormalValues[3] = {0, 0, 0};
    quint8 RouteHit = 0;
    qint32 RouteStep = 0;
    double RouteValues[3] = {0, 0, 0};
};

struct OldStopping {
    qint32 BranchIndex = 1;
    float BreakPressure = 0, Position = 0.5f;
    quint8 NormalHit = 0;
    float ThicknessCm = 0;
    quint8 Material = 0;
    qint32 NormalStep = 0; // not in the 18-byte records of the files marked 1.05
};

struct Group {
    quint8 Visible = 1;
    QByteArray Name;
    qint32 Color = 0xFFFFFF;
};

struct LayoutEntry {
    quint8 Kind = 0, Shown = 1;
};

// Little-endian appending.
class Bytes {
public:
    QByteArray Data;
    template<typename T> void Put(T v)
    {
        char b[sizeof(T)];
        qToLittleEndian(v, b);
        Data.append(b, qsizetype(sizeof(T)));
    }
    void U8(quint8 v) { Data.append(char(v)); }
    void I16(qint16 v) { Put(v); }
    void I32(qint32 v) { Put(v); }
    void F32(float v) { Put(v); }
    void F64(double v) { Put(v); }
    void Str(const QByteArray &s)
    {
        I32(qint32(s.size()));
        Data.append(s);
    }
};

// A fixed record: fields are put at their offsets and only while the record is long enough.
class Record {
public:
    explicit Record(int size) : Data(size, '\0') {}
    QByteArray Data;
    template<typename T> void Put(int offset, T v)
    {
        if (offset + int(sizeof(T)) <= Data.size())
            qToLittleEndian(v, Data.data() + offset);
    }
    void U8(int offset, quint8 v) { Put(offset, v); }
};

struct File {
    QByteArray Signature = "Tarvelian";
    quint8 Major = 1, Minor = 19;
    std::optional<qint32> SizeField; // defaults to the real size
    QByteArray Title = "Test";
    qint32 Temperature = 20;
    float Pressure = 1.0f;
    quint8 AutoUpdate = 1;
    qint32 AutoUpdateIterations = 50, SaveIterations = 25;
    float CellLength = 4.0f;
    qint32 Reserved1 = 0;
    float BoomSpeed = 10.0f;
    quint8 Calculated = 0, Reserved2 = 0;
    std::optional<qint32> NodeCount, BranchCount, NoteCount, LayerCount, PLFCount, StoppingCount;
    quint8 CalcMethod = 0;
    QList<QByteArray> Notes;
    QList<LayoutEntry> NodeLayout;   // empty: kinds 0..3, shown
    QList<LayoutEntry> BranchLayout; // empty: the default, kinds 4.. in order, as many as the version has
    QList<Group> Layers, PLFs;
    QList<Node> Nodes;
    QList<Branch> Branches;
    QList<Stopping> Stoppings;       // versions 1.08 on
    QList<OldStopping> OldStoppings; // versions 1.05 to 1.07
    QByteArray Tail;                 // bytes after the stoppings

    int Version() const { return Major == 1 && Minor == 51 ? 105 : 100 * Major + Minor; }

    static int NodeSize(int v) { return v >= 114 ? 25 : v >= 106 ? 21 : 17; }
    static int BranchSize(int v)
    {
        if (v >= 119) return 121;
        if (v == 117 || v == 118) return 117;
        if (v == 116) return 113;
        if (v == 115) return 94;
        if (v == 114) return 90;
        if (v >= 111 && v <= 113) return 86;
        if (v == 110) return 84;
        if (v == 109) return 76;
        if (v == 107 || v == 108) return 72;
        return 63;
    }
    static int LayoutCount(int v)
    {
        if (v < 110) return 11;
        if (v == 110) return 12;
        if (v == 111) return 13;
        if (v <= 118) return 14;
        return 15;
    }

    QByteArray Build() const
    {
        const int v = Version();
        Bytes out;
        out.Data.append(Signature);
        out.U8(Major);
        out.U8(Minor);
        out.I32(0);
        out.Str(Title);
        out.I32(Temperature);
        out.F32(Pressure);
        out.U8(AutoUpdate);
        out.I32(AutoUpdateIterations);
        out.I32(SaveIterations);
        out.F32(CellLength);
        out.I32(Reserved1);
        out.F32(BoomSpeed);
        out.U8(Calculated);
        out.U8(Reserved2);
        out.I32(NodeCount.value_or(qint32(Nodes.size())));
        out.I32(BranchCount.value_or(qint32(Branches.size())));
        out.I32(NoteCount.value_or(qint32(Notes.size())));
        if (v >= 113)
            out.U8(CalcMethod);
        for (const QByteArray &n : Notes)
            out.Str(n);
        for (int i = 0; i < 4; ++i) {
            const LayoutEntry e = i < NodeLayout.size() ? NodeLayout[i] : LayoutEntry{quint8(i), 1};
            out.U8(e.Kind);
            out.U8(e.Shown);
        }
        for (int i = 0; i < LayoutCount(v); ++i) {
            // The default layout hides the volume coefficient (11) and additional volume (12).
            const LayoutEntry e = i < BranchLayout.size() ? BranchLayout[i]
                                                          : LayoutEntry{quint8(4 + i), quint8(i == 7 || i == 8 ? 0 : 1)};
            out.U8(e.Kind);
            out.U8(e.Shown);
        }
        if (v >= 109) {
            out.I32(LayerCount.value_or(qint32(Layers.size())));
            for (const Group &g : Layers) {
                out.U8(g.Visible);
                out.Str(g.Name);
                out.I32(g.Color);
            }
        }
        if (v >= 117) {
            out.I32(PLFCount.value_or(qint32(PLFs.size())));
            for (const Group &g : PLFs) {
                out.U8(g.Visible);
                out.Str(g.Name);
                out.I32(g.Color);
                out.I32(0);
            }
        }
        for (const Node &n : Nodes) {
            Record r(NodeSize(v));
            r.Put(0, n.Number);
            r.Put(4, n.X);
            r.Put(8, n.Y);
            r.Put(12, n.Z);
            r.U8(16, n.Surface);
            r.Put(17, n.Extra1);
            r.Put(21, n.Extra2);
            out.Data.append(r.Data);
        }
        for (const Branch &b : Branches) {
            Record r(BranchSize(v));
            r.Put(0, b.NormalResult);
            r.Put(4, b.Number);
            r.Put(8, b.StartNumber);
            r.Put(12, b.EndNumber);
            r.Put(16, b.Section);
            r.Put(20, b.Perimeter);
            r.U8(24, b.Shape);
            r.Put(25, b.VolumeFactor);
            r.Put(29, b.ExtraVolume);
            r.U8(33, b.Roughness);
            r.U8(34, b.Gas1Kind);
            r.U8(35, b.Gas1);
            r.U8(36, b.Zone3);
            r.U8(37, b.Zone4);
            r.Put(38, b.Gas1From);
            r.Put(42, b.Gas1To);
            r.Put(46, b.Zone3From);
            r.Put(50, b.Zone3To);
            r.Put(54, b.Zone4From);
            r.Put(58, b.Zone4To);
            r.U8(62, b.Reserved);
            r.U8(63, b.OptA);
            r.Put(64, b.OptA1);
            r.Put(68, b.OptA2);
            r.Put(72, b.LayerIndex);
            r.Put(76, b.Resistance);
            r.Put(84, b.People16.value_or(qint16(b.People.size() & 0xFFFF)));
            r.Put(86, b.RouteResult);
            r.Put(90, b.LinkIndex);
            r.U8(94, b.Gas2Kind);
            r.U8(95, b.Gas2);
            r.Put(96, b.Gas2From);
            r.Put(100, b.Gas2To);
            r.U8(104, b.OptB);
            r.Put(105, b.OptB1);
            r.Put(109, b.OptB2);
            r.Put(113, b.PLFIndex);
            r.Put(117, b.PeopleCount.value_or(qint32(b.People.size())));
            out.Data.append(r.Data);
            out.Str(b.Comment);
            if (v >= 112)
                out.Str(b.Name);
            if (v >= 119) {
                for (const Person &p : b.People) {
                    out.F64(p.Position);
                    out.I32(p.TabNumber);
                    out.Str(p.FullName);
                    out.I32(p.Site);
                    out.Str(p.JobTitle);
                }
            }
        }
        if (v >= 108) {
            out.I32(StoppingCount.value_or(qint32(Stoppings.size())));
            for (const Stopping &s : Stoppings) {
                out.I32(s.BranchIndex);
                out.Str(s.Caption);
                Record r(70);
                r.U8(0, s.Material);
                r.U8(1, s.Vent);
                r.Put(2, s.Position);
                r.Put(10, s.Thickness);
                r.Put(18, s.Depression);
                r.Put(26, s.Flow);
                r.Put(34, s.Resistance);
                r.U8(42, s.Measured);
                r.Put(43, s.ReverseResistance);
                r.Put(51, s.BreakPressure);
                r.U8(59, s.Opening);
                r.Put(60, s.OpeningArea);
                r.U8(68, s.Doors);
                r.U8(69, s.CutIn);
                out.Data.append(r.Data);
                out.U8(s.NormalHit);
                out.I32(s.NormalStep);
                if (v >= 111)
                    for (double x : s.NormalValues)
                        out.F64(x);
                if (v >= 118) {
                    out.U8(s.RouteHit);
                    out.I32(s.RouteStep);
                    for (double x : s.RouteValues)
                        out.F64(x);
                }
            }
        } else if (v >= 105) {
            const bool shortRecords = Major == 1 && Minor == 5;
            out.I32(StoppingCount.value_or(qint32(OldStoppings.size())));
            for (const OldStopping &s : OldStoppings) {
                Record r(shortRecords ? 18 : 22);
                r.Put(0, s.BranchIndex);
                r.Put(4, s.BreakPressure);
                r.Put(8, s.Position);
                r.U8(12, s.NormalHit);
                r.Put(13, s.ThicknessCm);
                r.U8(17, s.Material);
                r.Put(18, s.NormalStep);
                out.Data.append(r.Data);
            }
        }
        out.Data.append(Tail);
        qToLittleEndian(SizeField.value_or(qint32(out.Data.size())), out.Data.data() + 11);
        return out.Data;
    }
};

} // namespace mdftest
