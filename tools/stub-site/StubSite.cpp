#include "stub-site/StubSite.h"

#include "core/Configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace reelhound {
namespace {

constexpr qint64 kPieceSize = 64 * 1024;
// How much may wait in the socket before we stop writing until it drains.
constexpr qint64 kHighWater = 256 * 1024;
constexpr qint64 kMaximumRequestSize = 64 * 1024;
// A prime, so the repeating pattern never lines up with buffer sizes and an
// offset mistake in a client shows up as wrong bytes.
constexpr std::size_t kPatternLength = 65521;
constexpr qint64 kTricklePiece = 4 * 1024;
constexpr int kTrickleIntervalMs = 50;
constexpr qint64 kStallAfter = 16 * 1024;
// Beyond the largest page a client is expected to read.
constexpr qint64 kHugePageSize = 17 * 1024 * 1024;
// A reason phrase with terminal escapes and other control characters.
constexpr char kHostileReason[] = "Busy\x1b[2J\x1b[31m %s%n%1 now\x07\x7f";
constexpr std::array<std::pair<int, const char*>, 5> kRedirectStatuses{{
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {307, "Temporary Redirect"},
    {308, "Permanent Redirect"},
}};
constexpr auto kDirectLinkToken = "OEgsToPDskJ";
// Longer than any address a client can put in a request.
constexpr qsizetype kLongLinkPadding = 1024 * 1024;
// What "partial" answers to a request for the whole file.
constexpr qint64 kPartialLength = 1000;
constexpr qint64 kPartialOf = 100000;

QString siteHost() {
    return QStringLiteral("www.") + QString::fromUtf8(config::kSiteDomain);
}
QString siteRoot() {
    return QStringLiteral("http://") + siteHost();
}
QString serviceHost() {
    return QString::fromUtf8(config::kExtractionServiceHost);
}

const std::array<char, kPatternLength>& pattern() {
    static const auto table = [] {
        std::array<char, kPatternLength> bytes{};
        std::uint32_t state = 2463534242u; // xorshift32
        for (auto& byte : bytes) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            byte = static_cast<char>(state >> 24);
        }
        return bytes;
    }();
    return table;
}

void copyPattern(qint64 offset, char* into, qint64 length) {
    const auto& bytes = pattern();
    std::size_t position = static_cast<std::size_t>(offset % static_cast<qint64>(kPatternLength));
    while (length > 0) {
        const auto piece = std::min<qint64>(length, static_cast<qint64>(kPatternLength - position));
        std::memcpy(into, bytes.data() + position, static_cast<std::size_t>(piece));
        into += piece;
        length -= piece;
        position = 0;
    }
}

// The part of an identifier that picks the mode: further parameters of the
// watch address ("abc&feature=x") are not part of it.
QString modeOf(const QString& videoId) {
    return videoId.section(u'&', 0, 0);
}

class BodySource {
public:
    virtual ~BodySource() = default;
    virtual qint64 size() const = 0;
    // 0 at the end, -1 on a read error.
    virtual qint64 read(char* into, qint64 maximum) = 0;
};

class MemoryBody final : public BodySource {
public:
    explicit MemoryBody(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint64 size() const override { return bytes_.size(); }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, bytes_.size() - position_);
        std::memcpy(into, bytes_.constData() + position_, static_cast<std::size_t>(length));
        position_ += length;
        return length;
    }

private:
    QByteArray bytes_;
    qint64 position_ = 0;
};

class FileBody final : public BodySource {
public:
    explicit FileBody(const QString& path) : file_(path) {}
    bool open() { return file_.open(QIODevice::ReadOnly); }
    qint64 size() const override { return file_.size(); }
    qint64 read(char* into, qint64 maximum) override { return file_.read(into, maximum); }

private:
    QFile file_;
};

