#include "exchange/MineJson.h"

#include "AppError.h"
#include "exchange/JsonReals.h"
#include "exchange/TJsonReader.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/CodePage.h"
#include "storage/TMineDocument.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace MineJson {

namespace {

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();
constexpr float kUnset = -777777.0f;

// The keys of each object, in the order the dump writes them (a key is looked for at the place
// after the previous one first).
enum DocKey {
    DVersion, DTitle, DTemperature, DPressure, DAutoUpdate, DAutoUpdateIterations, DSaveIterations,
    DCellLength, DReserved1, DBoomSpeed, DCalculated, DReserved2, DCalcMethod, DNotes, DNodeColumns,
    DBranchColumns, DLayers, DPLFs, DUzels, DBranches, DCount
};
const char *const kDocKeys[] = {"Version", "Title", "Temperature", "Pressure", "AutoUpdate", "AutoUpdateIterations",
                                "SaveIterations", "CellLength", "Reserved1", "BoomSpeed", "Calculated", "Reserved2",
                                "CalcMethod", "Notes", "NodeColumns", "BranchColumns", "Layers", "PLFs", "Uzels",
                                "Branches"};
enum ColumnKey { CKind, CShown, CCount };
const char *const kColumnKeys[] = {"Kind", "Shown"};
enum GroupKey { GVisible, GName, GColor, GCount };
const char *const kGroupKeys[] = {"Visible", "Name", "Color"};
enum UzelKey { UNumber, UX, UY, UZ, USurface, UExtra1, UExtra2, UCount };
const char *const kUzelKeys[] = {"Number", "X", "Y", "Z", "Surface", "Extra1", "Extra2"};
enum BranchKey {
    BNormalResult, BNumber, BStartNumber, BEndNumber, BSection, BPerimeter, BShape, BVolumeFactor, BExtraVolume,
    BRoughness, BGas1Kind, BGas1, BZone3, BZone4, BGas1From, BGas1To, BZone3From, BZone3To, BZone4From, BZone4To,
    BOptA, BOptA1, BOptA2, BLayerIndex, BResistance, BRouteResult, BLinkIndex, BGas2Kind, BGas2, BGas2From,
    BGas2To, BOptB, BOptB1, BOptB2, BPLFIndex, BComment, BName, BPeople, BJumpers, BCount
};
const char *const kBranchKeys[] = {
    "NormalResult", "Number", "StartNumber", "EndNumber", "Section", "Perimeter", "Shape", "VolumeFactor",
    "ExtraVolume", "Roughness", "Gas1Kind", "Gas1", "Zone3", "Zone4", "Gas1From", "Gas1To", "Zone3From", "Zone3To",
    "Zone4From", "Zone4To", "OptA", "OptA1", "OptA2", "LayerIndex", "Resistance", "RouteResult", "LinkIndex",
    "Gas2Kind", "Gas2", "Gas2From", "Gas2To", "OptB", "OptB1", "OptB2", "PLFIndex", "Comment", "Name", "People",
    "Jumpers"};
enum PersonKey { PPosition, PTabNumber, PFullName, PSite, PJobTitle, PCount };
const char *const kPersonKeys[] = {"Position", "TabNumber", "FullName", "Site", "JobTitle"};
enum JumperKey {
    JCaption, JMaterial, JVent, JPosition, JThickness, JDepression, JFlow, JResistance, JMeasured,
    JReverseResistance, JBreakPressure, JOpening, JOpeningArea, JDoors, JCutIn, JNormalHit, JNormalStep,
    JNormalValues, JRouteHit, JRouteStep, JRouteValues, JCount
};
const char *const kJumperKeys[] = {"Caption", "Material", "Vent", "Position", "Thickness", "Depression", "Flow",
                                   "Resistance", "Measured", "ReverseResistance", "BreakPressure", "Opening",
                                   "OpeningArea", "Doors", "CutIn", "NormalHit", "NormalStep", "NormalValues",
                                   "RouteHit", "RouteStep", "RouteValues"};

// A stopping or a person as read, before it is placed in its branch (new ones have every field
// zero and stand in the middle).
struct RawPerson {
    double Position = 0.5;
    qint32 TabNumber = 0;
    QString FullName;
    qint32 Site = 0;
    QString JobTitle;
};

struct RawJumper {
    double Position = 0.5;
    QString Caption;
    quint8 Material = 0, Vent = 0, Measured = 0, Opening = 0, Doors = 0, CutIn = 0, NormalHit = 0, RouteHit = 0;
    double Thickness = 0, Depression = 0, Flow = 0, Resistance = 0, ReverseResistance = 0, BreakPressure = 0,
           OpeningArea = 0;
    qint32 NormalStep = 0, RouteStep = 0;
    double NormalValues[3] = {0, 0, 0};
    double RouteValues[3] = {0, 0, 0};
};

// A branch as read: what is given, the rest stays as a new branch has it.
struct RawBranch {
    std::optional<qint32> Ints[BCount];
    std::optional<float> Floats[BCount];
    std::optional<quint8> Bytes[BCount];
    std::optional<double> Resistance;
    std::optional<QString> Comment, Name;
    std::vector<RawPerson> People;
    std::vector<RawJumper> Jumpers;
};

class Reader {
public:
    Reader(QByteArrayView text, TMineDocument &doc) : FIn(text), FDoc(doc), FMine(*doc.Mine()) {}

