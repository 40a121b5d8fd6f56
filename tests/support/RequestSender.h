#pragma once
// A later start's request to the running program, sent from another thread while the test's
// own thread serves it (the two ends of TSingleInstance cannot share one thread).
#include "app/TSingleInstance.h"

#include <QThread>
#include <QTest>

class RequestSender : public QThread {
public:
    RequestSender(QString server, QString macro) : m_server(std::move(server)), m_macro(std::move(macro)) {}
    bool ok = false;

protected:
    void run() override { ok = TSingleInstance::SendRequest(m_server, m_macro, 5000); }

private:
    QString m_server;
    QString m_macro;
};

// Sends macro to server and serves events until it is acknowledged; false after ten seconds.
inline bool SendFromThread(const QString &server, const QString &macro)
{
    RequestSender sender(server, macro);
    sender.start();
    const bool finished = QTest::qWaitFor([&] { return sender.isFinished(); }, 10000);
    sender.wait();
    return finished && sender.ok;
}
