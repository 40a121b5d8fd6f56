#pragma once
// The one exception type of the application. Model guards, file errors and refused edits all
// raise it with the full text the user is to see; the GUI shows the message in an error box,
// the command-line tool prints it.
#include <QString>
#include <QByteArray>
#include <exception>

class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
