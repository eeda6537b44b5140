#include "stub-site/Answers.h"

#include "core/Configuration.h"
#include "core/RetryPolicy.h"
#include "core/WatchAddress.h"
#include "stub-site/FaultModes.h"
#include "stub-site/StubSite.h"

#include <QUrlQuery>

#include <array>
#include <utility>

namespace reelhound {
namespace {

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
// Where "stall" stops: its first 16 KiB, or half of a smaller video.
constexpr qint64 kStallAfter = 16 * 1024;
// The file "changed" serves, and the Retry-After "busy" names.
constexpr qint64 kChangedSize = 1024 * 1024;
constexpr int kBusyRetryAfterSeconds = 3;
// The file of the modes made for several connections, what each connection
// gets of it a second, and the Retry-After of a connection too many.
constexpr qint64 kRangedSize = 4 * 1024 * 1024;
constexpr qint64 kRangedBytesPerSecond = 1024 * 1024;
// Where one connection of several drops: the next such point of the file.
constexpr qint64 kDropStep = 256 * 1024;
constexpr int kConnectionLimitRetryAfterSeconds = 1;
// How the ordinary video is sent in the modes that only change its pace.
constexpr std::pair<FaultMode, Delivery> kDeliveries[] = {
    {FaultMode::Chunked, Delivery::Chunked},
    {FaultMode::Slow, Delivery::Trickle},
    {FaultMode::Stall, Delivery::StallAfter},
    {FaultMode::Dropped, Delivery::DropAfter},
    {FaultMode::DroppedPercent, Delivery::DropAfter},
    {FaultMode::DropsEvery, Delivery::DropAfter},
    {FaultMode::GivesUp, Delivery::DropAfter},
    {FaultMode::Outage, Delivery::DropAfter},
    {FaultMode::Expired, Delivery::DropAfter},
    {FaultMode::IgnoresRanges, Delivery::DropAfter},
    {FaultMode::Changed, Delivery::DropAfter},
};

// A client that retries this many times in a row gives up on "gives-up-N".
constexpr int kGivesUpAfterRetries = kMaximumRetries;
// How long "size-outage-N" leaves the site unreachable.
constexpr int kSizeOutageMilliseconds = 10000;

// N percent of size, exactly, also for sizes near 2^63.
qint64 percentOf(qint64 size, qint64 percent) {
    return size / 100 * percent + size % 100 * percent / 100;
}

// Where the video of a fault mode stops, as offsets into the file.
std::vector<qint64> stopPointsFor(const FaultChoice& fault, qint64 size, int requestNumber) {
    switch (fault.mode) {
    case FaultMode::Stall:
        return {std::min(kStallAfter, size / 2)};
    case FaultMode::Dropped:
    case FaultMode::SizeOutage:
        return {percentOf(size, 50)};
    case FaultMode::DroppedPercent:
        return {percentOf(size, fault.number)};
    case FaultMode::SizeDropped:
        return {percentOf(size, 10), percentOf(size, 50), percentOf(size, 90)};
    case FaultMode::DropsEvery: {
        std::vector<qint64> points;
        for (qint64 percent = fault.number; percent < 100; percent += fault.number)
            points.push_back(percentOf(size, percent));
        return points;
    }
    case FaultMode::GivesUp:
        if (requestNumber == 1)
            return {percentOf(size, fault.number)};
        return {};
    case FaultMode::IgnoresRanges:
    case FaultMode::Changed:
    case FaultMode::Outage:
    case FaultMode::Expired:
        if (requestNumber == 1)
            return {percentOf(size, 50)};
        return {};
    default:
        return {};
    }
}

QString siteHost() {
    return QStringLiteral("www.") + QString::fromUtf8(config::kSiteDomain);
}
// "http://www." + the site's domain, without the closing "/".
QString siteOrigin() {
    return QString::fromStdString(siteRoot()).chopped(1);
}
QString serviceHost() {
    return QString::fromUtf8(config::kExtractionServiceHost);
}

Response notFound(const QString& url) {
    return htmlResponse(404, "Not Found", QStringLiteral("Not Found"),
                        QStringLiteral("<p>Nothing is here: %1</p>").arg(url.toHtmlEscaped()));
}

Response serverError(const QString& what) {
    return htmlResponse(500, "Internal Server Error", QStringLiteral("Error"),
                        QStringLiteral("<p>%1</p>").arg(what));
}

Response redirectTo(const QString& location, int status = 302, QByteArray reason = "Found") {
    Response response = htmlResponse(status, std::move(reason), QStringLiteral("Moved"),
                                     QStringLiteral("<p>The video has moved.</p>"));
    response.headers.append({"Location", location.toUtf8()});
    return response;
}

Response busy(int retryAfterSeconds) {
    Response response = htmlResponse(503, "Service Unavailable", QStringLiteral("Busy"),
                                     QStringLiteral("<p>Try again later.</p>"));
    response.headers.append({QByteArray("Retry-After"), QByteArray::number(retryAfterSeconds)});
    return response;
}

Response silence() {
    Response response;
    response.delivery = Delivery::Silent;
    return response;
}

Response homePage() {
    QStringList identifiers{QStringLiteral("demo")};
    for (const FaultModeEntry& entry : kFaultModes)
        identifiers += QString::fromLatin1(entry.examples).split(u' ');
    QString items;
    for (const QString& id : identifiers)
        items += QStringLiteral("<li><a href=\"%1/watch?v=%2\">%1/watch?v=%2</a></li>\n")
                     .arg(siteOrigin(), id);
    return htmlResponse(
        200, "OK", QStringLiteral("Vistaro (local stand-in)"),
        QStringLiteral("<h1>Vistaro (local stand-in)</h1>\n<ul>\n%1</ul>").arg(items));
}

Response watchPage(const QString& videoId) {
    const QString id = videoId.toHtmlEscaped();
    return htmlResponse(200, "OK", QStringLiteral("Vistaro - %1").arg(videoId),
                        QStringLiteral("<h1>Video %1</h1>\n<iframe src=\"%2/v/%1\" width=\"425\" "
                                       "height=\"350\"></iframe>")
                            .arg(id, siteOrigin()));
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
    const FaultMode mode = faultModeOf(videoId).mode;
    if (mode == FaultMode::NoAnswer)
        return silence();
    if (mode == FaultMode::ServiceError)
        return serverError(QStringLiteral("The link service failed."));
    const QByteArray link = QStringLiteral("<a href=\"%1&amp;t=%2\" class=\"download\">")
                                .arg(StubSite::directVideoURL(videoId).toHtmlEscaped(),
                                     QString::fromLatin1(kDirectLinkToken))
                                .toUtf8();
    Response response;
    switch (mode) {
    case FaultMode::LongLink: {
        // A usable link that goes on for a MiB, all of it inside the address.
        const QString longLink = StubSite::directVideoURL(videoId) + QStringLiteral("&pad=") +
                                 QString(kLongLinkPadding, u'a');
        return htmlResponse(200, "OK", QStringLiteral("Link service"),
                            QStringLiteral("<a href=\"%1\" class=\"download\">Download FLV</a>")
                                .arg(longLink.toHtmlEscaped()));
    }
    case FaultMode::HugePage:
        // A usable link at the top, then more text than a client should read,
        // with no length announced: only counting the bytes stops a reader.
        response.body = std::make_unique<PaddedTextBody>(
            "<!DOCTYPE html>\n<html><body>\n" + link + "Download FLV</a>\n",
            "<p>Padding that never ends.</p>\n", kHugePageSize);
        response.delivery = Delivery::Chunked;
        return response;
    case FaultMode::BinaryPage:
        // The link sits between random bytes, labelled as a web page.
        response.body = std::make_unique<MemoryBody>(StubSite::generatedBytes(0, 4096) + link +
                                                     StubSite::generatedBytes(4096, 4096));
        return response;
    case FaultMode::Latin1Page: {
        // A usable page, but in ISO 8859-1: its accented letters are not UTF-8.
        response.contentType = "text/html; charset=iso-8859-1";
        const QString page = QStringLiteral("<!DOCTYPE html>\n<html><body>\n<p>Vid\u00e9o "
                                            "trouv\u00e9e</p>\n%1T\u00e9l\u00e9charger</a>\n"
                                            "</body></html>\n")
                                 .arg(QString::fromUtf8(link));
        response.body = std::make_unique<MemoryBody>(page.toLatin1());
        return response;
    }
    default:
        break;
    }
    const QString watchURL = (siteOrigin() + QStringLiteral("/watch?v=") + videoId).toHtmlEscaped();
    QString links;
    if (mode == FaultMode::NoPrefix) {
        links = QStringLiteral("<p class=\"none\">No video was found at that address.</p>");
    } else if (mode == FaultMode::NoTerminator) {
        // The link is there, but in single quotes: nothing ends it the usual way.
        links = QStringLiteral("<a href='%1' class='download'>Download FLV</a>")
                    .arg(StubSite::directVideoURL(videoId).toHtmlEscaped());
    } else {
        links = QString::fromUtf8(link) + QStringLiteral("Download FLV</a>");
    }
    return htmlResponse(200, "OK", QStringLiteral("Link service"),
                        QStringLiteral("<div id=\"query\" class=\"box\">Links for %1</div>\n"
                                       "<div id=\"links\" class=\"box\">%2</div>")
                            .arg(watchURL, links));
}

Response video(const QString& videoId, const QUrl& url, StubSite& site) {
    const FaultChoice fault = faultModeOf(videoId);
    switch (fault.mode) {
    case FaultMode::NoAnswer:
        return silence();
    case FaultMode::Missing:
        return notFound(url.toString());
    case FaultMode::ServerError:
        return serverError(QStringLiteral("The video server failed."));
    case FaultMode::Redirect:
        return redirectTo(siteOrigin() + QStringLiteral("/get_video?video_id=redirected"));
    case FaultMode::RedirectFile:
        return redirectTo(QStringLiteral("file:///etc/passwd"));
    case FaultMode::RedirectLoop:
        return redirectTo(url.toString());
    case FaultMode::Redirects: {
        // Each hop uses the next redirect status, down to an ordinary video.
        const auto& [status, reason] = kRedirectStatuses[fault.number % kRedirectStatuses.size()];
        return redirectTo(
            siteOrigin() + QStringLiteral("/get_video?video_id=redirects-%1").arg(fault.number - 1),
            status, reason);
    }
    case FaultMode::HostileReason:
        return htmlResponse(503, kHostileReason, QStringLiteral("Busy"),
                            QStringLiteral("<p>Try again later.</p>"));
    case FaultMode::Expired:
        if (site.videoRequestsFor(videoId) == 2)
            return htmlResponse(static_cast<int>(fault.number), "Expired",
                                QStringLiteral("Expired"),
                                QStringLiteral("<p>This link has expired.</p>"));
        break;
    case FaultMode::Busy:
        if (site.videoRequestsFor(videoId) == 1)
            return busy(kBusyRetryAfterSeconds);
        break;
    case FaultMode::ConnectionLimit:
        if (site.openVideoConnectionsFor(videoId) >= fault.number)
            return busy(kConnectionLimitRetryAfterSeconds);
        break;
    default:
        break;
    }

    const int requestNumber = site.videoRequestsFor(videoId);
    Response response;
    response.contentType = "video/x-flv";
    response.acceptsRanges = fault.mode != FaultMode::IgnoresRanges;
    if (fault.mode == FaultMode::Size || fault.mode == FaultMode::SizeDropped ||
        fault.mode == FaultMode::SizeOutage) {
        response.body = std::make_unique<PatternBody>(fault.number);
        response.validator = "\"size-" + QByteArray::number(fault.number) + '"';
        if (fault.mode != FaultMode::Size) {
            response.delivery = Delivery::DropAfter;
            response.stopPoints = stopPointsFor(fault, fault.number, requestNumber);
        }
        if (fault.mode == FaultMode::SizeOutage)
            response.outageMilliseconds = kSizeOutageMilliseconds;
        return response;
    }
    if (fault.mode == FaultMode::Changed) {
        const int version = std::min(requestNumber, 2);
        response.body = std::make_unique<PatternBody>(kChangedSize, version - 1);
        response.validator = "\"v" + QByteArray::number(version) + '"';
        response.honoursIfRange = false;
        response.delivery = Delivery::DropAfter;
        response.stopPoints = stopPointsFor(fault, kChangedSize, requestNumber);
        return response;
    }
    if (fault.mode == FaultMode::Throttled || fault.mode == FaultMode::ConnectionLimit ||
        fault.mode == FaultMode::ValidatorChanges || fault.mode == FaultMode::NoValidator ||
        fault.mode == FaultMode::ConnectionDrops) {
        const int version =
            fault.mode == FaultMode::ValidatorChanges && requestNumber > fault.number ? 2 : 1;
        response.body = std::make_unique<PatternBody>(kRangedSize, version - 1);
        if (fault.mode != FaultMode::NoValidator)
            response.validator = "\"v" + QByteArray::number(version) + '"';
        response.bytesPerSecond =
            fault.mode == FaultMode::Throttled ? fault.number : kRangedBytesPerSecond;
        if (fault.mode == FaultMode::ConnectionDrops && requestNumber == 2) {
            response.delivery = Delivery::DropAfter;
            for (qint64 point = kDropStep; point < kRangedSize; point += kDropStep)
                response.stopPoints.push_back(point);
        }
        return response;
    }
    if (fault.mode == FaultMode::Partial) {
        response.acceptsRanges = false;
        // A part of the file, although the request asked for no range.
        response.status = 206;
        response.reason = "Partial Content";
        response.headers.append(
            {QByteArray("Content-Range"), "bytes 0-" + QByteArray::number(kPartialLength - 1) +
                                              '/' + QByteArray::number(kPartialOf)});
        response.body = std::make_unique<PatternBody>(kPartialLength);
        return response;
    }
    if (fault.mode == FaultMode::Gzip) {
        response.acceptsRanges = false;
        // The file packed, although the request asked for it as it is.
        response.headers.append({QByteArray("Content-Encoding"), QByteArray("gzip")});
        response.body = std::make_unique<MemoryBody>(
            QByteArray::fromHex("1f8b08000000000000034b4c4a0600c241243503000000"));
        return response;
    }
    const QString path = site.videoFilePath();
    auto file = std::make_unique<FileBody>(path);
    if (path.isEmpty() || !file->open())
        return serverError(QStringLiteral("ffmpeg could not make the test video."));
    const qint64 size = file->size();
    response.body = std::move(file);
    response.validator = "\"test-pattern-1\"";
    response.headers.append(
        {QByteArray("Last-Modified"), QByteArray("Sat, 05 Dec 2026 12:00:00 GMT")});
    for (const auto& [mode, delivery] : kDeliveries)
        if (mode == fault.mode)
            response.delivery = delivery;
    response.stopPoints = stopPointsFor(fault, size, requestNumber);
    response.dropsBeforeBody = fault.mode == FaultMode::GivesUp && requestNumber >= 2 &&
                               requestNumber <= 1 + kGivesUpAfterRetries;
    if (fault.mode == FaultMode::Outage && requestNumber == 1)
        response.outageMilliseconds = static_cast<int>(std::min<qint64>(fault.number, 600000));
    return response;
}

} // namespace

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

Response answerFor(const QUrl& url, StubSite& site) {
    const QString host = url.host().toLower();
    const QString path = url.path();
    const QUrlQuery query(url);
    if (host == siteHost() || host == QString::fromUtf8(config::kSiteDomain)) {
        if (path == u"/" || path.isEmpty())
            return homePage();
        if (path == u"/watch") {
            const QString id = query.queryItemValue(QStringLiteral("v"), QUrl::FullyDecoded);
            return faultModeOf(id).mode == FaultMode::NoAnswer ? silence() : watchPage(id);
        }
        if (path.startsWith(u"/v/")) {
            const QString id = path.mid(3);
            return faultModeOf(id).mode == FaultMode::NoAnswer ? silence() : playerPage(id);
        }
        if (path == u"/get_video") {
            const QString id = query.queryItemValue(QStringLiteral("video_id"), QUrl::FullyDecoded);
            Response response = video(id, url, site);
            if (response.status == 200 && response.body)
                response.videoId = id;
            return response;
        }
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

} // namespace reelhound
