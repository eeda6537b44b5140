#include "stub-site/StubSite.h"

#include <QTimer>

#include "core/DirectLink.h"
#include "stub-site/BodySources.h"
#include "stub-site/StubConnection.h"

#include <QTcpSocket>
#include <QUrlQuery>

#include <algorithm>
#include <utility>

namespace reelhound {

QByteArray StubSite::Request::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

StubSite::StubSite(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &StubSite::handleConnection);
}

StubSite::~StubSite() {
    server_.close();
    // Connections are children and go with us.
}

bool StubSite::listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port);
}

void StubSite::beUnreachableFor(int milliseconds) {
    const quint16 port = server_.serverPort();
    if (!server_.isListening() || port == 0)
        return;
    server_.close();
    // A connection closing already (the drop that set this off) sends what
    // it has queued first.
    for (QTcpSocket* socket : findChildren<QTcpSocket*>())
        if (socket->state() == QAbstractSocket::ConnectedState)
            socket->abort();
    QTimer::singleShot(milliseconds, this, [this, port] { listen(port); });
}

quint16 StubSite::port() const {
    return server_.serverPort();
}

QString StubSite::errorString() const {
    return server_.errorString();
}

QNetworkProxy StubSite::proxy() const {
    return QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), port());
}

int StubSite::videoRequestsFor(const QString& videoId) const {
    int count = 0;
    for (const auto& request : requests_) {
        const QUrl url(request.url);
        if (url.path() == u"/get_video" &&
            QUrlQuery(url).queryItemValue(QStringLiteral("video_id"), QUrl::FullyDecoded) ==
                videoId)
            ++count;
    }
    return count;
}

void StubSite::videoConnectionOpened(const QString& videoId) {
    ++openVideoConnections_[videoId];
    int open = 0;
    for (const int count : std::as_const(openVideoConnections_))
        open += count;
    mostVideoConnections_ = std::max(mostVideoConnections_, open);
}

void StubSite::videoConnectionClosed(const QString& videoId) {
    if (--openVideoConnections_[videoId] <= 0)
        openVideoConnections_.remove(videoId);
}

QStringList StubSite::requestedURLs() const {
    QStringList urls;
    for (const auto& request : requests_)
        urls.append(request.url);
    return urls;
}

void StubSite::handleConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection())
        serveConnection(*this, socket);
}

void StubSite::record(Request request) {
    const QString url = request.url;
    requests_.append(std::move(request));
    emit requestReceived(url);
}

QByteArray StubSite::generatedBytes(qint64 offset, qint64 length) {
    QByteArray bytes(length, Qt::Uninitialized);
    copyPattern(offset, bytes.data(), length);
    return bytes;
}

QString StubSite::directVideoURL(const QString& videoId) {
    return QString::fromStdString(directLinkPrefix()) + videoId;
}

} // namespace reelhound
