#pragma once
// Rows of a CSV file as they are written: UTF-8 after a byte-order mark, fields quoted where
// they must be, numbers in full (the shortest text that reads back to the same value), the
// unset marker as an empty field. Into a device a quarter megabyte at a time, so that a large
// file is never laid out whole in memory, or into memory when there is no device.
#include "exchange/NetworkCsv.h"
#include "model/ColumnKinds.h"

#include <QByteArray>
#include <QString>

class QIODevice;

class TCsvOut {
public:
    // device: written as rows fill the buffer and at Flush; none: everything is kept for Take.
    TCsvOut(QIODevice *device, const NetworkCsv::TFormat &format);
    TCsvOut(const TCsvOut &) = delete;
    TCsvOut &operator=(const TCsvOut &) = delete;

    void Header(const char *const *names, int count);
    void Value(const TColumnValue &value);
    void Int(qint32 value);
    void Real(double value);
    void Text(const QString &text);
    // A seam or plan-position index: empty for none.
    void Group(qint32 index);
    void EndRow();

    // Writes what is buffered into the device (a failed write raises TFileError there).
    void Flush();
    QByteArray Take() { return std::move(FBuffer); }

private:
    void Separate();
    void Number(const char *begin, const char *end);

    QIODevice *FDevice;
    NetworkCsv::TFormat FFormat;
    QByteArray FBuffer;
    bool FRowStarted = false;
};