    void Run()
    {
        FMine.BeginUpdate();
        struct UpdateGuard {
            TMine &Mine;
            ~UpdateGuard() { Mine.EndUpdate(); }
        } guard{FMine};
        Object(kDocKeys, DCount, [this](int key) { DocumentValue(key); });
        FIn.End();
        CheckIndices();
        FMine.SetModified(false);
    }

private:
    // --- the path of the value being read, for the refusals: keys (from the tables above) and
    // array indices, so that following it costs no text until something is refused
    struct TStep {
        const char *Key;   // none: an array item
        int Index;
    };

    [[noreturn]] void Refuse(const QString &reason) const
    {
        QString path;
        for (const TStep &step : FPath) {
            if (!step.Key)
                path += QStringLiteral("[%1]").arg(step.Index);
            else
                path += (path.isEmpty() ? QString() : QStringLiteral(".")) + QString::fromUtf8(step.Key);
        }
        throw AppError(path.isEmpty() ? reason : path + QStringLiteral(": ") + reason);
    }

    struct Step {
        Step(Reader &r, TStep step) : R(r) { R.FPath.push_back(step); }
        ~Step() { R.FPath.pop_back(); }
        Reader &R;
    };

    // --- values
    template<typename Handler> void Object(const char *const *keys, int count, Handler &&value)
    {
        if (FIn.Peek() != TJsonReader::TType::Object)
            Refuse(QStringLiteral("не объект"));
        FIn.BeginObject();
        std::bitset<64> seen;
        int next = 0;
        while (FIn.NextKey(FKey)) {
            int key = next < count && FKey == keys[next] ? next : -1;
            for (int k = 0; key < 0 && k < count; ++k)
                if (FKey == keys[k])
                    key = k;
            const Step step(*this, TStep{key < 0 ? FKey.constData() : keys[key], 0});
            if (key < 0)
                Refuse(QStringLiteral("неизвестный ключ"));
            if (seen[size_t(key)])
                Refuse(QStringLiteral("ключ повторяется"));
            seen[size_t(key)] = true;
            value(key);
            next = key + 1;
        }
    }

    template<typename Handler> void Array(Handler &&item)
    {
        if (FIn.Peek() != TJsonReader::TType::Array)
            Refuse(QStringLiteral("не массив"));
        FIn.BeginArray();
        for (int i = 0; FIn.NextItem(); ++i) {
            const Step step(*this, TStep{nullptr, i});
            item(i);
        }
    }

    qint64 Int(qint64 low, qint64 high)
    {
        if (FIn.Peek() != TJsonReader::TType::Number)
            Refuse(QStringLiteral("не целое число"));
        const std::string_view text = FIn.Number();
        qint64 v = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (end != text.data() + text.size() && error == std::errc())
            Refuse(QStringLiteral("не целое число"));
        if (error != std::errc() || v < low || v > high)
            Refuse(QStringLiteral("вне пределов %1..%2").arg(low).arg(high));
        return v;
    }
    qint32 Int32() { return qint32(Int(kInt32Min, kInt32Max)); }
    quint8 Byte() { return quint8(Int(0, 255)); }

