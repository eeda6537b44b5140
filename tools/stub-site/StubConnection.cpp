#include "stub-site/StubConnection.h"

#include "stub-site/Answers.h"
#include "stub-site/StubSite.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace reelhound {
namespace {

constexpr qint64 kPieceSize = 64 * 1024;
// How much may wait in the socket before we stop writing until it drains.
constexpr qint64 kHighWater = 256 * 1024;
constexpr qint64 kMaximumRequestSize = 64 * 1024;
constexpr qint64 kTricklePiece = 4 * 1024;
constexpr int kTrickleIntervalMs = 50;

// "Range: bytes=FIRST-" or "bytes=FIRST-LAST", the forms clients here ask
// for; LAST is -1 when the range runs to the end. Nothing for other forms.
std::optional<std::pair<qint64, qint64>> requestedRange(const QByteArray& field) {
    const QList<QByteArray> parts =
        field.startsWith("bytes=") ? field.mid(6).split('-') : QList<QByteArray>();
    if (parts.size() != 2)
        return std::nullopt;
    bool firstOk = false, lastOk = false;
    const qint64 first = parts[0].toLongLong(&firstOk);
    const qint64 last = parts[1].isEmpty() ? -1 : parts[1].toLongLong(&lastOk);
    if (!firstOk || first < 0 || (!parts[1].isEmpty() && (!lastOk || last < first)))
        return std::nullopt;
    return std::pair{first, last};
}

} // namespace

