#include "app/TSingleInstance.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QtEndian>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
const char ackBytes[] = "ACK";
}

TSingleInstance::TSingleInstance(QString serverName, QObject *parent)
    : QObject(parent), m_name(std::move(serverName))
{
}

TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::DefaultServerName()
{
    QString service = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const qsizetype dot = service.indexOf(u'.');
    if (dot >= 0)
        service.truncate(dot);
    if (service.isEmpty())
        service = QStringLiteral("tarvel");
#ifdef Q_OS_UNIX
    return QStringLiteral("%1-%2").arg(service).arg(::getuid());
#else
    return service;
#endif
}

bool TSingleInstance::Listen()
{
    if (m_server && m_server->isListening())
        return true;
    // Someone answers there: that one is the first instance. (Listening with user-only access
    // would silently take the name over, so ask first.)
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