// A text page of exactly size bytes: head, then filler repeated (and cut) to fit.
class PaddedTextBody final : public BodySource {
public:
    PaddedTextBody(QByteArray head, QByteArray filler, qint64 size)
        : head_(std::move(head)), filler_(std::move(filler)), size_(size) {}
    qint64 size() const override { return size_; }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, size_ - position_);
        for (qint64 done = 0; done < length;) {
            const bool inHead = position_ < head_.size();
            const QByteArray& source = inHead ? head_ : filler_;
            const qint64 offset = inHead ? position_ : (position_ - head_.size()) % filler_.size();
            const qint64 piece = std::min(length - done, source.size() - offset);
            std::memcpy(into + done, source.constData() + offset, static_cast<std::size_t>(piece));
            done += piece;
            position_ += piece;
        }
        return length;
    }

private:
    QByteArray head_;
    QByteArray filler_;
    qint64 size_;
    qint64 position_ = 0;
};

class PatternBody final : public BodySource {
public:
    explicit PatternBody(qint64 size) : size_(size) {}
    qint64 size() const override { return size_; }
    qint64 read(char* into, qint64 maximum) override {
        const qint64 length = std::min(maximum, size_ - position_);
        copyPattern(position_, into, length);
        position_ += length;
        return length;
    }

private:
    qint64 size_;
    qint64 position_ = 0;
};

enum class Delivery {
    Whole,      // as fast as the client reads
    Chunked,    // no length, chunked transfer coding
    Trickle,    // kTricklePiece every kTrickleIntervalMs
    StallAfter, // kStallAfter bytes, then nothing while the connection stays open
    DropAfter,  // dropPercent of the body, then the connection is closed
    Silent,     // the request is read and never answered
};

struct Response {
    int status = 200;
    QByteArray reason = "OK";
    QByteArray contentType = "text/html; charset=utf-8";
    QList<QPair<QByteArray, QByteArray>> headers;
    std::unique_ptr<BodySource> body;
    Delivery delivery = Delivery::Whole;
    int dropPercent = 50; // for DropAfter
};

Response htmlResponse(int status, QByteArray reason, const QString& title, const QString& content) {
    Response response;
    response.status = status;
    response.reason = std::move(reason);
    const QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                                        "<title>%1</title></head>\n<body>\n%2\n</body></html>\n")
                             .arg(title.toHtmlEscaped(), content);
    response.body = std::make_unique<MemoryBody>(html.toUtf8());
    return response;
}

Response notFound(const QString& url) {
    return htmlResponse(404, "Not Found", QStringLiteral("Not Found"),
                        QStringLiteral("<p>Nothing is here: %1</p>").arg(url.toHtmlEscaped()));
}

Response redirectTo(const QString& location, int status = 302, QByteArray reason = "Found") {
    Response response = htmlResponse(status, std::move(reason), QStringLiteral("Moved"),
                                     QStringLiteral("<p>The video has moved.</p>"));
    response.headers.append({"Location", location.toUtf8()});
    return response;
}

Response silence() {
    Response response;
    response.delivery = Delivery::Silent;
    return response;
}

Response homePage() {
    static const char* const kIdentifiers[] = {
        "demo",         "slow",          "chunked",       "size-104857600", "missing",
        "server-error", "dropped",       "dropped-1",     "dropped-99",     "stall",
        "redirect",     "redirects-5",   "redirect-file", "redirect-loop",  "hostile-reason",
        "no-prefix",    "no-terminator", "service-error", "huge-page",      "binary-page",
        "latin1-page",  "no-answer",     "partial",       "gzip",           "long-link"};
    QString items;
    for (const char* id : kIdentifiers)
        items += QStringLiteral("<li><a href=\"%1/watch?v=%2\">%1/watch?v=%2</a></li>\n")
                     .arg(siteRoot(), QString::fromLatin1(id));
    return htmlResponse(
        200, "OK", QStringLiteral("Vistaro (local stand-in)"),
        QStringLiteral("<h1>Vistaro (local stand-in)</h1>\n<ul>\n%1</ul>").arg(items));
}