// One client connection: reads one request, answers it, closes.
class StubConnection final : public QObject {
public:
    StubConnection(StubSite& site, QTcpSocket* socket)
        : QObject(&site), site_(site), socket_(socket) {
        socket_->setParent(this);
        connect(socket_, &QTcpSocket::readyRead, this, &StubConnection::readRequest);
        connect(socket_, &QTcpSocket::bytesWritten, this, &StubConnection::pump);
        connect(socket_, &QTcpSocket::disconnected, this, [this] {
            // Not in the destructor: the site may be going away itself.
            if (!videoId_.isEmpty())
                site_.videoConnectionClosed(std::exchange(videoId_, QString()));
            deleteLater();
        });
        trickleTimer_.setInterval(kTrickleIntervalMs);
        connect(&trickleTimer_, &QTimer::timeout, this, [this] {
            trickleBudget_ = tricklePiece_;
            pump();
        });
        readRequest();
    }

private:
    void readRequest() {
        if (answered_) {
            socket_->readAll(); // one request per connection
            return;
        }
        received_ += socket_->readAll();
        const auto headerEnd = received_.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            if (received_.size() > kMaximumRequestSize)
                respond(htmlResponse(431, "Request Header Fields Too Large",
                                     QStringLiteral("Too large"), QString()));
            return;
        }
        StubSite::Request request;
        const QList<QByteArray> lines = received_.left(headerEnd).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        if (requestLine.size() != 3) {
            respond(htmlResponse(400, "Bad Request", QStringLiteral("Bad request"), QString()));
            return;
        }
        request.method = requestLine[0];
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines[i].trimmed();
            const auto colon = line.indexOf(':');
            if (colon > 0)
                request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        }
        const QByteArray target = requestLine[1];
        // A proxy gets absolute addresses; a plain server request is made
        // absolute with its Host header, so a browser can also talk to us.
        request.url = target.startsWith('/')
                          ? QStringLiteral("http://") + QString::fromUtf8(request.header("Host")) +
                                QString::fromUtf8(target)
                          : QString::fromUtf8(target);
        headOnly_ = request.method == "HEAD";
        site_.record(request);

        if (request.method != "GET" && request.method != "HEAD") {
            respond(htmlResponse(501, "Not Implemented", QStringLiteral("Not implemented"),
                                 QStringLiteral("<p>Only GET and HEAD are served.</p>")));
            return;
        }
        respond(answerFor(QUrl(request.url, QUrl::TolerantMode), site_), &request);
    }

    void respond(Response response, const StubSite::Request* request = nullptr) {
        answered_ = true;
        if (response.delivery == Delivery::Silent)
            return; // the connection stays open until the client gives up
        delivery_ = response.delivery;
        body_ = std::move(response.body);
        const qint64 size = body_ ? body_->size() : 0;
        qint64 start = 0;
        qint64 end = size;
        if (response.acceptsRanges && response.status == 200 && body_ && request != nullptr) {
            response.headers.append({QByteArray("Accept-Ranges"), QByteArray("bytes")});
            const auto range = requestedRange(request->header("Range"));
            const QByteArray ifRange = request->header("If-Range");
            const bool sameFile =
                ifRange.isEmpty() || !response.honoursIfRange || ifRange == response.validator;
            if (range && range->first < size && sameFile && body_->seek(range->first)) {
                start = range->first;
                if (range->second >= 0)
                    end = std::min(size, range->second + 1);
                response.status = 206;
                response.reason = "Partial Content";
                response.headers.append({"Content-Range", "bytes " + QByteArray::number(start) +
                                                              '-' + QByteArray::number(end - 1) +
                                                              '/' + QByteArray::number(size)});
            }
        }
        rangeLength_ = end - start;
        if (!response.validator.isEmpty())
            response.headers.append({QByteArray("ETag"), response.validator});
        if (response.dropsBeforeBody) {
            limit_ = 0;
        } else if (delivery_ == Delivery::StallAfter || delivery_ == Delivery::DropAfter) {
            for (const qint64 point : response.stopPoints) {
                if (point > start || (point == 0 && start == 0)) {
                    limit_ = point - start;
                    outageMilliseconds_ = response.outageMilliseconds;
                    break;
                }
            }
        }

        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
        head += "Server: reelhound-stub-site\r\n";
        head += "Content-Type: " + response.contentType + "\r\n";
        if (delivery_ == Delivery::Chunked)
            head += "Transfer-Encoding: chunked\r\n";
        else
            head += "Content-Length: " + QByteArray::number(rangeLength_) + "\r\n";
        for (const auto& [name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket_->write(head);
        if (headOnly_ || body_ == nullptr) {
            closeWhenWritten();
            return;
        }
        if (!response.videoId.isEmpty()) {
            videoId_ = response.videoId;
            site_.videoConnectionOpened(videoId_);
        }
        if (delivery_ == Delivery::Trickle)
            tricklePiece_ = kTricklePiece;
        else if (response.bytesPerSecond > 0)
            tricklePiece_ =
                std::max<qint64>(1, response.bytesPerSecond / (1000 / kTrickleIntervalMs));
        if (tricklePiece_ > 0) {
            trickleBudget_ = tricklePiece_;
            trickleTimer_.start();
        }
        pump();
    }

    void pump() {
        if (!answered_ || finished_ || body_ == nullptr ||
            socket_->state() != QAbstractSocket::ConnectedState)
            return;
        while (socket_->bytesToWrite() < kHighWater) {
            if (sent_ >= rangeLength_) { // the whole body, or the range asked for
                if (delivery_ == Delivery::Chunked)
                    socket_->write("0\r\n\r\n");
                closeWhenWritten();
                return;
            }
            qint64 allowance = std::min(kPieceSize, rangeLength_ - sent_);
            if (tricklePiece_ > 0)
                allowance = std::min(allowance, trickleBudget_);
            if (limit_ >= 0)
                allowance = std::min(allowance, limit_ - sent_);
            if (allowance <= 0) {
                // A throttled connection out of its share waits; only the drop point closes it.
                if (delivery_ == Delivery::DropAfter && limit_ >= 0 && sent_ >= limit_) {
                    closeWhenWritten();
                    if (outageMilliseconds_ > 0)
                        site_.beUnreachableFor(outageMilliseconds_);
                }
                return; // a trickle waits for its timer, a stall for ever
            }
            if (buffer_.size() < kPieceSize)
                buffer_.resize(kPieceSize);
            const qint64 length = body_->read(buffer_.data(), allowance);
            if (length < 0) {
                socket_->abort();
                return;
            }
            if (length == 0) {
                if (delivery_ == Delivery::Chunked)
                    socket_->write("0\r\n\r\n");
                closeWhenWritten();
                return;
            }
            if (delivery_ == Delivery::Chunked)
                socket_->write(QByteArray::number(length, 16) + "\r\n");
            socket_->write(buffer_.constData(), length);
            if (delivery_ == Delivery::Chunked)
                socket_->write("\r\n");
            sent_ += length;
            site_.bodyBytesSent_ += length;
            if (tricklePiece_ > 0)
                trickleBudget_ -= length;
        }
    }

    void closeWhenWritten() {
        finished_ = true;
        trickleTimer_.stop();
        socket_->disconnectFromHost(); // after what is queued has gone out
    }

    StubSite& site_;
    QTcpSocket* socket_;
    QByteArray received_;
    std::unique_ptr<BodySource> body_;
    QByteArray buffer_;
    Delivery delivery_ = Delivery::Whole;
    qint64 sent_ = 0;
    qint64 limit_ = -1;          // where a stall or a drop stops the body
    int outageMilliseconds_ = 0; // the site is gone this long after the drop
    qint64 rangeLength_ = 0;     // the body bytes this answer sends
    qint64 trickleBudget_ = 0;
    qint64 tricklePiece_ = 0; // what each tick of the timer allows; 0: no limit
    QTimer trickleTimer_;
    QString videoId_; // the video this connection counts for while open
    bool answered_ = false;
    bool headOnly_ = false;
    bool finished_ = false;
};

void serveConnection(StubSite& site, QTcpSocket* socket) {
    new StubConnection(site, socket); // deletes itself when the client is gone
}

} // namespace reelhound
