#pragma once

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace reelhound::testing {

// A real proxy that asks for a user name and password: tinyproxy with basic
// authentication on a free loopback port, passing every request on to
// `upstream` (the local stand-in of the site). Stopped when it goes.
class AuthenticatingProxy {
public:
    static QString executable() { return QStandardPaths::findExecutable("tinyproxy"); }

    ~AuthenticatingProxy() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // Starts it and waits until it takes connections; false with the reason
    // in errorString() otherwise.
    bool start(quint16 upstream, const QString& user, const QString& password) {
        if (!folder_.isValid())
            return fail("no temporary folder");
        port_ = freeLoopbackPort();
        const QString config = folder_.filePath("tinyproxy.conf");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return fail("cannot write " + config);
        file.write(QStringLiteral("Port %1\nListen 127.0.0.1\nTimeout 60\nMaxClients 50\n"
                                  "LogLevel Error\nDisableViaHeader Yes\nBasicAuth %2 %3\n"
                                  "Upstream http 127.0.0.1:%4\n")
                       .arg(port_)
                       .arg(user, password)
                       .arg(upstream)
                       .toUtf8());
        file.close();
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(executable(), {"-d", "-c", config});
        if (!process_.waitForStarted(5000))
            return fail(process_.errorString());
        for (int attempt = 0; attempt < 100; ++attempt) {
            QTcpSocket probe;
            probe.connectToHost(QStringLiteral("127.0.0.1"), port_);
            if (probe.waitForConnected(100))
                return true;
            if (process_.waitForFinished(50))
                return fail("tinyproxy stopped at start");
        }
        return fail("tinyproxy took no connection");
    }

    quint16 port() const { return port_; }
    QString errorString() const { return error_; }

private:
    static quint16 freeLoopbackPort() {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }
    bool fail(const QString& why) {
        error_ = why;
        return false;
    }

    QTemporaryDir folder_;
    QProcess process_;
    quint16 port_ = 0;
    QString error_;
};

} // namespace reelhound::testing
