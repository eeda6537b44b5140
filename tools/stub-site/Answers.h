#pragma once

#include "stub-site/BodySources.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

// What the stand-in answers to an address: the pages of the site and the
// service, the video, and the fault modes' ways of getting them wrong.
namespace reelhound {

class StubSite;

enum class Delivery {
    Whole,      // as fast as the client reads
    Chunked,    // no length, chunked transfer coding
    Trickle,    // a few KiB at a time, a piece every few tens of milliseconds
    StallAfter, // up to a stop point, then nothing while the connection stays open
    DropAfter,  // up to a stop point, then the connection is closed
    Silent,     // the request is read and never answered
};

struct Response {
    int status = 200;
    QByteArray reason = "OK";
    QByteArray contentType = "text/html; charset=utf-8";
    QList<QPair<QByteArray, QByteArray>> headers;
    std::unique_ptr<BodySource> body;
    Delivery delivery = Delivery::Whole;
    // Offsets into the file where a stall or a drop happens: the first one
    // past where the answer starts (0 only for an answer from the start), so
    // that a continuation from a drop point gets on.
    std::vector<qint64> stopPoints;
    // The connection closes right after the head, whatever range it answers.
    bool dropsBeforeBody = false;
    // After the drop at the first stop point the whole site refuses
    // connections for this long.
    int outageMilliseconds = 0;
    // Whether a "Range: bytes=N-" gets a 206 with the rest, and the ETag that
    // If-Range must name for that; honoursIfRange false serves the range
    // whatever If-Range names.
    bool acceptsRanges = false;
    QByteArray validator;
    bool honoursIfRange = true;
    // Each connection gets at most this many body bytes a second; 0: no limit.
    qint64 bytesPerSecond = 0;
    // The video this answer sends: its connection counts as one for it while
    // it is open (StubSite::openVideoConnectionsFor).
    QString videoId;
};

// A small HTML page with the given status.
Response htmlResponse(int status, QByteArray reason, const QString& title, const QString& content);

// The answer to a GET or HEAD of an absolute address.
Response answerFor(const QUrl& url, StubSite& site);

} // namespace reelhound
