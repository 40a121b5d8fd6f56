#include "DiffCommand.h"

#include "TJsonWriter.h"
#include "TerminalText.h"
#include "compare/MineDiff.h"
#include "storage/TMineDocument.h"

namespace DiffCommand {

namespace {

const char *ChangeName(TDiffKind kind)
{
    switch (kind) {
    case TDiffKind::Added: return "Added";
    case TDiffKind::Removed: return "Removed";
    case TDiffKind::Changed: return "Changed";
    case TDiffKind::Remark: return "Remark";
    }
    return "";
}

const char *GroupName(TDiffGroup group)
{
    switch (group) {
    case TDiffGroup::Uzels: return "Uzels";
    case TDiffGroup::Branches: return "Branches";
    case TDiffGroup::Jumpers: return "Jumpers";
    case TDiffGroup::People: return "People";
    case TDiffGroup::Groups: return "Groups";
    case TDiffGroup::Document: return "Document";
    }
    return "";
}

// "+" added, "-" removed, "~" changed, "!" a remark.
char Mark(TDiffKind kind)
{
    switch (kind) {
    case TDiffKind::Added: return '+';
    case TDiffKind::Removed: return '-';
    case TDiffKind::Changed: return '~';
    case TDiffKind::Remark: return '!';
    }
    return ' ';
}

QString ValueText(const std::optional<QString> &v, bool text)
{
    if (!v)
        return QStringLiteral("не задано");
    return TerminalText::Escaped(text ? u'"' + *v + u'"' : *v);
}

QByteArray Text(const TMineDiff &diff)
{
    QString out;
    bool first = true;
    TDiffGroup group = TDiffGroup::Document;
    for (const TDiffItem &item : diff.Items) {
        if (first || item.Group != group) {
            out += MineDiff::GroupCaption(item.Group) + u'\n';
            group = item.Group;
            first = false;
        }
        out += QStringLiteral("  %1 %2\n").arg(QString(QLatin1Char(Mark(item.Kind))), TerminalText::Escaped(item.Title));
        for (const TDiffField &f : item.Fields)
            out += QStringLiteral("      %1: %2 → %3\n").arg(f.Caption, ValueText(f.Old, f.Text), ValueText(f.New, f.Text));
    }
    return out.toUtf8();
}

void Value(TJsonWriter &json, const TJsonWriter::TKey &key, const std::optional<QString> &v)
{
    json.Key(key);
    if (v)
        json.String(*v);
    else
        json.Null();
}

void Json(const TMineDiff &diff, std::FILE *out)
{
    TJsonWriter json(out);
    json.BeginObject();
    json.Key("Different");
    json.Bool(diff.Different());
    json.Key("Items");
    json.BeginArray();
    for (const TDiffItem &item : diff.Items) {
        json.BeginObject();
        json.Key("Group"); json.String(QString::fromLatin1(GroupName(item.Group)));
        json.Key("Change"); json.String(QString::fromLatin1(ChangeName(item.Kind)));
        json.Key("Title"); json.String(item.Title);
        if (item.Kind != TDiffKind::Remark && item.Group != TDiffGroup::Document) {
            json.Key("Number"); json.Int(item.Number);
            json.Key("Ordinal"); json.Int(item.Ordinal);
        }
        json.Key("Fields");
        json.BeginArray();
        for (const TDiffField &f : item.Fields) {
            json.BeginObject();
            json.Key("Key"); json.String(f.Key);
            json.Key("Caption"); json.String(f.Caption);
            Value(json, "Old", f.Old);
            Value(json, "New", f.New);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.Flush();
}

} // namespace

int Run(const ToolMain::TInvocation &in)
{
    TMineDocument a, b;
    ToolMain::LoadMine(a, in.Operand(QStringLiteral("A")));
    ToolMain::LoadMine(b, in.Operand(QStringLiteral("B")));
    const TMineDiff diff = MineDiff::Compare(a, b);
    if (in.Has(QStringLiteral("--json")))
        Json(diff, stdout);
    else
        ToolMain::Write(stdout, Text(diff));
    return ToolMain::Finish(diff.Different() ? kDifferent : kEqual);
}

} // namespace DiffCommand
