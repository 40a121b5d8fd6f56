#include "exchange/NetworkCsv.h"

#include "AppError.h"
#include "ShownText.h"
#include "exchange/CsvText.h"
#include "model/ColumnKinds.h"
#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/CodePage.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cfloat>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// The files' columns: table columns by the names their kinds have in CSV (the table of column
// kinds, whose rows are set before anything runs), and fields that no table column shows.
const char *CsvName(TColumnKind kind) { return ColumnKinds::Row(kind).CsvName; }

enum NodeColumn { NNumber, NX, NY, NZ, NSurface, NodeColumnCount };
const char *const kNodeNames[NodeColumnCount] = {
    CsvName(TColumnKind::UzelNumber), CsvName(TColumnKind::X), CsvName(TColumnKind::Y),
    CsvName(TColumnKind::Z), "Surface"};

enum BranchColumn {
    BNumber, BStart, BEnd, BSection, BShape, BRoughness, BResistance, BLayer, BPLF, BComment, BName,
    BLength, BPerimeter, BAngle, BranchColumnCount
};
const char *const kBranchNames[BranchColumnCount] = {
    CsvName(TColumnKind::BranchNumber), CsvName(TColumnKind::StartNumber), CsvName(TColumnKind::EndNumber),
    CsvName(TColumnKind::Section), "Shape", "Roughness", CsvName(TColumnKind::Resistance), "LayerIndex",
    CsvName(TColumnKind::PLF), CsvName(TColumnKind::Comment), CsvName(TColumnKind::Name),
    CsvName(TColumnKind::Length), CsvName(TColumnKind::Perimeter), CsvName(TColumnKind::Angle)};

// Seam and plan-position indices are created as groups on import: a bound keeps a stray value
// from making millions of them.
constexpr qint32 kMaxGroupIndex = 9999;
constexpr quint8 kMaxShape = 3;
constexpr quint8 kMaxRoughness = 4;

// ------------------------------------------------------------------------------------------
// Writing

QString HeaderOf(const char *const *names, int count)
{
    QStringList fields;
    for (int i = 0; i < count; ++i)
        fields << QLatin1String(names[i]);
    return fields.join(u',');
}

void AppendLine(QByteArray &out, const QStringList &fields)
{
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(u',');
        line.append(CsvText::Quote(fields[i], u','));
    }
    line.append(u'\n');
    out.append(line.toUtf8());
}

QString RealText(float v) { return IsUnset(v) ? QString() : CsvText::ShortestFixed(v); }
QString IntText(qint32 v) { return IsUnset(v) ? QString() : QString::number(v); }
QString GroupText(qint32 index) { return index < 0 ? QString() : QString::number(index); }

// ------------------------------------------------------------------------------------------
// Reading

QString Decode(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1251("windows-1251");
    return cp1251.decode(view);
}

// A refused value as the message quotes it: an invisible character in it shows as \xHH.
QString Shown(const QString &text) { return QStringLiteral("\"%1\"").arg(EscapedControls(text)); }

// A decimal number with "," or "." as the point (not both), an optional sign and exponent: the
// rule of a paste into the tables too.
bool ParseDecimal(const QString &text, double &value) { return NumberText::ParseDecimal(text, value); }

// One of the two files while it is read: its records, where each known column stands, and the
// reading of a column's value in a record with the file's own message on a refusal.
class TCsvTable {
public:
    TCsvTable(const QByteArray &bytes, const QString &name, const char *const *names, int count,
              std::initializer_list<int> required)
        : FName(name), FNames(names), FCount(count), FField(size_t(count), -1), FText(Decode(bytes)),
          FReader(FText, CsvText::DetectSeparator(FText), CsvText::TQuotes::Strict)
    {
        CsvText::TRecord header;
        do {
            if (!FReader.Next(header)) {
                FailOnBrokenQuote();
                Fail(1, QStringLiteral("файл пуст, нет строки заголовка"));
            }
        } while (header.IsBlank());
        ReadHeader(header, required);
    }
    TCsvTable(const TCsvTable &) = delete;
    TCsvTable &operator=(const TCsvTable &) = delete;

    // The next row of values, blank ones skipped; false at the end of the file.
    bool Next(CsvText::TRecord &r)
    {
        while (FReader.Next(r)) {
            if (r.IsBlank())
                continue;
            for (qsizetype f = 0; f < r.Fields.size(); ++f)
                if (!FNamed.value(f) && !r.Fields[f].trimmed().isEmpty())
                    Fail(r.Line, QStringLiteral("значение в поле %1, у которого нет столбца в заголовке").arg(f + 1));
            return true;
        }
        FailOnBrokenQuote();
        return false;
    }

