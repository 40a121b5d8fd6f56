#pragma once
// Texts of the mine file's errors. Reading and writing raise AppError with the full message the
// user sees; the coded input/output failures carry the reader's prefix before the code's text.
#include "AppError.h"

#include <QString>

// A failure on one file. message() is what the editor's box shows; Path() and Reason() (the
// reason alone, "файл не найден") are for messages that name the file themselves, as the CSV
// export and the command-line tool do; Writing() tells a file being written from one being read
// (standard input and output have the same name, "-").
class TFileError : public AppError {
public:
    TFileError(QString path, QString reason, QString message, bool writing = false)
        : AppError(std::move(message)), FPath(std::move(path)), FReason(std::move(reason)), FWriting(writing)
    {
    }
    const QString &Path() const { return FPath; }
    const QString &Reason() const { return FReason; }
    bool Writing() const { return FWriting; }

private:
    QString FPath;
    QString FReason;
    bool FWriting;
};

namespace FileErrors {

// Codes of the input/output failures the user can be told about.
enum Code : int {
    FileNotFound = 2,
    BadFileName = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    UnexpectedEnd = 100,
    DiskFull = 101,
    UnknownFormat = 106,
    NewerVersion = 107,
};

// The text of a code alone ("файл не найден"); unknown codes get the catch-all text with the code.
QString Text(int code);
// The prefix and the text of a code, as the error box shows it.
QString Message(int code);
// Why the file at path could not be opened, in the terms of the table above.
QString OpenFailure(const QString &path, bool forWriting);
// What a failure to write into an opened file is reported as.
QString WriteFailedMessage();
// A file could not be created or written for the reason errnoValue gives: the reason alone (a
// missing folder says so, a full disk is the table's text) and the message of the table.
QString CreateFailureReason(int errnoValue);
QString CreateFailureMessage(int errnoValue);
QString WriteFailureReason(int errnoValue);
// A path that names a directory, a pipe, a device or a socket instead of a mine file; the text
// alone is what other files' messages put after their name.
QString NotRegularMessage();
QString NotRegularText();
// Reading ran out of memory (a file claiming more than the machine holds).
QString OutOfMemoryMessage();
// The reason a message gives, without the reader's prefix ("файл не найден").
QString ReasonOf(const QString &message);

} // namespace FileErrors