Response watchPage(const QString& videoId) {
    const QString id = videoId.toHtmlEscaped();
    return htmlResponse(200, "OK", QStringLiteral("Vistaro - %1").arg(videoId),
                        QStringLiteral("<h1>Video %1</h1>\n<iframe src=\"%2/v/%1\" width=\"425\" "
                                       "height=\"350\"></iframe>")
                            .arg(id, siteRoot()));
}

Response playerPage(const QString& videoId) {
    const QString id = videoId.toHtmlEscaped();
    return htmlResponse(
        200, "OK", QStringLiteral("Vistaro player - %1").arg(videoId),
        QStringLiteral("<div style=\"background:#202020;color:#f0f0f0;font-family:sans-serif;"
                       "padding:2em;text-align:center\">\n<p style=\"font-size:3em;margin:0\">"
                       "&#9654;</p>\n<p>Vistaro player</p>\n<p>Video <b>%1</b></p>\n</div>")
            .arg(id));
}

Response servicePage(const QString& videoId) {
    const QString mode = modeOf(videoId);
    if (mode == u"no-answer")
        return silence();
    if (mode == u"service-error")
        return htmlResponse(500, "Internal Server Error", QStringLiteral("Error"),
                            QStringLiteral("<p>The link service failed.</p>"));
    const QByteArray link = QStringLiteral("<a href=\"%1&amp;t=%2\" class=\"download\">")
                                .arg(StubSite::directVideoURL(videoId).toHtmlEscaped(),
                                     QString::fromLatin1(kDirectLinkToken))
                                .toUtf8();
    if (mode == u"huge-page") {
        // A usable link at the top, then more text than a client should read,
        // with no length announced: only counting the bytes stops a reader.
        Response response;
        response.body = std::make_unique<PaddedTextBody>(
            "<!DOCTYPE html>\n<html><body>\n" + link + "Download FLV</a>\n",
            "<p>Padding that never ends.</p>\n", kHugePageSize);
        response.delivery = Delivery::Chunked;
        return response;
    }
    if (mode == u"binary-page") {
        // The link sits between random bytes, labelled as a web page.
        Response response;
        response.body = std::make_unique<MemoryBody>(StubSite::generatedBytes(0, 4096) + link +
                                                     StubSite::generatedBytes(4096, 4096));
        return response;
    }
    if (mode == u"long-link") {
        // A usable link that goes on for a MiB, all of it inside the address.
        const QString padding(kLongLinkPadding, u'a');
        const QString longLink =
            StubSite::directVideoURL(videoId) + QStringLiteral("&pad=") + padding;
        return htmlResponse(200, "OK", QStringLiteral("Link service"),
                            QStringLiteral("<a href=\"%1\" class=\"download\">Download FLV</a>")
                                .arg(longLink.toHtmlEscaped()));
    }
    if (mode == u"latin1-page") {
        // A usable page, but in ISO 8859-1: its accented letters are not UTF-8.
        Response response;
        response.contentType = "text/html; charset=iso-8859-1";
        const QString page = QStringLiteral("<!DOCTYPE html>\n<html><body>\n<p>Vid\u00e9o "
                                            "trouv\u00e9e</p>\n%1T\u00e9l\u00e9charger</a>\n"
                                            "</body></html>\n")
                                 .arg(QString::fromUtf8(link));
        response.body = std::make_unique<MemoryBody>(page.toLatin1());
        return response;
    }
    const QString watchURL = (siteRoot() + QStringLiteral("/watch?v=") + videoId).toHtmlEscaped();
    QString links;
    if (mode == u"no-prefix") {
        links = QStringLiteral("<p class=\"none\">No video was found at that address.</p>");
    } else if (mode == u"no-terminator") {
        // The link is there, but in single quotes: nothing ends it the usual way.
        links = QStringLiteral("<a href='%1' class='download'>Download FLV</a>")
                    .arg(StubSite::directVideoURL(videoId).toHtmlEscaped());
    } else {
        links = QStringLiteral("<a href=\"%1&amp;t=%2\" class=\"download\">Download FLV</a>")
                    .arg(StubSite::directVideoURL(videoId).toHtmlEscaped(),
                         QString::fromLatin1(kDirectLinkToken));
    }
    return htmlResponse(200, "OK", QStringLiteral("Link service"),
                        QStringLiteral("<div id=\"query\" class=\"box\">Links for %1</div>\n"
                                       "<div id=\"links\" class=\"box\">%2</div>")
                            .arg(watchURL, links));
}

