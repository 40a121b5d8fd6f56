#include "exchange/TJsonReader.h"

#include "AppError.h"

#include <QStringDecoder>
#include <cctype>
#include <cstring>

TJsonReader::TJsonReader(QByteArrayView text)
    : FBegin(text.data()), FAt(text.data()), FEnd(text.data() + text.size())
{
}

void TJsonReader::Fail(const QString &what) const
{
    int line = 1;
    const char *lineStart = FBegin;
    for (const char *p = FBegin; p < FAt; ++p)
        if (*p == '\n') {
            ++line;
            lineStart = p + 1;
        }
    // Columns count characters, not the bytes of UTF-8.
    const qsizetype column = QString::fromUtf8(lineStart, FAt - lineStart).size() + 1;
    throw AppError(QStringLiteral("строка %1, столбец %2: %3").arg(line).arg(column).arg(what));
}

void TJsonReader::Blanks()
{
    while (FAt < FEnd && (*FAt == ' ' || *FAt == '\n' || *FAt == '\r' || *FAt == '\t'))
        ++FAt;
}

char TJsonReader::Current()
{
    Blanks();
    if (FAt == FEnd)
        Fail(QStringLiteral("текст JSON оборван"));
    return *FAt;
}

void TJsonReader::Expect(char c)
{
    if (Current() != c)
        Fail(QStringLiteral("ожидается \"%1\"").arg(QLatin1Char(c)));
    ++FAt;
}

TJsonReader::TType TJsonReader::Peek()
{
    switch (Current()) {
    case '{': return TType::Object;
    case '[': return TType::Array;
    case '"': return TType::String;
    case 't':
    case 'f': return TType::Bool;
    case 'n': return TType::Null;
    case '-':
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
        return TType::Number;
    default: Fail(QStringLiteral("ожидается значение JSON"));
    }
}

void TJsonReader::BeginObject()
{
    Expect('{');
    FFirst.push_back(true);
}

bool TJsonReader::NextKey(QByteArray &key)
{
    const bool first = FFirst.back();
    const char c = Current();
    if (c == '}') {
        ++FAt;
        FFirst.pop_back();
        return false;
    }
    if (!first) {
        if (c != ',')
            Fail(QStringLiteral("ожидается \",\" или \"}\""));
        ++FAt;
    }
    if (Current() != '"')
        Fail(QStringLiteral("ожидается ключ в кавычках"));
    key.clear();
    StringBytes(&key);
    Expect(':');
    FFirst.back() = false;
    return true;
}

void TJsonReader::BeginArray()
{
    Expect('[');
    FFirst.push_back(true);
}

bool TJsonReader::NextItem()
{
    const char c = Current();
    if (c == ']') {
        ++FAt;
        FFirst.pop_back();
        return false;
    }
    if (!FFirst.back()) {
        if (c != ',')
            Fail(QStringLiteral("ожидается \",\" или \"]\""));
        ++FAt;
    }
    FFirst.back() = false;
    return true;
}

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AppendUtf8(QByteArray &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

// The bytes of a string, its escapes undone; out may be null (the string is only checked).
void TJsonReader::StringBytes(QByteArray *out)
{
    ++FAt;   // the opening quote
    for (;;) {
        const char *run = FAt;
        while (FAt < FEnd && *FAt != '"' && *FAt != '\\' && quint8(*FAt) >= 0x20)
            ++FAt;
        if (out)
            out->append(run, FAt - run);
        if (FAt == FEnd)
            Fail(QStringLiteral("текст JSON оборван внутри строки"));
        if (*FAt == '"') {
            ++FAt;
            return;
        }
        if (*FAt != '\\')
            Fail(QStringLiteral("управляющий символ внутри строки"));
        if (++FAt == FEnd)
            Fail(QStringLiteral("текст JSON оборван внутри строки"));
        const char e = *FAt++;
        char plain = 0;
        switch (e) {
        case '"': plain = '"'; break;
        case '\\': plain = '\\'; break;
        case '/': plain = '/'; break;
        case 'b': plain = '\b'; break;
        case 'f': plain = '\f'; break;
        case 'n': plain = '\n'; break;
        case 'r': plain = '\r'; break;
        case 't': plain = '\t'; break;
        case 'u': break;
        default: --FAt; Fail(QStringLiteral("неизвестная escape-последовательность"));
        }
        if (e != 'u') {
            if (out)
                *out += plain;
            continue;
        }
        const auto unit = [this]() {
            if (FEnd - FAt < 4)
                Fail(QStringLiteral("неверная escape-последовательность \\u"));
            int v = 0;
            for (int k = 0; k < 4; ++k) {
                const int d = HexDigit(FAt[k]);
                if (d < 0)
                    Fail(QStringLiteral("неверная escape-последовательность \\u"));
                v = v * 16 + d;
            }
            FAt += 4;
            return char32_t(v);
        };
        char32_t c = unit();
        if (c >= 0xDC00 && c <= 0xDFFF)
            Fail(QStringLiteral("непарная половина суррогатной пары"));
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (FEnd - FAt < 2 || FAt[0] != '\\' || FAt[1] != 'u')
                Fail(QStringLiteral("непарная половина суррогатной пары"));
            FAt += 2;
            const char32_t low = unit();
            if (low < 0xDC00 || low > 0xDFFF)
                Fail(QStringLiteral("непарная половина суррогатной пары"));
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
        if (out)
            AppendUtf8(*out, c);
    }
}

QString TJsonReader::String()
{
    if (Current() != '"')
        Fail(QStringLiteral("ожидается строка"));
    const char *start = FAt;
    QByteArray bytes;
    StringBytes(&bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        FAt = start;
        Fail(QStringLiteral("строка не в кодировке UTF-8"));
    }
    return text;
}

std::string_view TJsonReader::Number()
{
    Current();
    const char *start = FAt;
    const auto digits = [this]() {
        const char *from = FAt;
        while (FAt < FEnd && *FAt >= '0' && *FAt <= '9')
            ++FAt;
        return FAt > from;
    };
    if (FAt < FEnd && *FAt == '-')
        ++FAt;
    if (FAt < FEnd && *FAt == '0')
        ++FAt;
    else if (!digits())
        Fail(QStringLiteral("неверное число"));
    if (FAt < FEnd && *FAt == '.') {
        ++FAt;
        if (!digits())
            Fail(QStringLiteral("неверное число"));
    }
    if (FAt < FEnd && (*FAt == 'e' || *FAt == 'E')) {
        ++FAt;
        if (FAt < FEnd && (*FAt == '+' || *FAt == '-'))
            ++FAt;
        if (!digits())
            Fail(QStringLiteral("неверное число"));
    }
    if (FAt < FEnd && ((*FAt >= '0' && *FAt <= '9') || *FAt == '.' || std::isalpha(quint8(*FAt))))
        Fail(QStringLiteral("неверное число"));
    return std::string_view(start, size_t(FAt - start));
}

void TJsonReader::Word(const char *word)
{
    const size_t n = std::strlen(word);
    if (size_t(FEnd - FAt) < n || std::memcmp(FAt, word, n) != 0)
        Fail(QStringLiteral("ожидается значение JSON"));
    FAt += n;
}

bool TJsonReader::Bool()
{
    if (Current() == 't') {
        Word("true");
        return true;
    }
    Word("false");
    return false;
}

void TJsonReader::Null()
{
    Current();
    Word("null");
}

void TJsonReader::End()
{
    Blanks();
    if (FAt != FEnd)
        Fail(QStringLiteral("после документа JSON лишний текст"));
}