    // A Boolean byte: true, false or the byte itself.
    quint8 Flag()
    {
        switch (FIn.Peek()) {
        case TJsonReader::TType::Bool: return FIn.Bool() ? 1 : 0;
        case TJsonReader::TType::Number: return Byte();
        default: Refuse(QStringLiteral("не логическое значение"));
        }
    }

    template<typename Real> Real Real_()
    {
        const TJsonReader::TType type = FIn.Peek();
        Real v = 0;
        if (type == TJsonReader::TType::String) {
            if (!JsonReals::ReadNonFinite(FIn.String(), v))
                Refuse(QStringLiteral("не число"));
            return v;
        }
        if (type != TJsonReader::TType::Number)
            Refuse(QStringLiteral("не число"));
        const std::string_view text = FIn.Number();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (error != std::errc() || end != text.data() + text.size())
            Refuse(sizeof(Real) == sizeof(float) ? QStringLiteral("вне пределов чисел одинарной точности")
                                                 : QStringLiteral("вне пределов чисел двойной точности"));
        return v;
    }
    float Float() { return Real_<float>(); }
    double Double() { return Real_<double>(); }

    // A place along a branch, as the branch keeps it.
    double Position()
    {
        const double v = Double();
        if (!(v >= 0 && v <= 1))
            Refuse(QStringLiteral("вне пределов 0..1"));
        return v;
    }

    QString Text()
    {
        if (FIn.Peek() != TJsonReader::TType::String)
            Refuse(QStringLiteral("не текст"));
        QString text = FIn.String();
        const qsizetype bad = CodePage::First1251Misfit(text);
        if (bad >= 0) {
            const bool pair = text[bad].isHighSurrogate() && bad + 1 < text.size() && text[bad + 1].isLowSurrogate();
            Refuse(QStringLiteral("символ \"%1\" не помещается в кодовую страницу Windows-1251")
                       .arg(text.mid(bad, pair ? 2 : 1)));
        }
        return text;
    }

    void Values(double (&values)[3])
    {
        int n = 0;
        Array([&](int i) {
            if (i >= 3)
                Refuse(QStringLiteral("лишнее число: их три"));
            values[i] = Double();
            n = i + 1;
        });
        if (n != 3)
            Refuse(QStringLiteral("нужно три числа"));
    }

    // --- the document
    void DocumentValue(int key)
    {
        switch (DocKey(key)) {
        case DVersion: Int(0, kInt32Max); break;
        case DTitle: FMine.SetTitle(Text()); break;
        case DTemperature: FMine.SetTemperature(Int32()); break;
        case DPressure: FMine.SetPressure(Float()); break;
        case DAutoUpdate: FDoc.SetAutoUpdateByte(Flag()); break;
        case DAutoUpdateIterations: FDoc.SetAutoUpdateIterations(Int32()); break;
        case DSaveIterations: FDoc.SetSaveIterations(Int32()); break;
        case DCellLength: FDoc.SetCellLength(Float()); break;
        case DReserved1: FDoc.SetReserved1(Int32()); break;
        case DBoomSpeed: FDoc.SetBoomSpeed(Float()); break;
        case DCalculated: FDoc.SetCalculatedByte(Flag()); break;
        case DReserved2: FDoc.SetReserved2Byte(Flag()); break;
        case DCalcMethod: FDoc.SetCalcMethod(Byte()); break;
        case DNotes: {
            QStringList notes;
            Array([&](int) { notes.append(Text()); });
            FDoc.SetNotes(notes);
            break;
        }
        case DNodeColumns: {
            TNodeColumns columns = TMineDocument::DefaultNodeColumns();
            Columns(columns, 0);
            FDoc.SetNodeColumns(columns);
            break;
        }
        case DBranchColumns: {
            TBranchColumns columns = TMineDocument::DefaultBranchColumns();
            Columns(columns, TColumnDesc::kFirstBranchKind);
            FDoc.SetBranchColumns(columns);
            break;
        }
        case DLayers: Array([this](int) { Group(new TLayer(&FMine)); }); break;
        case DPLFs: Array([this](int) { Group(new TPLF(&FMine)); }); break;
        case DUzels: Array([this](int) { Uzel(); }); break;
        case DBranches: Array([this](int) { Branch(); }); break;
        default: break;
        }
    }

