#include "exchange/TCsvTable.h"

#include "AppError.h"
#include "ShownText.h"
#include "model/NumberText.h"
#include "model/Unset.h"
#include "storage/CodePage.h"

#include <QStringDecoder>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>

namespace {

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF),
// eight bytes at a time while they are ASCII.
bool IsUtf8(std::string_view bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        unsigned char low = 0x80, high = 0xBF;   // bounds of the second byte
        if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p <= more || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= more; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        p += more + 1;
    }
    return true;
}

// The UTF-8 text of a file: its bytes after a byte-order mark, or their UTF-8 form in converted
// when they are not UTF-8 (then Windows-1251).
std::string_view Utf8Of(const QByteArray &bytes, QByteArray &converted)
{
    std::string_view text(bytes.constData(), size_t(bytes.size()));
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (IsUtf8(text))
        return text;
    QStringDecoder cp1251("windows-1251");
    converted = QString(cp1251.decode(QByteArrayView(text.data(), qsizetype(text.size())))).toUtf8();
    return std::string_view(converted.constData(), size_t(converted.size()));
}

std::string_view Trimmed(std::string_view s)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

bool SameName(std::string_view field, const char *name)
{
    return field.size() == std::strlen(name) && qstrnicmp(field.data(), name, field.size()) == 0;
}

QString ColumnList(const char *const *names, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QLatin1String(names[i]);
    return list.join(QStringLiteral(", "));
}

// Unknown names quoted in a message: the first few, then "…".
constexpr int kUnknownShown = 10;
// The longest refused value a message quotes whole.
constexpr qsizetype kShownLength = 200;

} // namespace

TCsvTable::TCsvTable(const QByteArray &bytes, const QString &name, const char *const *names, int count,
                     std::initializer_list<int> required)
    : FName(name), FNames(names), FCount(count), FText(Utf8Of(bytes, FConverted)),
      FReader(FText, CsvText::DetectSeparator(FText), CsvText::TQuotes::Strict)
{
    Q_ASSERT(count <= kMaxColumns);
    FFieldOf.fill(-1);
    ReadHeader(required);
}

void TCsvTable::FailOnLine(int line, const QString &text) const
{
    throw AppError(QStringLiteral("%1:%2: %3").arg(FName).arg(line).arg(text));
}

void TCsvTable::Fail(int column, const QString &text) const
{
    FailOnLine(Line(), QStringLiteral("column %1: %2").arg(QLatin1String(FNames[column]), text));
}

QString TCsvTable::Shown(std::string_view text)
{
    // A character takes at most 4 bytes: more than that many bytes are more characters.
    QString shown = FromUtf8(text.substr(0, size_t(kShownLength) * 4 + 4));
    if (shown.size() > kShownLength) {
        qsizetype cut = kShownLength;
        if (shown[cut - 1].isHighSurrogate())
            --cut;
        shown = shown.left(cut) + u'…';
    }
    return QStringLiteral("\"%1\"").arg(EscapedControls(shown));
}

void TCsvTable::FailOnBrokenQuote() const
{
    if (FReader.ErrorLine() > 0)
        FailOnLine(FReader.ErrorLine(), FReader.Error());
}

void TCsvTable::ReadHeader(std::initializer_list<int> required)
{
    std::string_view field;
    bool blank = true;
    QStringList unknown;
    qsizetype unknownCount = 0;
    while (blank) {
        if (!FReader.NextRecord()) {
            FailOnBrokenQuote();
            FailOnLine(1, QStringLiteral("файл пуст, нет строки заголовка"));
        }
        for (size_t f = 0; FReader.NextField(field); ++f) {
            const std::string_view name = Trimmed(field);
            if (name.empty())
                continue;
            blank = false;
            int column = -1;
            for (int k = 0; k < FCount && column < 0; ++k)
                if (SameName(name, FNames[k]))
                    column = k;
            if (column < 0) {
                if (++unknownCount <= kUnknownShown)
                    unknown << EscapedControls(FromUtf8(name.substr(0, size_t(kShownLength))));
                continue;
            }
            if (FFieldOf[size_t(column)] >= 0)
                FailOnLine(Line(), QStringLiteral("column %1: столбец указан дважды").arg(QLatin1String(FNames[column])));
            FFieldOf[size_t(column)] = int(f);
            FNamed.emplace_back(f, column);
        }
        FailOnBrokenQuote();
    }
    if (unknownCount > kUnknownShown)
        unknown << QStringLiteral("…");
    if (!unknown.isEmpty())
        FailOnLine(Line(), QStringLiteral("неизвестные столбцы: %1; допустимы: %2")
                         .arg(unknown.join(QStringLiteral(", ")), ColumnList(FNames, FCount)));
    for (int column : required)
        if (!Has(column))
            FailOnLine(Line(), QStringLiteral("column %1: столбец обязателен, но его нет").arg(QLatin1String(FNames[column])));
}

