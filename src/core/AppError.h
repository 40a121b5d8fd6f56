#pragma once
// The one exception type of the application. Model guards, file errors and refused edits all
// raise it with the full text the user is to see; the GUI shows the message in an error box,
// the command-line tool prints it.
#include <QString>
#include <QByteArray>
#include <exception>

class AppError : public std::exception {
public:
    explicit AppError(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString &message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};