    // A layout names every kind of its table once, as the program writes it.
    template<typename TList> void Columns(TList &columns, int firstKind)
    {
        const int count = int(columns.size());
        const int lastKind = firstKind + count - 1;
        std::bitset<TColumnDesc::kKindCount> used;
        int n = 0;
        Array([&](int i) {
            if (i >= count)
                Refuse(QStringLiteral("лишний столбец: их %1").arg(count));
            TColumnDesc &c = columns[size_t(i)];
            bool hasKind = false;
            Object(kColumnKeys, CCount, [&](int key) {
                if (key == CShown) {
                    c.Shown = Flag() != 0;
                    return;
                }
                const int kind = int(Int(firstKind, lastKind));
                if (used[size_t(kind)])
                    Refuse(QStringLiteral("столбец этого вида уже есть"));
                used[size_t(kind)] = true;
                c.Kind = quint8(kind);
                hasKind = true;
            });
            if (!hasKind)
                Refuse(QStringLiteral("нет ключа \"Kind\""));
            n = i + 1;
        });
        if (n != count)
            Refuse(QStringLiteral("столбцов должно быть %1").arg(count));
        for (TColumnDesc &c : columns)
            c.Shown = c.Shown && !TColumnDesc::AlwaysHidden(c.Kind);
    }

    void Group(TLayer *group)
    {
        Object(kGroupKeys, GCount, [&](int key) {
            switch (GroupKey(key)) {
            case GVisible: group->SetVisibleByte(Flag()); break;
            case GName: group->SetName(Text()); break;
            case GColor: group->SetColor(quint32(Int(0, 0xFFFFFFFFLL))); break;
            default: break;
            }
        });
    }

    void Uzel()
    {
        qint32 number = -777777;
        float xyz[3] = {kUnset, kUnset, kUnset};
        std::optional<quint8> surface;
        std::optional<qint32> extra[2];
        Object(kUzelKeys, UCount, [&](int key) {
            switch (UzelKey(key)) {
            case UNumber: number = Int32(); break;
            case UX:
            case UY:
            case UZ: xyz[key - UX] = Float(); break;
            case USurface: surface = Flag(); break;
            case UExtra1:
            case UExtra2: extra[key - UExtra1] = Int32(); break;
            default: break;
            }
        });
        TUzel *u = FMine.AddUzel(number, xyz[0], xyz[1], xyz[2]);
        if (surface)
            u->SetSurfaceByte(*surface);
        if (extra[0])
            u->SetExtra1(*extra[0]);
        if (extra[1])
            u->SetExtra2(*extra[1]);
    }

    void BranchValue(RawBranch &r, int key)
    {
        switch (BranchKey(key)) {
        case BNormalResult:
        case BNumber:
        case BStartNumber:
        case BEndNumber:
        case BRouteResult: r.Ints[key] = Int32(); break;
        case BLayerIndex:
        case BPLFIndex:
        case BLinkIndex: r.Ints[key] = qint32(Int(-1, kInt32Max)); break;
        case BPerimeter: Float(); break;   // computed from the section and the shape
        case BSection:
        case BVolumeFactor:
        case BExtraVolume:
        case BOptA1:
        case BOptA2:
        case BOptB1:
        case BOptB2: r.Floats[key] = Float(); break;
        case BGas1From:
        case BGas1To:
        case BZone3From:
        case BZone3To:
        case BZone4From:
        case BZone4To:
        case BGas2From:
        case BGas2To: {
            const float v = Float();
            if (v < 0)
                Refuse(QStringLiteral("меньше 0"));
            r.Floats[key] = v;
            break;
        }
        case BShape:
        case BRoughness:
        case BGas1Kind:
        case BGas2Kind: r.Bytes[key] = Byte(); break;
        case BGas1:
        case BGas2:
        case BZone3:
        case BZone4:
        case BOptA:
        case BOptB: r.Bytes[key] = Flag(); break;
        case BResistance: r.Resistance = Double(); break;
        case BComment: r.Comment = Text(); break;
        case BName: r.Name = Text(); break;
        case BPeople: Array([&](int) { r.People.push_back(Person()); }); break;
        case BJumpers: Array([&](int) { r.Jumpers.push_back(Jumper()); }); break;
        default: break;
        }
    }

