#pragma once
// Hand-over of documents between starts of the program, standing in for the shell's dynamic
// data exchange. The first instance listens on a local socket of its user and display; a later
// start on the same display sends its documents there as one execute request (macro text, see
// DdeMacro.h), waits for the acknowledgement and exits. Requests are framed as a 32-bit length
// and UTF-8 text; the answer is the three bytes "ACK", sent before the request is carried out so
// that the sender never waits on a question box of the receiver.
//
// Who may talk to whom: the socket lives in a folder only its user can enter (the session's
// runtime folder, or a 0700 folder of ours under the temporary folder), and both ends check the
// other's user id on the connection itself, so documents are neither handed to nor taken from
// another user's program.
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class TSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit TSingleInstance(QString serverName, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // ServerNameFor with this session's runtime folder, temporary folder and display.
    static QString DefaultServerName();
    // The socket path "<folder>/<service>-<display>" (just "<service>" without a display), the
    // service being the executable's name up to its first "."; the folder is runtimeDir when it
    // is a folder of this user closed to everyone else, else "<tempDir>/tarvel-<user id>",
    // created with mode 0700 and closed if it was open. Empty when no such folder can be had
    // (for instance the one under tempDir belongs to someone else): then there is no hand-over.
    static QString ServerNameFor(const QString &runtimeDir, const QString &tempDir,
                                 const QString &display);
    // What tells this session's screen apart: DISPLAY (without its screen number), else
    // WAYLAND_DISPLAY, else the login session's id; letters outside [A-Za-z0-9._-] become "_".
    static QString SessionKey();

    // Starts listening. Returns false when a live instance, ours or anyone's, already answers on
    // the name, or when there is no name. A socket left behind by a crashed instance is removed.
    bool Listen();
    bool IsListening() const;
    QString ServerName() const { return m_name; }

    // Sends macro to the instance listening on serverName; true once it acknowledged. Nothing is
    // sent to a listener that runs under another user.
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