    bool Has(int column) const { return FField[size_t(column)] >= 0; }

    [[noreturn]] void Fail(int line, const QString &text) const
    {
        throw AppError(QStringLiteral("%1:%2: %3").arg(FName).arg(line).arg(text));
    }
    [[noreturn]] void Fail(const CsvText::TRecord &r, int column, const QString &text) const
    {
        Fail(r.Line, QStringLiteral("column %1: %2").arg(QLatin1String(FNames[column]), text));
    }

    // The field of column in r, without leading and trailing blanks; empty when the column is
    // missing or the record ends before it.
    QString Text(const CsvText::TRecord &r, int column) const
    {
        const int f = FField[size_t(column)];
        return f >= 0 && f < r.Fields.size() ? r.Fields[f].trimmed() : QString();
    }

    qint32 Int(const CsvText::TRecord &r, int column, qint32 whenEmpty, qint64 min, qint64 max) const
    {
        const QString text = Text(r, column);
        if (text.isEmpty())
            return whenEmpty;
        bool ok = false;
        qint64 value = text.toLongLong(&ok, 10);
        if (!ok) {
            // Spreadsheets may write whole numbers with decimals ("12,00").
            double d = 0;
            if (!ParseDecimal(text, d) || d != std::trunc(d))
                Fail(r, column, QStringLiteral("не целое число: %1").arg(Shown(text)));
            if (d < double(INT_MIN) || d > double(INT_MAX))
                Fail(r, column, QStringLiteral("число вне пределов 32-разрядного целого: %1").arg(Shown(text)));
            value = qint64(d);
        }
        if (value < INT_MIN || value > INT_MAX)
            Fail(r, column, QStringLiteral("число вне пределов 32-разрядного целого: %1").arg(Shown(text)));
        if (value < min || value > max)
            Fail(r, column, QStringLiteral("допустимы значения от %1 до %2: %3").arg(min).arg(max).arg(Shown(text)));
        return qint32(value);
    }

    // A node or branch number: given and above 0.
    qint32 Number(const CsvText::TRecord &r, int column) const
    {
        if (Text(r, column).isEmpty())
            Fail(r, column, QStringLiteral("номер не указан"));
        const qint32 v = Int(r, column, 0, INT_MIN, INT_MAX);
        if (v <= 0)
            Fail(r, column, QStringLiteral("номер должен быть больше 0: %1").arg(Shown(Text(r, column))));
        return v;
    }

    double Double(const CsvText::TRecord &r, int column, double whenEmpty, bool negative) const
    {
        const QString text = Text(r, column);
        if (text.isEmpty())
            return whenEmpty;
        double value = 0;
        if (!ParseDecimal(text, value))
            Fail(r, column, QStringLiteral("не число: %1").arg(Shown(text)));
        if (!negative && value < 0)
            Fail(r, column, QStringLiteral("отрицательное значение: %1").arg(Shown(text)));
        return value;
    }

    float Real(const CsvText::TRecord &r, int column, bool negative) const
    {
        const double value = Double(r, column, double(kUnsetReal), negative);
        if (std::fabs(value) > double(FLT_MAX))
            Fail(r, column, QStringLiteral("число вне пределов: %1").arg(Shown(Text(r, column))));
        return float(value);
    }

    bool Flag(const CsvText::TRecord &r, int column) const
    {
        const QString text = Text(r, column);
        static const QStringList yes = {QStringLiteral("1"), QStringLiteral("Да"), QStringLiteral("true"),
                                        QStringLiteral("yes")};
        static const QStringList no = {QStringLiteral("0"), QStringLiteral("Нет"), QStringLiteral("false"),
                                       QStringLiteral("no")};
        if (text.isEmpty() || no.contains(text, Qt::CaseInsensitive))
            return false;
        if (yes.contains(text, Qt::CaseInsensitive))
            return true;
        Fail(r, column, QStringLiteral("ожидалось 1 или 0 (Да или Нет): %1").arg(Shown(text)));
    }

    QString Words(const CsvText::TRecord &r, int column) const
    {
        QString text = Text(r, column);
        const qsizetype bad = CodePage::First1251Misfit(text);
        if (bad >= 0) {
            const qsizetype width = text[bad].isHighSurrogate() && bad + 1 < text.size() ? 2 : 1;
            Fail(r, column, QStringLiteral("символ %1 не помещается в кодовую страницу Windows-1251")
                                .arg(Shown(text.mid(bad, width))));
        }
        return text;
    }

private:
    void FailOnBrokenQuote() const
    {
        if (FReader.ErrorLine() > 0)
            Fail(FReader.ErrorLine(), FReader.Error());
    }