    RawPerson Person()
    {
        RawPerson p;
        Object(kPersonKeys, PCount, [&](int key) {
            switch (PersonKey(key)) {
            case PPosition: p.Position = Position(); break;
            case PTabNumber: p.TabNumber = Int32(); break;
            case PFullName: p.FullName = Text(); break;
            case PSite: p.Site = Int32(); break;
            case PJobTitle: p.JobTitle = Text(); break;
            default: break;
            }
        });
        return p;
    }

    RawJumper Jumper()
    {
        RawJumper j;
        Object(kJumperKeys, JCount, [&](int key) {
            switch (JumperKey(key)) {
            case JCaption: j.Caption = Text(); break;
            case JMaterial: j.Material = Byte(); break;
            case JVent: j.Vent = Flag(); break;
            case JPosition: j.Position = Position(); break;
            case JThickness: j.Thickness = Double(); break;
            case JDepression: j.Depression = Double(); break;
            case JFlow: j.Flow = Double(); break;
            case JResistance: j.Resistance = Double(); break;
            case JMeasured: j.Measured = Flag(); break;
            case JReverseResistance: j.ReverseResistance = Double(); break;
            case JBreakPressure: j.BreakPressure = Double(); break;
            case JOpening: j.Opening = Byte(); break;
            case JOpeningArea: j.OpeningArea = Double(); break;
            case JDoors: j.Doors = Byte(); break;
            case JCutIn: j.CutIn = Flag(); break;
            case JNormalHit: j.NormalHit = Flag(); break;
            case JNormalStep: j.NormalStep = Int32(); break;
            case JNormalValues: Values(j.NormalValues); break;
            case JRouteHit: j.RouteHit = Flag(); break;
            case JRouteStep: j.RouteStep = Int32(); break;
            case JRouteValues: Values(j.RouteValues); break;
            default: break;
            }
        });
        return j;
    }

    // In the order the mine reader applies the fields of a branch record.
    void Branch()
    {
        RawBranch r;
        Object(kBranchKeys, BCount, [&](int key) { BranchValue(r, key); });
        const auto intOr = [&](int key, qint32 absent) { return r.Ints[key].value_or(absent); };
        TBranch *b = FMine.AddBranch(intOr(BNumber, -777777), intOr(BStartNumber, -777777), intOr(BEndNumber, -777777),
                                     r.Comment.value_or(QString()), r.Floats[BSection].value_or(kUnset));
        if (r.Name)
            b->SetName(*r.Name);
        if (r.Ints[BNormalResult])
            b->SetNormalResult(*r.Ints[BNormalResult]);
        if (r.Ints[BRouteResult])
            b->SetRouteResult(*r.Ints[BRouteResult]);
        if (r.Ints[BLinkIndex])
            b->SetLinkIndex(*r.Ints[BLinkIndex]);
        if (r.Bytes[BShape])
            b->SetShape(*r.Bytes[BShape]);
        if (r.Floats[BVolumeFactor])
            b->SetVolumeFactor(*r.Floats[BVolumeFactor]);
        if (r.Floats[BExtraVolume])
            b->SetExtraVolume(*r.Floats[BExtraVolume]);
        if (r.Bytes[BRoughness])
            b->SetRoughness(*r.Bytes[BRoughness]);
        static const struct {
            int Key, Which;
            bool Kind;
        } kZones[] = {{BGas1Kind, 1, true}, {BGas1, 1, false}, {BGas2Kind, 2, true},
                      {BGas2, 2, false},    {BZone3, 3, false}, {BZone4, 4, false}};
        for (const auto &z : kZones) {
            if (!r.Bytes[z.Key])
                continue;
            if (z.Kind)
                b->SetGasKind(z.Which, *r.Bytes[z.Key]);
            else
                b->SetZoneByte(z.Which, *r.Bytes[z.Key]);
        }
        static const int kBounds[8] = {BGas1From, BGas1To, BGas2From, BGas2To, BZone3From, BZone3To, BZone4From, BZone4To};
        for (int k = 0; k < 8; ++k)
            if (r.Floats[kBounds[k]])
                b->SetZoneBound(k + 1, *r.Floats[kBounds[k]]);
        if (r.Bytes[BOptA])
            b->SetOptionByte(1, *r.Bytes[BOptA]);
        if (r.Bytes[BOptB])
            b->SetOptionByte(2, *r.Bytes[BOptB]);
        static const int kOptions[4] = {BOptA1, BOptA2, BOptB1, BOptB2};
        for (int k = 0; k < 4; ++k)
            if (r.Floats[kOptions[k]])
                b->SetOptionValue(k + 1, *r.Floats[kOptions[k]]);
        if (r.Ints[BLayerIndex])
            b->SetLayerIndex(*r.Ints[BLayerIndex]);
        if (r.Resistance)
            b->SetResistance(*r.Resistance);
        if (r.Ints[BPLFIndex])
            b->SetPLFIndex(*r.Ints[BPLFIndex]);
        Place(b, r);
    }

