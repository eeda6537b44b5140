#pragma once

#include "core/ConnectionCount.h"
#include "core/ContentRange.h"
#include "core/RangePlan.h"
#include "platform/HttpTransfer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace reelhound {

// The connections of one download that fetch the missing bytes of its file in
// ranges, each written at its offset into the one file.
//
// The download's own transfer is connection 0: it asks for the rest of the
// file from some offset on, and is told where to stop as the plan hands part
// of its range to others. Further connections are opened as ConnectionCount
// allows, each asking for "Range: bytes=a-b" with If-Range. One whose answer
// is not exactly that range of the same file is dropped: a 200 of the same
// file means the server will not serve ranges (no more are opened), another
// validator or length that the file changed (fileChanged); 429 and 503 mean
// fewer connections. A connection that fails gives its range back to the
// others; once none runs, `idle` tells the download how the last one ended,
// and the download's own retries take over.
class RangeConnections final : public QObject {
public:
    struct Handlers {
        // The file holds this many more bytes (each byte counted once,
        // however many connections wrote it).
        std::function<void(std::int64_t bytes)> held;
        // No connection runs any more: the file is whole, or the outcome says
        // why not. Also a write failure, at once: the download is over.
        std::function<void(const HttpTransferOutcome&)> idle;
        // A connection's answer shows another file than the download's.
        std::function<void(const QString& reason)> fileChanged;
        // These bytes are on the disk (see Target::syncInterval).
        std::function<void(ByteRange)> synced;
        // Bytes are about to land beyond a hole in the file: a connection
        // other than the first has its answer. False when the file may not
        // have holes (its record could not say so): that connection is
        // dropped and no more are opened.
        std::function<bool()> holesAhead;
    };
    struct Target {
        QUrl url; // after redirects
        FileIdentity file;
        int descriptor = -1;
        int mostConnections = kMostConnections;
        std::int64_t syncInterval = 0; // as HttpTransfer::syncEvery
    };

    RangeConnections(const Target& target, ByteRanges held, Handlers handlers, QObject* parent);
    ~RangeConnections() override;
    RangeConnections(const RangeConnections&) = delete;
    RangeConnections& operator=(const RangeConnections&) = delete;

    // The download's transfer writes from offset on as connection 0.
    void adopt(HttpTransfer* transfer, std::int64_t offset);
    // Connection 0's reports, passed on by the download.
    void firstWrote(std::int64_t bytes) { wrote(0, bytes); }
    void firstEnded(const HttpTransferOutcome& outcome) { ended(0, outcome); }
    // Stops every connection, their ranges open again; nothing is reported
    // after until a connection is adopted.
    void abortAll();

    const ByteRanges& held() const { return plan_.held(); }
    int running() const { return static_cast<int>(connections_.size()); }
    // Connections whose answer was taken: the bytes come over these.
    int fetching() const;

private:
    struct Connection {
        QPointer<HttpTransfer> transfer; // owned, except connection 0's
        ByteRange asked;
        std::int64_t next = 0; // where its next bytes land
        bool answerTaken = false;
        std::optional<double> firstBytes; // when its first bytes came
    };

    void tick();
    double seconds() const;
    std::int64_t bytesSoFar() const;
    void noteWaiting(double now);
    static bool isFlowing(const Connection& connection, double now);
    void forget(std::map<int, Connection>::iterator connection);
    int flowing() const;
    void openWhileAllowed();
    bool open();
    void answered(int id, const HttpResponseHead& head);
    void refusedBy(int id, const HttpResponseHead& head);
    void wrote(int id, std::int64_t bytes);
    void ended(int id, const HttpTransferOutcome& outcome);
    void drop(int id);
    void giveBack(int id);
    void becameIdle(const HttpTransferOutcome& outcome);
    void moveStops();

    Target target_;
    Handlers handlers_;
    RangePlan plan_;
    ConnectionCount count_;
    std::map<int, Connection> connections_;
    int nextId_ = 1;
    bool noMoreConnections_ = false; // ranges or credentials refused
    double quietUntil_ = 0;          // no new connection before, after one failed
    std::optional<HttpTransferOutcome> lastFailure_;
    std::int64_t endedBytes_ = 0; // what connections no longer running wrote
    double secondsWaited_ = 0;    // by the flowing connections, as the ticks found them
    double lastTick_ = 0;
    QElapsedTimer clock_;
    QTimer tick_;
};

} // namespace reelhound