    void ReadHeader(const CsvText::TRecord &header, std::initializer_list<int> required)
    {
        QStringList unknown;
        for (qsizetype i = 0; i < header.Fields.size(); ++i) {
            const QString name = header.Fields[i].trimmed();
            FNamed.append(!name.isEmpty());
            if (name.isEmpty())
                continue;
            int column = -1;
            for (int k = 0; k < FCount && column < 0; ++k)
                if (name.compare(QLatin1String(FNames[k]), Qt::CaseInsensitive) == 0)
                    column = k;
            if (column < 0) {
                unknown << EscapedControls(name);
                continue;
            }
            if (FField[size_t(column)] >= 0)
                Fail(header.Line, QStringLiteral("column %1: столбец указан дважды").arg(QLatin1String(FNames[column])));
            FField[size_t(column)] = int(i);
        }
        if (!unknown.isEmpty())
            Fail(header.Line, QStringLiteral("неизвестные столбцы: %1; допустимы: %2")
                                  .arg(unknown.join(QStringLiteral(", ")),
                                       HeaderOf(FNames, FCount).replace(u',', QStringLiteral(", "))));
        for (int column : required)
            if (!Has(column))
                Fail(header.Line, QStringLiteral("column %1: столбец обязателен, но его нет")
                                      .arg(QLatin1String(FNames[column])));
    }

    QString FName;
    const char *const *FNames;
    int FCount;
    std::vector<int> FField;   // per known column: its field in a record, -1 when absent
    QList<bool> FNamed;        // per field of the header: it names a column
    QString FText;
    CsvText::TReader FReader;   // reads FText
};

struct TNodeRow {
    qint32 Number;
    float X, Y, Z;
    bool Surface;
};

struct TBranchRow {
    qint32 Number, Start, End;
    float Section;
    quint8 Shape, Roughness;
    double Resistance;
    qint32 Layer, PLF;
    QString Comment, Name;
};

} // namespace

namespace NetworkCsv {

QByteArray ReadFile(const QString &path)
{
    QFile file;
    switch (RegularFile::OpenForReading(file, path)) {
    case RegularFile::TOpen::Opened: return file.readAll();
    case RegularFile::TOpen::NotRegular:
        throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::NotRegularText()));
    case RegularFile::TOpen::Failed: break;
    }
    const int code = path.isEmpty() ? FileErrors::BadFileName
                     : QFileInfo::exists(path) ? FileErrors::AccessDenied
                                               : FileErrors::FileNotFound;
    throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::Text(code)));
}

QByteArray NodesText(const TMine &mine)
{
    QByteArray out;
    out.reserve(qsizetype(mine.Uzels().Count()) * 32 + 32);
    AppendLine(out, HeaderOf(kNodeNames, NodeColumnCount).split(u','));
    for (const TUzel *n : mine.Uzels()) {
        if (n->IsEmpty())
            continue;
        AppendLine(out, {IntText(n->Number()), RealText(n->X()), RealText(n->Y()), RealText(n->Z()),
                         n->Surface() ? QStringLiteral("1") : QStringLiteral("0")});
    }
    return out;
}

QByteArray BranchesText(const TMine &mine)
{
    // Length and angle need the end nodes resolved; a copy of the network is resolved instead of
    // the mine, whose references and zone bounds stay as they were.
    TMine copy;
    copy.BeginUpdate();
    for (const TUzel *n : mine.Uzels())
        if (!n->IsEmpty())
            copy.AddUzel(n->Number(), n->X(), n->Y(), n->Z());
    std::vector<const TBranch *> rows;
    rows.reserve(size_t(mine.Branches().Count()));
    for (const TBranch *b : mine.Branches()) {
        if (b->IsEmpty())
            continue;
        rows.push_back(b);
        copy.AddBranch(b->Number(), b->StartNumber(), b->EndNumber(), QString(), b->Section())->SetShape(b->Shape());
    }
    copy.ResolveIncidence();

    QByteArray out;
    out.reserve(qsizetype(rows.size()) * 80 + 160);
    AppendLine(out, HeaderOf(kBranchNames, BranchColumnCount).split(u','));
    for (size_t i = 0; i < rows.size(); ++i) {
        const TBranch *b = rows[i];
        const TBranch *c = copy.Branches().Items(int(i) + 1);
        AppendLine(out, {IntText(b->Number()), IntText(b->StartNumber()), IntText(b->EndNumber()),
                         RealText(b->Section()), QString::number(b->Shape()), QString::number(b->Roughness()),
                         CsvText::ShortestFixed(b->Resistance()), GroupText(b->LayerIndex()),
                         GroupText(b->PLFIndex()), b->Comment(), b->Name(), RealText(c->Length()),
                         CsvText::ShortestFixed(c->Perimeter()), RealText(c->Angle())});
    }
    return out;
}

