#include "app/TSingleInstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {
const char ackBytes[] = "ACK";

QString ServiceName()
{
    QString service = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const qsizetype dot = service.indexOf(u'.');
    if (dot >= 0)
        service.truncate(dot);
    return service.isEmpty() ? QStringLiteral("tarvel") : service;
}

#ifdef Q_OS_UNIX
// A real folder (not a link to one) of this user that nobody else may enter.
bool IsPrivateFolder(const QString &path)
{
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0
        && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// "<tempDir>/tarvel-<uid>": made with mode 0700, or closed to others when it is ours already;
// empty when it is not ours or not a folder.
QString OwnTempFolder(const QString &tempDir)
{
    const QString path = QDir(tempDir).filePath(QStringLiteral("tarvel-%1").arg(::getuid()));
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return QString();
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return QString();
    return path;
}
#endif

// The other end of the connection runs under this user.
bool PeerIsOurs(const QLocalSocket &socket)
{
#if defined(Q_OS_LINUX)
    ucred cred {};
    socklen_t length = sizeof cred;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &length) == 0
        && cred.uid == ::getuid();
#elif defined(Q_OS_UNIX)
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(int(socket.socketDescriptor()), &uid, &gid) == 0 && uid == ::getuid();
#else
    Q_UNUSED(socket);
    return true;
#endif
}
} // namespace

TSingleInstance::TSingleInstance(QString serverName, QObject *parent)
    : QObject(parent), m_name(std::move(serverName))
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::DefaultServerName()
{
    return ServerNameFor(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), SessionKey());
}

QString TSingleInstance::SessionKey()
{
    QString key = qEnvironmentVariable("DISPLAY");
    if (!key.isEmpty()) {
        // ":53" and ":53.0" are the same display.
        const qsizetype colon = key.lastIndexOf(u':');
        const qsizetype dot = key.indexOf(u'.', colon + 1);
        if (colon >= 0 && dot > colon)
            key.truncate(dot);
    }
    if (key.isEmpty())
        key = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (key.isEmpty())
        key = qEnvironmentVariable("XDG_SESSION_ID");
    for (QChar &c : key) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')
            || (u >= u'0' && u <= u'9') || u == u'.' || u == u'-' || u == u'_';
        if (!plain)
            c = u'_';
    }
    return key;
}

QString TSingleInstance::ServerNameFor(const QString &runtimeDir, const QString &tempDir,
                                       const QString &display)
{
    const QString socket = display.isEmpty() ? ServiceName() : ServiceName() + u'-' + display;
#ifdef Q_OS_UNIX
    const QString folder = IsPrivateFolder(runtimeDir) ? runtimeDir : OwnTempFolder(tempDir);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(socket);
#else
    Q_UNUSED(runtimeDir);
    Q_UNUSED(tempDir);
    return socket;
#endif
}

bool TSingleInstance::Listen()
{
    if (m_server && m_server->isListening())
        return true;
    if (m_name.isEmpty())
        return false;
    // Someone answers there: that one is the first instance, or a stranger's listener that we
    // neither take over nor talk to. (Listening would silently take the name over, so ask first.)
    {
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(1000)) {
            probe.abort();
            return false;
        }
    }
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered: a socket left by a crashed instance.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &TSingleInstance::acceptConnection);
    return true;
}

bool TSingleInstance::IsListening() const
{
    return m_server && m_server->isListening();
}

void TSingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!PeerIsOurs(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void TSingleInstance::readRequest(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < qint64(sizeof(quint32)))
        return;
    quint32 length = 0;
    socket->peek(reinterpret_cast<char *>(&length), sizeof length);
    length = qFromBigEndian(length);
    if (length > MaxRequestBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(sizeof length) + length)
        return;
    socket->skip(sizeof length);
    const QString macro = QString::fromUtf8(socket->read(length));
    socket->write(ackBytes, 3);
    socket->flush();
    // Carry it out from the event loop, after the answer is on its way.
    QPointer<TSingleInstance> self(this);
    QTimer::singleShot(0, this, [self, macro] {
        if (self)
            emit self->ExecuteRequested(macro);
    });
}

bool TSingleInstance::SendRequest(const QString &serverName, const QString &macro, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!PeerIsOurs(socket)) {
        socket.abort();
        return false;
    }
    const QByteArray body = macro.toUtf8();
    if (quint32(body.size()) > MaxRequestBytes)
        return false;
    const quint32 length = qToBigEndian(quint32(body.size()));
    socket.write(reinterpret_cast<const char *>(&length), sizeof length);
    socket.write(body);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (answer.size() < 3) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    return answer.startsWith(ackBytes);
}
