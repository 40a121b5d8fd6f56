#include "exchange/DxfScreen.h"

#include "AppError.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

constexpr int kMaxCode = 1071;   // the highest group code of the format

enum class TValue { Text, Real, Integer };

// What the format keeps under a group code (the DXF reference's table of code ranges).
TValue ValueOf(int code)
{
    if ((code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
        (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059))
        return TValue::Real;
    if ((code >= 60 && code <= 99) || (code >= 160 && code <= 179) || (code >= 270 && code <= 299) ||
        (code >= 370 && code <= 389) || (code >= 400 && code <= 409) || (code >= 420 && code <= 429) ||
        (code >= 440 && code <= 459) || (code >= 1060 && code <= 1071))
        return TValue::Integer;
    return TValue::Text;
}

QString Shown(std::string_view s)
{
    return QString::fromLatin1(s.data(), qsizetype(std::min<size_t>(s.size(), 40)));
}

bool ParseInteger(std::string_view s, qint64 *value)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+')
        return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), *value);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// As the library reads a real: a comma is taken for the decimal point.
bool ParseReal(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+')
        return false;
    char buf[DxfScreen::kMaxLine + 1];
    const size_t n = std::min(s.size(), sizeof buf);
    std::memcpy(buf, s.data(), n);
    std::replace(buf, buf + n, ',', '.');
    double v = 0;
    const auto r = std::from_chars(buf, buf + n, v);
    return r.ec == std::errc() && r.ptr == buf + n && std::isfinite(v);
}

// "dxflib 3.26.4.0": the library reads the version after its name and cannot take any other form.
bool LibraryComment(std::string_view s)
{
    if (s.substr(0, 6) != "dxflib")
        return true;
    if (s.size() < 8 || s[6] != ' ')
        return false;
    int parts = 1;
    bool digit = false;
    for (char c : s.substr(7)) {
        if (c == '.') {
            if (!digit)
                return false;
            ++parts;
            digit = false;
        } else if (c >= '0' && c <= '9') {
            digit = true;
        } else {
            return false;
        }
    }
    return digit && parts == 4;
}

// The counts the library allocates by, within one record.
struct TCounts {
    qint64 Points10 = 0, Points11 = 0, Knots40 = 0;
    int Given[5] = {0, 0, 0, 0, 0};        // how often 90, 72, 73, 74, 76 came
    qint64 Value[5] = {0, 0, 0, 0, 0};     // and the last value of each
    void Clear() { *this = TCounts(); }
};
int CountSlot(int code)
{
    switch (code) {
    case 90: return 0;
    case 72: return 1;
    case 73: return 2;
    case 74: return 3;
    case 76: return 4;
    default: return -1;
    }
}

[[noreturn]] void Refuse(const QString &what) { throw AppError(what); }

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

void CheckCounts(const std::string &type, qint32 line, const TCounts &c)
{
    const QString entity = QString::fromStdString(type);
    // exact: the count must be given and match; otherwise it may be left out and must not claim more.
    auto claim = [&](int slot, int code, qint64 present, bool exact) {
        if (c.Given[slot] > 1)
            Refuse(QStringLiteral("строка %1: в %2 группа %3 повторяется").arg(line).arg(entity).arg(code));
        if (c.Given[slot] == 0) {
            if (exact)
                Refuse(QStringLiteral("строка %1: в %2 нет группы %3 (число вершин)").arg(line).arg(entity).arg(code));
            return;
        }
        if (exact ? c.Value[slot] != present : c.Value[slot] > present)
            Refuse(QStringLiteral("строка %1: в %2 группа %3 обещает %4, а задано %5")
                       .arg(line)
                       .arg(entity)
                       .arg(code)
                       .arg(c.Value[slot])
                       .arg(present));
    };
    if (type == "LWPOLYLINE") {
        // Without its count the library would take the vertices of the polyline before.
        claim(0, 90, c.Points10, true);
    } else if (type == "SPLINE") {
        claim(1, 72, c.Knots40, false);
        claim(2, 73, c.Points10, false);
        claim(3, 74, c.Points11, false);
    } else if (type == "LEADER") {
        claim(4, 76, c.Points10, false);
    }
}

} // namespace