void Export(const TMine &mine, const QString &dir)
{
    if (dir.isEmpty() || !QDir().mkpath(dir))
        throw AppError(QStringLiteral("%1: %2").arg(dir, FileErrors::Text(FileErrors::BadFileName)));
    const QDir folder(dir);
    const QString names[2] = {folder.filePath(QStringLiteral("nodes.csv")), folder.filePath(QStringLiteral("branches.csv"))};
    const QByteArray texts[2] = {NodesText(mine), BranchesText(mine)};
    // Both files are complete beside their old versions before either replaces its old one.
    TSafeFile nodes(names[0]), branches(names[1]);
    try {
        nodes.Open();
        branches.Open();
        nodes.write(texts[0]);
        branches.write(texts[1]);
        TSafeFile::CommitAll({&nodes, &branches});
    } catch (const TFileError &e) {
        throw TFileError(e.Path(), e.Reason(), QStringLiteral("%1: %2").arg(e.Path(), e.Reason()), true);
    }
}

void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName)
{
    CsvText::TRecord r;
    std::vector<TNodeRow> uzels;
    TCsvTable uzelTable(nodes, nodesName, kNodeNames, NodeColumnCount, {NNumber});
    while (uzelTable.Next(r))
        uzels.push_back({uzelTable.Number(r, NNumber), uzelTable.Real(r, NX, true), uzelTable.Real(r, NY, true),
                         uzelTable.Real(r, NZ, true), uzelTable.Flag(r, NSurface)});

    TCsvTable t(branches, branchesName, kBranchNames, BranchColumnCount, {BNumber, BStart, BEnd});
    std::vector<TBranchRow> rows;
    qint32 layers = 0, plfs = 0;
    while (t.Next(r)) {
        TBranchRow b{t.Number(r, BNumber), t.Number(r, BStart), t.Number(r, BEnd), t.Real(r, BSection, false),
                     quint8(t.Int(r, BShape, 0, 0, kMaxShape)), quint8(t.Int(r, BRoughness, 0, 0, kMaxRoughness)),
                     t.Double(r, BResistance, 0.0, false), t.Int(r, BLayer, -1, -1, kMaxGroupIndex),
                     t.Int(r, BPLF, -1, -1, kMaxGroupIndex), t.Words(r, BComment), t.Words(r, BName)};
        if (b.End == b.Start)
            t.Fail(r, BEnd, QStringLiteral("совпадает с начальным узлом: %1").arg(Shown(t.Text(r, BEnd))));
        layers = std::max(layers, b.Layer + 1);
        plfs = std::max(plfs, b.PLF + 1);
        rows.push_back(std::move(b));
    }

    mine.BeginUpdate();
    for (const TNodeRow &n : uzels) {
        TUzel *u = mine.AddUzel(n.Number, n.X, n.Y, n.Z);
        if (n.Surface)
            u->SetSurface(true);
    }
    for (int i = mine.Layers().Count(); i < layers; ++i)
        (new TLayer(&mine))->SetName(QStringLiteral("Пласт %1").arg(i + 1));
    for (int i = mine.PLFs().Count(); i < plfs; ++i)
        (new TPLF(&mine))->SetName(QStringLiteral("Позиция ПЛА %1").arg(i + 1));
    for (const TBranchRow &r : rows) {
        TBranch *b = mine.AddBranch(r.Number, r.Start, r.End, r.Comment, r.Section);
        b->SetShape(r.Shape);
        b->SetRoughness(r.Roughness);
        b->SetResistance(r.Resistance);
        b->SetLayerIndex(r.Layer);
        b->SetPLFIndex(r.PLF);
        b->SetName(r.Name);
    }
    mine.EndUpdate();
    mine.SetModified(true);
}

void Import(TMine &mine, const QString &nodesPath, const QString &branchesPath)
{
    const QByteArray nodes = ReadFile(nodesPath);
    const QByteArray branches = ReadFile(branchesPath);
    Read(mine, nodes, nodesPath, branches, branchesPath);
}

} // namespace NetworkCsv