bool TCsvTable::Next()
{
    std::string_view field;
    while (FReader.NextRecord()) {
        FValue.fill(std::string_view());
        bool blank = true;
        auto named = FNamed.begin();
        for (size_t f = 0; FReader.NextField(field); ++f) {
            const std::string_view value = Trimmed(field);
            if (!value.empty())
                blank = false;
            if (named != FNamed.end() && named->first == f) {
                const size_t column = size_t(named->second);
                if (FReader.Unescaped()) {
                    FCopied[column].assign(value);
                    FValue[column] = FCopied[column];
                } else {
                    FValue[column] = value;
                }
                ++named;
            } else if (!value.empty()) {
                FailOnLine(Line(), QStringLiteral("значение в поле %1, у которого нет столбца в заголовке").arg(f + 1));
            }
        }
        FailOnBrokenQuote();
        if (!blank)
            return true;
    }
    FailOnBrokenQuote();
    return false;
}

qint32 TCsvTable::Int(int column, qint32 whenEmpty, qint64 min, qint64 max) const
{
    const std::string_view text = Text(column);
    if (text.empty())
        return whenEmpty;
    qint64 value = 0;
    if (!NumberText::ParseWhole(text, value)) {
        // Spreadsheets may write whole numbers with decimals ("12,00").
        double d = 0;
        if (!NumberText::ParseDecimal(text, d) || d != std::trunc(d))
            Fail(column, QStringLiteral("не целое число: %1").arg(Shown(text)));
        if (d < double(INT_MIN) || d > double(INT_MAX))
            Fail(column, QStringLiteral("число вне пределов 32-разрядного целого: %1").arg(Shown(text)));
        value = qint64(d);
    }
    if (value < INT_MIN || value > INT_MAX)
        Fail(column, QStringLiteral("число вне пределов 32-разрядного целого: %1").arg(Shown(text)));
    if (value < min || value > max)
        Fail(column, QStringLiteral("допустимы значения от %1 до %2: %3").arg(min).arg(max).arg(Shown(text)));
    return qint32(value);
}

qint32 TCsvTable::Number(int column) const
{
    if (Text(column).empty())
        Fail(column, QStringLiteral("номер не указан"));
    const qint32 v = Int(column, 0, INT_MIN, INT_MAX);
    if (v <= 0)
        Fail(column, QStringLiteral("номер должен быть больше 0: %1").arg(Shown(Text(column))));
    return v;
}

qint32 TCsvTable::OwnNumber(int column) const
{
    return Int(column, kUnsetInt, INT_MIN, INT_MAX);
}

double TCsvTable::Double(int column, double whenEmpty, bool negative) const
{
    const std::string_view text = Text(column);
    if (text.empty())
        return whenEmpty;
    double value = 0;
    if (!NumberText::ParseDecimal(text, value))
        Fail(column, QStringLiteral("не число: %1").arg(Shown(text)));
    if (!negative && value < 0 && !IsUnset(value))
        Fail(column, QStringLiteral("отрицательное значение: %1").arg(Shown(text)));
    return value;
}

float TCsvTable::Real(int column, bool negative) const { return Real(column, negative, kUnsetReal); }

float TCsvTable::Real(int column, bool negative, float whenEmpty) const
{
    const double value = Double(column, double(whenEmpty), negative);
    if (std::fabs(value) > double(FLT_MAX))
        Fail(column, QStringLiteral("число вне пределов: %1").arg(Shown(Text(column))));
    return float(value);
}

bool TCsvTable::Flag(int column) const
{
    const std::string_view bytes = Text(column);
    if (bytes.empty())
        return false;
    const QString text = FromUtf8(bytes.substr(0, 16));
    static const QStringList yes = {QStringLiteral("1"), QStringLiteral("Да"), QStringLiteral("true"),
                                    QStringLiteral("yes")};
    static const QStringList no = {QStringLiteral("0"), QStringLiteral("Нет"), QStringLiteral("false"),
                                   QStringLiteral("no")};
    if (bytes.size() <= 16) {
        if (no.contains(text, Qt::CaseInsensitive))
            return false;
        if (yes.contains(text, Qt::CaseInsensitive))
            return true;
    }
    Fail(column, QStringLiteral("ожидалось 1 или 0 (Да или Нет): %1").arg(Shown(bytes)));
}

QString TCsvTable::Words(int column) const
{
    QString text = FromUtf8(Text(column));
    // UTF-8 of Cyrillic takes two bytes a letter, and the text was made as long as the bytes:
    // the model keeps it for as long as the document lives.
    if (text.capacity() > text.size() + 8)
        text.squeeze();
    const qsizetype bad = CodePage::First1251Misfit(text);
    if (bad >= 0) {
        const qsizetype width = text[bad].isHighSurrogate() && bad + 1 < text.size() ? 2 : 1;
        Fail(column, QStringLiteral("символ %1 не помещается в кодовую страницу Windows-1251")
                         .arg(Shown(text.mid(bad, width).toStdString())));
    }
    return text;
}
