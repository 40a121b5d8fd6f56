#pragma once
// Hand-over of documents between starts of the program, standing in for the shell's dynamic
// data exchange. The first instance listens on a per-user local socket; a later start sends its
// documents there as one execute request (macro text, see DdeMacro.h), waits for the
// acknowledgement and exits. Requests are framed as a 32-bit length and UTF-8 text; the answer
// is the three bytes "ACK", sent before the request is carried out so that the sender never
// waits on a question box of the receiver.
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(QString serverName, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // "tarvel-<user id>": the service name (the executable's name up to its first ".") and the
    // user, so that every user has a first instance of their own.
    static QString DefaultServerName();

    // Starts listening. Returns false when another live instance already owns the name.
    // A socket left behind by a crashed instance is taken over.
    bool Listen();
    bool IsListening() const;
    QString ServerName() const { return m_name; }

    // Sends macro to the instance listening on serverName; true once it acknowledged.
    static bool SendRequest(const QString &serverName, const QString &macro, int timeoutMs = 5000);

    // Largest request accepted; anything longer is dropped with its connection.
    static constexpr quint32 MaxRequestBytes = 4 * 1024 * 1024;

signals:
    void ExecuteRequested(const QString &macro);

private:
    void acceptConnection();
    void readRequest(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server = nullptr;
};
