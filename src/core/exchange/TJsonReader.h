#pragma once
// A pull reader of JSON text (RFC 8259) for documents whose shape the caller knows: the caller
// asks for the value it expects next, so nothing is built but what the caller keeps, and the
// depth is the caller's (a hostile input cannot nest the reader into a stack overflow).
//
// The text must be UTF-8. Syntax errors raise AppError "строка L, столбец C: ..."; what a value
// means (its type, its range) is for the caller to judge, after Peek().
#include <QByteArrayView>
#include <QString>
#include <string_view>
#include <vector>

class TJsonReader {
public:
    enum class TType { Object, Array, String, Number, Bool, Null };

    explicit TJsonReader(QByteArrayView text);

    // The type of the next value.
    TType Peek();

    // '{': then NextKey() until it says false at '}'.
    void BeginObject();
    bool NextKey(QByteArray &key);
    // '[': then NextItem() until it says false at ']'.
    void BeginArray();
    bool NextItem();

    QString String();
    // A number's text as the JSON grammar has it ("-0.5e3").
    std::string_view Number();
    bool Bool();
    void Null();
    // Nothing but blanks may follow the document.
    void End();

    [[noreturn]] void Fail(const QString &what) const;

private:
    void Blanks();
    char Current();
    void Expect(char c);
    void StringBytes(QByteArray *out);
    void Word(const char *word);

    const char *FBegin;
    const char *FAt;
    const char *FEnd;
    std::vector<bool> FFirst;   // per open object or array: no member read yet
};