// The number N of a mode "name-N", when mode has that form.
std::optional<qint64> numberAfter(const QString& mode, QStringView name) {
    if (!mode.startsWith(name) || !mode.mid(name.size()).startsWith(u'-'))
        return std::nullopt;
    bool ok = false;
    const qint64 number = mode.mid(name.size() + 1).toLongLong(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

std::optional<qint64> generatedSizeOf(const QString& mode) {
    return numberAfter(mode, u"size");
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
        connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
        trickleTimer_.setInterval(kTrickleIntervalMs);
        connect(&trickleTimer_, &QTimer::timeout, this, [this] {
            trickleBudget_ = kTricklePiece;
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
        respond(route(QUrl(request.url, QUrl::TolerantMode)));
    }

    Response route(const QUrl& url) {
        const QString host = url.host().toLower();
        const QString path = url.path();
        const QUrlQuery query(url);
        if (host == siteHost() || host == QString::fromUtf8(config::kSiteDomain)) {
            if (path == u"/" || path.isEmpty())
                return homePage();
            if (path == u"/watch") {
                const QString id = query.queryItemValue(QStringLiteral("v"), QUrl::FullyDecoded);
                return modeOf(id) == u"no-answer" ? silence() : watchPage(id);
            }
            if (path.startsWith(u"/v/")) {
                const QString id = path.mid(3);
                return modeOf(id) == u"no-answer" ? silence() : playerPage(id);
            }
            if (path == u"/get_video")
                return video(query.queryItemValue(QStringLiteral("video_id"), QUrl::FullyDecoded),
                             url);
            return notFound(url.toString());
        }
        if (host == serviceHost()) {
            if (path != u"/" || !query.hasQueryItem(QStringLiteral("url")))
                return notFound(url.toString());
            const QUrl watchURL(query.queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded));
            const QString id =
                QUrlQuery(watchURL).queryItemValue(QStringLiteral("v"), QUrl::FullyDecoded);
            return servicePage(id);
        }
        return htmlResponse(502, "Bad Gateway", QStringLiteral("Bad gateway"),
                            QStringLiteral("<p>This stand-in answers only for %1 and %2.</p>")
                                .arg(siteHost(), serviceHost()));
    }

    Response video(const QString& videoId, const QUrl& url) {
        const QString mode = modeOf(videoId);
        if (mode == u"no-answer")
            return silence();
        if (mode == u"missing")
            return notFound(url.toString());
        if (mode == u"server-error")
            return htmlResponse(500, "Internal Server Error", QStringLiteral("Error"),
                                QStringLiteral("<p>The video server failed.</p>"));
        if (mode == u"redirect")
            return redirectTo(siteRoot() + QStringLiteral("/get_video?video_id=redirected"));
        if (mode == u"redirect-file")
            return redirectTo(QStringLiteral("file:///etc/passwd"));
        if (mode == u"redirect-loop")
            return redirectTo(url.toString());
        if (const auto hops = numberAfter(mode, u"redirects"); hops && *hops > 0) {
            // Each hop uses the next redirect status, down to an ordinary video.
            const auto& [status, reason] = kRedirectStatuses[*hops % kRedirectStatuses.size()];
            return redirectTo(siteRoot() +
                                  QStringLiteral("/get_video?video_id=redirects-%1").arg(*hops - 1),
                              status, reason);
        }
        if (mode == u"hostile-reason")
            return htmlResponse(503, kHostileReason, QStringLiteral("Busy"),
                                QStringLiteral("<p>Try again later.</p>"));

        Response response;
        response.contentType = "video/x-flv";
        if (mode == u"partial") {
            // A part of the file, although the request asked for no range.
            response.status = 206;
            response.reason = "Partial Content";
            response.headers.append(
                {QByteArray("Content-Range"), "bytes 0-" + QByteArray::number(kPartialLength - 1) +
                                                  '/' + QByteArray::number(kPartialOf)});
            response.body = std::make_unique<PatternBody>(kPartialLength);
            return response;
        }
        if (mode == u"gzip") {
            // The file packed, although the request asked for it as it is.
            response.headers.append({QByteArray("Content-Encoding"), QByteArray("gzip")});
            response.body = std::make_unique<MemoryBody>(
                QByteArray::fromHex("1f8b08000000000000034b4c4a0600c241243503000000"));
            return response;
        }
        if (const auto size = generatedSizeOf(mode)) {
            response.body = std::make_unique<PatternBody>(*size);
            return response;
        }
        const QString path = site_.videoFilePath();
        auto file = std::make_unique<FileBody>(path);
        if (path.isEmpty() || !file->open())
            return htmlResponse(500, "Internal Server Error", QStringLiteral("Error"),
                                QStringLiteral("<p>ffmpeg could not make the test video.</p>"));
        response.body = std::move(file);
        if (mode == u"chunked")
            response.delivery = Delivery::Chunked;
        else if (mode == u"slow")
            response.delivery = Delivery::Trickle;
        else if (mode == u"stall")
            response.delivery = Delivery::StallAfter;
        else if (mode == u"dropped")
            response.delivery = Delivery::DropAfter;
        else if (const auto percent = numberAfter(mode, u"dropped"); percent && *percent <= 100) {
            response.delivery = Delivery::DropAfter;
            response.dropPercent = static_cast<int>(*percent);
        }
        return response;
    }

    void respond(Response response) {
        answered_ = true;
        if (response.delivery == Delivery::Silent)
            return; // the connection stays open until the client gives up
        delivery_ = response.delivery;
        dropPercent_ = response.dropPercent;
        body_ = std::move(response.body);
        const qint64 size = body_ ? body_->size() : 0;
        if (delivery_ == Delivery::StallAfter)
            limit_ = std::min(kStallAfter, size / 2);
        else if (delivery_ == Delivery::DropAfter) // in two steps: size may be near 2^63
            limit_ = size / 100 * dropPercent_ + size % 100 * dropPercent_ / 100;

        QByteArray head =
            "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
        head += "Server: reelhound-stub-site\r\n";
        head += "Content-Type: " + response.contentType + "\r\n";
        if (delivery_ == Delivery::Chunked)
            head += "Transfer-Encoding: chunked\r\n";
        else
            head += "Content-Length: " + QByteArray::number(size) + "\r\n";
        for (const auto& [name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        head += "Connection: close\r\n\r\n";
        socket_->write(head);
        if (headOnly_ || body_ == nullptr) {
            closeWhenWritten();
            return;
        }
        if (delivery_ == Delivery::Trickle) {
            trickleBudget_ = kTricklePiece;
            trickleTimer_.start();
        }
        pump();
    }

    void pump() {
        if (!answered_ || finished_ || body_ == nullptr ||
            socket_->state() != QAbstractSocket::ConnectedState)
            return;
        while (socket_->bytesToWrite() < kHighWater) {
            qint64 allowance = kPieceSize;
            if (delivery_ == Delivery::Trickle)
                allowance = std::min(allowance, trickleBudget_);
            if (limit_ >= 0)
                allowance = std::min(allowance, limit_ - sent_);
            if (allowance <= 0) {
                if (delivery_ == Delivery::DropAfter)
                    closeWhenWritten();
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
            if (delivery_ == Delivery::Trickle)
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
    bool answered_ = false;
    bool headOnly_ = false;
    bool finished_ = false;
    Delivery delivery_ = Delivery::Whole;
    int dropPercent_ = 50;
    std::unique_ptr<BodySource> body_;
    QByteArray buffer_;
    qint64 sent_ = 0;
    qint64 limit_ = -1;
    qint64 trickleBudget_ = 0;
    QTimer trickleTimer_;
};

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

quint16 StubSite::port() const {
    return server_.serverPort();
}

QString StubSite::errorString() const {
    return server_.errorString();
}

QNetworkProxy StubSite::proxy() const {
    return QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), port());
}

QStringList StubSite::requestedURLs() const {
    QStringList urls;
    for (const auto& request : requests_)
        urls.append(request.url);
    return urls;
}

void StubSite::handleConnection() {
    while (QTcpSocket* socket = server_.nextPendingConnection())
        new StubConnection(*this, socket);
}

void StubSite::record(Request request) {
    const QString url = request.url;
    requests_.append(std::move(request));
    emit requestReceived(url);
}

QString StubSite::videoFilePath() {
    if (videoFileTried_)
        return videoFilePath_;
    videoFileTried_ = true;

    const QDir folder(QDir::tempPath() + QStringLiteral("/reelhound-stub-site-") +
                      QString::number(getuid()));
    if (!folder.mkpath(QStringLiteral(".")))
        return {};
    const QString path = folder.filePath(QStringLiteral("test-pattern-1.flv"));
    if (QFileInfo(path).size() > 0) {
        videoFilePath_ = path;
        return path;
    }
    // Made under a name of our own and renamed, so a parallel run never sees
    // half a file.
    const QString making =
        folder.filePath(QStringLiteral("making-%1.flv").arg(QCoreApplication::applicationPid()));
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-nostdin"),
                                            QStringLiteral("-hide_banner"),
                                            QStringLiteral("-loglevel"),
                                            QStringLiteral("error"),
                                            QStringLiteral("-y"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("lavfi"),
                                            QStringLiteral("-i"),
                                            QStringLiteral("testsrc=size=320x240:rate=25"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("lavfi"),
                                            QStringLiteral("-i"),
                                            QStringLiteral("sine=frequency=440:sample_rate=44100"),
                                            QStringLiteral("-t"),
                                            QStringLiteral("3"),
                                            QStringLiteral("-c:v"),
                                            QStringLiteral("flv1"),
                                            QStringLiteral("-c:a"),
                                            QStringLiteral("libmp3lame"),
                                            QStringLiteral("-fflags"),
                                            QStringLiteral("+bitexact"),
                                            QStringLiteral("-flags"),
                                            QStringLiteral("+bitexact"),
                                            QStringLiteral("-f"),
                                            QStringLiteral("flv"),
                                            making});
    const bool made = ffmpeg.waitForStarted(10000) && ffmpeg.waitForFinished(60000) &&
                      ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0 &&
                      QFileInfo(making).size() > 0;
    if (!made || std::rename(QFile::encodeName(making).constData(),
                             QFile::encodeName(path).constData()) != 0) {
        QFile::remove(making);
        return {};
    }
    videoFilePath_ = path;
    return path;
}

QByteArray StubSite::videoFileContents() {
    QFile file(videoFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray StubSite::generatedBytes(qint64 offset, qint64 length) {
    QByteArray bytes(length, Qt::Uninitialized);
    copyPattern(offset, bytes.data(), length);
    return bytes;
}

QString StubSite::directVideoURL(const QString& videoId) {
    return siteRoot() + QStringLiteral("/get_video?video_id=") + videoId;
}

} // namespace reelhound
