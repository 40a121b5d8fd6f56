#pragma once
// A small streaming JSON writer for the dump: UTF-8, two-space indentation, and reals in the
// shortest form that reads back to the same single- or double-precision value (a float is not
// widened to double first, so 0.1f prints as 0.1, not 0.10000000149011612).
#include <QByteArray>
#include <QString>
#include <vector>

class TJsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(const char *name);

    void Bool(bool v);
    void Int(qint64 v);
    void UInt(quint64 v);
    void Float(float v);
    void Double(double v);
    void String(const QString &v);

    // Shortest round-trip texts; non-finite values have no JSON number and give "null".
    static QByteArray FloatText(float v);
    static QByteArray DoubleText(double v);

    const QByteArray &Text() const { return FOut; }

private:
    void BeforeValue();
    void NewLine();

    QByteArray FOut;
    struct Level {
        bool IsObject;
        bool Empty;
    };
    std::vector<Level> FLevels;
    bool FAfterKey = false;
};