    // Each stopping and person joins the end of its branch's list, in position order.
    static void Place(TBranch *b, RawBranch &r)
    {
        std::stable_sort(r.People.begin(), r.People.end(),
                         [](const RawPerson &x, const RawPerson &y) { return x.Position < y.Position; });
        for (const RawPerson &raw : r.People) {
            TPeopleInfo *p = new TPeopleInfo(b, raw.Position);
            p->SetTabNumber(raw.TabNumber);
            p->SetFullName(raw.FullName);
            p->SetSite(raw.Site);
            p->SetJobTitle(raw.JobTitle);
        }
        std::stable_sort(r.Jumpers.begin(), r.Jumpers.end(),
                         [](const RawJumper &x, const RawJumper &y) { return x.Position < y.Position; });
        for (const RawJumper &s : r.Jumpers) {
            TJumper *j = new TJumper(b, s.Position);
            j->SetCaption(s.Caption);
            j->SetMaterial(s.Material);
            j->SetVentByte(s.Vent);
            j->SetThickness(s.Thickness);
            j->SetDepression(s.Depression);
            j->SetFlow(s.Flow);
            j->SetResistance(s.Resistance);
            j->SetMeasuredByte(s.Measured);
            j->SetResistanceValue(2, s.ReverseResistance);
            j->SetBreakPressure(s.BreakPressure);
            j->SetOpening(s.Opening);
            j->SetOpeningArea(s.OpeningArea);
            j->SetDoors(s.Doors);
            j->SetCutInByte(s.CutIn);
            j->SetNormalHitByte(s.NormalHit);
            j->SetNormalStep(s.NormalStep);
            j->SetNormalValues(s.NormalValues[0], s.NormalValues[1], s.NormalValues[2]);
            j->SetRouteHitByte(s.RouteHit);
            j->SetRouteStep(s.RouteStep);
            j->SetRouteValues(s.RouteValues[0], s.RouteValues[1], s.RouteValues[2]);
        }
    }

    // The indices a branch keeps point into lists the document may give after the branches.
    void CheckIndices()
    {
        const int branches = FMine.Branches().Count();
        const int layers = FMine.Layers().Count();
        const int plans = FMine.PLFs().Count();
        for (int i = 0; i < branches; ++i) {
            const TBranch *b = FMine.Branches().Items(i + 1);
            const struct {
                qint32 Value;
                int Count;
                const char *Key;
            } indices[] = {{b->LayerIndex(), layers, "LayerIndex"},
                           {b->PLFIndex(), plans, "PLFIndex"},
                           {b->LinkIndex(), branches, "LinkIndex"}};
            for (const auto &x : indices) {
                if (x.Value < x.Count)
                    continue;
                const Step list(*this, TStep{kDocKeys[DBranches], 0});
                const Step item(*this, TStep{nullptr, i});
                const Step key(*this, TStep{x.Key, 0});
                Refuse(QStringLiteral("вне пределов -1..%1").arg(x.Count - 1));
            }
        }
    }

    TJsonReader FIn;
    TMineDocument &FDoc;
    TMine &FMine;
    std::vector<TStep> FPath;
    QByteArray FKey;
};

} // namespace

void Read(QByteArrayView text, TMineDocument &doc)
{
    Reader(text, doc).Run();
}

} // namespace MineJson
