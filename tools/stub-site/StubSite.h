#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>

namespace reelhound {

// A local stand-in for the video site (www.vistaro.com) and the link service
// (config::kExtractionServiceHost), reached as an HTTP proxy on loopback.
// Requests carry absolute addresses and are answered by host name; the video
// identifier picks a fault mode (README.md lists them). Every answer is
// written in pieces as the socket drains, so any number of large transfers
// run at once inside the caller's event loop without holding files in memory.
class StubSite : public QObject {
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QString url; // absolute
        QList<QPair<QByteArray, QByteArray>> headers;

        QByteArray header(const QByteArray& name) const; // case-insensitive; empty if absent
    };

    explicit StubSite(QObject* parent = nullptr);
    ~StubSite() override;

    // Listens on 127.0.0.1; port 0 picks a free one.
    bool listen(quint16 port = 0);
    quint16 port() const;
    QString errorString() const;
    // The proxy setting that sends a client's requests here.
    QNetworkProxy proxy() const;

    const QList<Request>& requests() const { return requests_; }
    // How many requests for the video with this identifier came so far.
    int videoRequestsFor(const QString& videoId) const;
    // The bytes of bodies written to clients, all answers together.
    qint64 bodyBytesSent() const { return bodyBytesSent_; }
    // Connections sending the video with this identifier now, and the most
    // that sent any video at once so far.
    int openVideoConnectionsFor(const QString& videoId) const {
        return openVideoConnections_.value(videoId);
    }
    int mostVideoConnectionsAtOnce() const { return mostVideoConnections_; }
    QStringList requestedURLs() const;
    // Refuses every connection for a while, as a proxy being restarted does,
    // then listens on the same port again; connections already open go too.
    void beUnreachableFor(int milliseconds);
    bool isReachable() const { return server_.isListening(); }

    // The test-pattern video served for ordinary identifiers, made with ffmpeg
    // on first use and kept in a temporary folder shared by all runs. Empty
    // when ffmpeg could not make it.
    QString videoFilePath();
    QByteArray videoFileContents();

    // The bytes served for "size-N": byte i of every such file is the same.
    static QByteArray generatedBytes(qint64 offset, qint64 length);

    // The service's answer names this address for an ordinary identifier.
    static QString directVideoURL(const QString& videoId);

signals:
    void requestReceived(const QString& url);

private:
    friend class StubConnection;
    void handleConnection();
    void record(Request request);
    void videoConnectionOpened(const QString& videoId);
    void videoConnectionClosed(const QString& videoId);

    QTcpServer server_;
    QList<Request> requests_;
    qint64 bodyBytesSent_ = 0;
    QHash<QString, int> openVideoConnections_;
    int mostVideoConnections_ = 0;
    QString videoFilePath_;
    bool videoFileTried_ = false;
};

} // namespace reelhound