namespace DxfScreen {

qsizetype TScreened::RecordEndingAt(qsizetype offset) const
{
    const auto it = std::upper_bound(Records.begin(), Records.end(), offset,
                                     [](qsizetype o, const TRecord &r) { return o < r.ValueEnd; });
    return qsizetype(it - Records.begin()) - 1;
}

TScreened Check(QByteArrayView bytes)
{
    if (bytes.startsWith("AutoCAD Binary DXF"))
        Refuse(QStringLiteral("двоичный DXF не читается: сохраните чертёж как DXF в текстовом виде (ASCII)"));
    const char *data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    qint32 line = 0;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");

    auto next = [&](std::string_view &out) -> bool {
        if (pos >= size)
            return false;
        const void *nl = std::memchr(data + pos, '\n', size_t(size - pos));
        const qsizetype end = nl ? static_cast<const char *>(nl) - data : size;
        ++line;
        if (end - pos > kMaxLine)
            Refuse(QStringLiteral("строка %1 длиннее %2 знаков: это не DXF или файл повреждён").arg(line).arg(kMaxLine));
        if (std::memchr(data + pos, '\0', size_t(end - pos)))
            Refuse(QStringLiteral("в строке %1 нулевой байт: это не текстовый файл DXF").arg(line));
        qsizetype b = pos, e = end;
        if (line == 1 && bom)
            b += 3;
        while (e > b && data[e - 1] == '\r')
            --e;
        out = std::string_view(data + b, size_t(e - b));
        pos = nl ? end + 1 : size;
        return true;
    };

    TScreened s;
    std::unordered_map<std::string, qint32> typeIndex;
    auto intern = [&](std::string_view v) {
        auto [it, added] = typeIndex.emplace(std::string(v), qint32(s.Types.size()));
        if (added)
            s.Types.emplace_back(v);
        return it->second;
    };

    std::string section;
    bool sectionName = false, inBlock = false, first = true, eof = false;
    std::string recordType;
    qint32 recordLine = 0;
    TCounts counts;
    std::string_view code, value;
    while (next(code)) {
        const qint32 codeLine = line;
        code = Trimmed(code);
        qint64 c = -1;
        if (!ParseInteger(code, &c) || c < 0 || c > kMaxCode)
            Refuse(first ? QStringLiteral("это не файл DXF")
                         : QStringLiteral("строка %1: вместо кода группы \"%2\": файл повреждён").arg(codeLine).arg(Shown(code)));
        if (!next(value))
            Refuse(QStringLiteral("файл обрывается на строке %1: нет значения группы").arg(codeLine));
        // The library keeps a value's blanks (an entity "LINE " is no LINE to it) but reads a
        // number around them.
        const std::string_view word = Trimmed(value);
        if (first && c != 999) {
            if (c != 0 || word != "SECTION" || (bom && code != "0"))
                Refuse(QStringLiteral("это не файл DXF: он начинается не с раздела (0 SECTION)"));
            first = false;
        }
        const TValue kind = ValueOf(int(c));
        qint64 number = 0;
        if (kind == TValue::Integer && (!ParseInteger(word, &number) || number < INT_MIN || number > INT_MAX))
            Refuse(QStringLiteral("строка %1: группа %2 должна быть целым числом, а не \"%3\"").arg(line).arg(c).arg(Shown(value)));
        if (kind == TValue::Real && !ParseReal(word))
            Refuse(QStringLiteral("строка %1: группа %2 должна быть числом, а не \"%3\"").arg(line).arg(c).arg(Shown(value)));
        if (c == 999 && !LibraryComment(value))
            Refuse(QStringLiteral("строка %1: комментарий dxflib без номера версии").arg(line));

        if (c == 0 || c == 9) {
            if (!recordType.empty() || recordLine > 0)
                CheckCounts(recordType, recordLine, counts);
            counts.Clear();
            recordType.assign(value);
            recordLine = codeLine;
            if (c == 0) {
                if (word == "SECTION") {
                    sectionName = true;
                    section.clear();
                    inBlock = false;
                } else if (word == "ENDSEC") {
                    section.clear();
                    inBlock = false;
                } else if (word == "EOF") {
                    eof = true;
                } else if (section == "BLOCKS" && word == "BLOCK") {
                    inBlock = true;
                    ++s.Blocks;
                }
            }
            TRecord r;
            r.ValueEnd = pos;
            r.Line = codeLine;
            r.Type = intern(value);
            r.Container = section == "ENTITIES" ? 0 : (section == "BLOCKS" && inBlock ? s.Blocks : -1);
            s.Records.push_back(r);
            if (c == 0 && word == "ENDBLK")
                inBlock = false;
            continue;
        }
        if (sectionName && c == 2) {
            section.assign(word);
            sectionName = false;
        }
        if (c == 10)
            ++counts.Points10;
        else if (c == 11)
            ++counts.Points11;
        else if (c == 40)
            ++counts.Knots40;
        if (const int slot = CountSlot(int(c)); slot >= 0) {
            ++counts.Given[slot];
            counts.Value[slot] = number;
        }
    }
    if (first)
        Refuse(QStringLiteral("это не файл DXF"));
    CheckCounts(recordType, recordLine, counts);
    if (!eof)
        Refuse(QStringLiteral("файл обрывается: нет завершающей группы EOF"));
    return s;
}

} // namespace DxfScreen
