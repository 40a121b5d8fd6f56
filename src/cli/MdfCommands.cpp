#include "MdfCommands.h"

#include "TJsonWriter.h"
#include "TerminalText.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"

namespace MdfCommands {

namespace {

template<typename Columns> void DumpColumns(TJsonWriter &json, const TJsonWriter::TKey &key, const Columns &columns)
{
    json.Key(key);
    json.BeginArray();
    for (const TColumnDesc &c : columns) {
        json.BeginObject();
        json.Key("Kind");
        json.Int(c.Kind);
        json.Key("Shown");
        json.Bool(c.Shown);
        json.EndObject();
    }
    json.EndArray();
}

template<typename List> void DumpGroups(TJsonWriter &json, const TJsonWriter::TKey &key, const List &list)
{
    json.Key(key);
    json.BeginArray();
    for (const TLayer *g : list) {
        json.BeginObject();
        json.Key("Visible");
        json.Flag(g->VisibleByte());
        json.Key("Name");
        json.String(g->Name());
        json.Key("Color");
        json.UInt(g->Color());
        json.EndObject();
    }
    json.EndArray();
}

void DumpValues(TJsonWriter &json, const TJsonWriter::TKey &key, const double *values)
{
    json.Key(key);
    json.BeginArray();
    for (int k = 0; k < 3; ++k)
        json.Double(values[k]);
    json.EndArray();
}

void DumpJumper(TJsonWriter &json, const TJumper &j)
{
    json.BeginObject();
    json.Key("Caption"); json.String(j.Caption());
    json.Key("Material"); json.Int(j.Material());
    json.Key("Vent"); json.Flag(j.VentByte());
    json.Key("Position"); json.Double(j.Position());
    json.Key("Thickness"); json.Double(j.Thickness());
    json.Key("Depression"); json.Double(j.Depression());
    json.Key("Flow"); json.Double(j.Flow());
    json.Key("Resistance"); json.Double(j.Resistance());
    json.Key("Measured"); json.Flag(j.MeasuredByte());
    json.Key("ReverseResistance"); json.Double(j.ReverseResistance());
    json.Key("BreakPressure"); json.Double(j.BreakPressure());
    json.Key("Opening"); json.Int(j.Opening());
    json.Key("OpeningArea"); json.Double(j.OpeningArea());
    json.Key("Doors"); json.Int(j.Doors());
    json.Key("CutIn"); json.Flag(j.CutInByte());
    json.Key("NormalHit"); json.Flag(j.NormalHitByte());
    json.Key("NormalStep"); json.Int(j.NormalStep());
    DumpValues(json, "NormalValues", j.NormalValues());
    json.Key("RouteHit"); json.Flag(j.RouteHitByte());
    json.Key("RouteStep"); json.Int(j.RouteStep());
    DumpValues(json, "RouteValues", j.RouteValues());
    json.EndObject();
}

void DumpPerson(TJsonWriter &json, const TPeopleInfo &p)
{
    json.BeginObject();
    json.Key("Position"); json.Double(p.Position());
    json.Key("TabNumber"); json.Int(p.TabNumber());
    json.Key("FullName"); json.String(p.FullName());
    json.Key("Site"); json.Int(p.Site());
    json.Key("JobTitle"); json.String(p.JobTitle());
    json.EndObject();
}

void DumpBranch(TJsonWriter &json, const TBranch &b)
{
    json.BeginObject();
    json.Key("NormalResult"); json.Int(b.NormalResult());
    json.Key("Number"); json.Int(b.Number());
    json.Key("StartNumber"); json.Int(b.StartNumber());
    json.Key("EndNumber"); json.Int(b.EndNumber());
    json.Key("Section"); json.Float(b.Section());
    json.Key("Perimeter"); json.Float(b.Perimeter());
    json.Key("Shape"); json.Int(b.Shape());
    json.Key("VolumeFactor"); json.Float(b.VolumeFactor());
    json.Key("ExtraVolume"); json.Float(b.ExtraVolume());
    json.Key("Roughness"); json.Int(b.Roughness());
    json.Key("Gas1Kind"); json.Int(b.Gas1Kind());
    json.Key("Gas1"); json.Flag(b.ZoneByte(1));
    json.Key("Zone3"); json.Flag(b.ZoneByte(3));
    json.Key("Zone4"); json.Flag(b.ZoneByte(4));
    json.Key("Gas1From"); json.Float(b.Gas1From());
    json.Key("Gas1To"); json.Float(b.Gas1To());
    json.Key("Zone3From"); json.Float(b.Zone3From());
    json.Key("Zone3To"); json.Float(b.Zone3To());
    json.Key("Zone4From"); json.Float(b.Zone4From());
    json.Key("Zone4To"); json.Float(b.Zone4To());
    json.Key("OptA"); json.Flag(b.OptionByte(1));
    json.Key("OptA1"); json.Float(b.OptA1());
    json.Key("OptA2"); json.Float(b.OptA2());
    json.Key("LayerIndex"); json.Int(b.LayerIndex());
    json.Key("Resistance"); json.Double(b.Resistance());
    json.Key("RouteResult"); json.Int(b.RouteResult());
    json.Key("LinkIndex"); json.Int(b.LinkIndex());
    json.Key("Gas2Kind"); json.Int(b.Gas2Kind());
    json.Key("Gas2"); json.Flag(b.ZoneByte(2));
    json.Key("Gas2From"); json.Float(b.Gas2From());
    json.Key("Gas2To"); json.Float(b.Gas2To());
    json.Key("OptB"); json.Flag(b.OptionByte(2));
    json.Key("OptB1"); json.Float(b.OptB1());
    json.Key("OptB2"); json.Float(b.OptB2());
    json.Key("PLFIndex"); json.Int(b.PLFIndex());
    json.Key("Comment"); json.String(b.Comment());
    json.Key("Name"); json.String(b.Name());
    json.Key("People");
    json.BeginArray();
    for (const TPeopleInfo *p : b.People())
        DumpPerson(json, *p);
    json.EndArray();
    json.Key("Jumpers");
    json.BeginArray();
    for (const TJumper *j : b.Jumpers())
        DumpJumper(json, *j);
    json.EndArray();
    json.EndObject();
}

void DumpUzel(TJsonWriter &json, const TUzel &u)
{
    json.BeginObject();
    json.Key("Number"); json.Int(u.Number());
    json.Key("X"); json.Float(u.X());
    json.Key("Y"); json.Float(u.Y());
    json.Key("Z"); json.Float(u.Z());
    json.Key("Surface"); json.Flag(u.SurfaceByte());
    json.Key("Extra1"); json.Int(u.Extra1());
    json.Key("Extra2"); json.Int(u.Extra2());
    json.EndObject();
}

} // namespace

QString VersionText(int version)
{
    return QStringLiteral("%1.%2").arg(version / 100).arg(version % 100, 2, 10, QLatin1Char('0'));
}

QByteArray Info(const TMineDocument &doc)
{
    const TMine &mine = *doc.Mine();
    int people = 0;
    for (const TBranch *b : mine.Branches())
        people += b->People().Count();
    QString text;
    text += QStringLiteral("Version: %1\n").arg(VersionText(doc.FileVersion()));
    text += QStringLiteral("Title: %1\n").arg(TerminalText::Escaped(mine.Title()));
    text += QStringLiteral("Nodes: %1\n").arg(mine.Uzels().Count());
    text += QStringLiteral("Branches: %1\n").arg(mine.Branches().Count());
    text += QStringLiteral("Stoppings: %1\n").arg(mine.Jumpers().Count());
    text += QStringLiteral("People: %1\n").arg(people);
    text += QStringLiteral("Seams: %1\n").arg(mine.Layers().Count());
    text += QStringLiteral("Plan positions: %1\n").arg(mine.PLFs().Count());
    return text.toUtf8();
}

namespace {

void WriteDump(TJsonWriter &json, const TMineDocument &doc)
{
    const TMine &mine = *doc.Mine();
    json.BeginObject();
    json.Key("Version"); json.Int(doc.FileVersion());
    json.Key("Title"); json.String(mine.Title());
    json.Key("Temperature"); json.Int(mine.Temperature());
    json.Key("Pressure"); json.Float(mine.Pressure());
    json.Key("AutoUpdate"); json.Flag(doc.AutoUpdateByte());
    json.Key("AutoUpdateIterations"); json.Int(doc.AutoUpdateIterations());
    json.Key("SaveIterations"); json.Int(doc.SaveIterations());
    json.Key("CellLength"); json.Float(doc.CellLength());
    json.Key("Reserved1"); json.Int(doc.Reserved1());
    json.Key("BoomSpeed"); json.Float(doc.BoomSpeed());
    json.Key("Calculated"); json.Flag(doc.CalculatedByte());
    json.Key("Reserved2"); json.Flag(doc.Reserved2Byte());
    json.Key("CalcMethod"); json.Int(doc.CalcMethod());
    json.Key("Notes");
    json.BeginArray();
    for (const QString &line : doc.Notes())
        json.String(line);
    json.EndArray();
    DumpColumns(json, "NodeColumns", doc.NodeColumns());
    DumpColumns(json, "BranchColumns", doc.BranchColumns());
    DumpGroups(json, "Layers", mine.Layers());
    DumpGroups(json, "PLFs", mine.PLFs());
    json.Key("Uzels");
    json.BeginArray();
    for (const TUzel *u : mine.Uzels())
        DumpUzel(json, *u);
    json.EndArray();
    json.Key("Branches");
    json.BeginArray();
    for (const TBranch *b : mine.Branches())
        DumpBranch(json, *b);
    json.EndArray();
    json.EndObject();
}

} // namespace

QByteArray Dump(const TMineDocument &doc)
{
    TJsonWriter json;
    WriteDump(json, doc);
    return json.Text();
}

bool Dump(const TMineDocument &doc, std::FILE *out)
{
    TJsonWriter json(out);
    WriteDump(json, doc);
    return json.Flush();
}

} // namespace MdfCommands
