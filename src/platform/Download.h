#pragma once

#include "core/ByteRanges.h"
#include "core/ConnectionCount.h"
#include "core/ContentRange.h"
#include "core/RetryPolicy.h"
#include "platform/DownloadResponse.h"
#include "platform/PartialDataClaim.h"
#include "platform/SmallFiles.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace reelhound {

class Download;
class DownloadFile;
class HttpTransfer;
class RangeConnections;
struct HttpResponseHead;
struct HttpTransferOutcome;

// A retry about to happen, for the progress line.
struct DownloadRetry {
    QString reason;  // e.g. "Connection lost", translated
    int retry = 0;   // 1 for the first
    int retries = 0; // how many there may be in all
    int pauseSeconds = 0;
};

struct DownloadError {
    QString localizedDescription; // plain words for a person
    QString failingURLString;     // the address that failed, after any redirects
    bool partialDataKept = false; // what arrived waits for a later download
};

// Told about everything a download does, always on the main thread.
// Callbacks may call cancel() on the download; nothing else follows then.
class DownloadDelegate {
public:
    virtual void downloadDidBegin(Download& download) = 0;
    virtual void downloadDidReceiveResponse(Download& download,
                                            const DownloadResponse& response) = 0;
    // A destination may still be set here, before the file is created.
    virtual void downloadDecideDestinationWithSuggestedFilename(Download& download,
                                                                const QString& filename) = 0;
    virtual void downloadDidCreateDestination(Download& download, const QString& path) = 0;
    // Asked when the server labels the body as an encoded archive
    // (isEncodedArchiveType in DownloadResponse.h).
    // No decoder exists for these on this platform: the file is always written
    // exactly as served, whatever the answer.
    virtual bool downloadShouldDecodeSourceDataOfMIMEType(Download& download,
                                                          const QString& MIMEType) = 0;
    virtual void downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) = 0;
    // The transfer failed in a way that may pass and is tried again after a
    // pause; the count of bytes goes on where it was.
    virtual void downloadWillRetry(Download& /*download*/, const DownloadRetry& /*retry*/) {}
    // What arrived is thrown away and the file starts again from byte 0 (the
    // count starts again with the next downloadDidReceiveResponse); reason is
    // for the log.
    virtual void downloadWillStartOver(Download& /*download*/, const QString& /*reason*/) {}
    // Data an earlier run kept is continued: that many bytes are in the file
    // already and are reported as received right after this.
    virtual void downloadWillContinueKeptData(Download& /*download*/, std::int64_t /*bytes*/) {}
    virtual void downloadDidFinish(Download& download) = 0;
    virtual void downloadDidFailWithError(Download& download, const DownloadError& error) = 0;

protected:
    ~DownloadDelegate() = default;
};

struct DownloadOptions {
    // A transfer that receives nothing for this long fails.
    std::chrono::milliseconds stallTimeout = std::chrono::seconds(60);
    int maximumRedirects = 10;
    int maximumRetries = kMaximumRetries;
    // What one second of a retry pause lasts; tests shorten it.
    std::chrono::milliseconds retryPauseUnit = std::chrono::seconds(1);
    // Kept data is synced, and its record brought up to date, each time this
    // much more has arrived: after a power cut no more is fetched again.
    std::int64_t keptDataSyncInterval = 64 * 1024 * 1024;
    // Where the server serves ranges of a file it names by length and
    // validator, the file is fetched over as many connections as raise the
    // rate, up to this many (RangeConnections.h).
    int mostConnections = kMostConnections;
};

// One file fetched over HTTP(S) into a destination path.
//
// The bytes go to an unnamed temporary file beside the destination as they
// arrive, written by a transfer thread (HttpTransfer) so that a fast server is
// never held up by the window, and replace the destination by rename only when
// the whole file is there and on the disk; a failed or cancelled transfer
// leaves an earlier file untouched and no partial file. A symbolic link at the
// destination is replaced, not followed. Redirects are followed to http and
// https addresses only. An HTTP status of 400 and above is a failure, and so
// is a body that is not the whole file as stored (a range, a content coding)
// although the request asked for nothing of the kind.
//
// A transient failure (a dropped, reset or refused connection to the server
// or the proxy, a name that does not resolve, a failed secure handshake, a
// stall, a status of 408, 429, 500, 502, 503 or 504) is tried again after a
// growing pause (RetryPolicy.h), up to maximumRetries times in a row, asking
// with Range and If-Range for the rest of the file; the pause ends early when
// the desktop reports that the network is back. An answer that does not continue the
// same file exactly (ContentRange.h) makes the file start over from byte 0.
// Apart
// from cancel() a transfer ends with exactly one of downloadDidFinish and
// downloadDidFailWithError. Data callbacks come in batches, a few dozen a
// second at most; since the last downloadDidReceiveResponse their lengths add
// up to the bytes in the file (what a failed attempt wrote unreported is cut
// off before the retry).
//
// Where the server serves ranges of a file it names by length and validator,
// the rest of the file may come over several connections at once, each a
// range written at its offset (RangeConnections.h); the data callbacks then
// count each byte of the file once, whichever connection brought it, and the
// retries begin only once no connection runs. A file too small to share goes
// on one connection.
//
// With keepPartialDataFor() the bytes go instead to a named hidden file beside
// the destination (PartialData.h) with a record of the file they belong to,
// claimed (PartialDataClaim.h) for the download's whole life: a destination
// that another download holds fails at once and is left alone. Whatever ends
// the download, that data stays, synced with its record, and a later download
// for the same key and destination continues it after the same checks as any
// continuation, fetching only what is missing when it has holes; it is
// thrown away only on cancel(), when the server shows that it is stale
// (another validator or length, a range that does not fit), or when it cannot
// be read back.
//
// Nobody owns a Download: it deletes itself once it has ended. Hold a QPointer
// to look at it later.
class Download final : public QObject {
    Q_OBJECT

public:
    // The transfer starts on the next turn of the event loop, so the caller can
    // set the destination first. Returns nullptr when the address is not a
    // valid http or https address.
    static Download* create(const QUrl& url, DownloadDelegate& delegate,
                            const DownloadOptions& options = {});
    // The address is parsed strictly: text with spaces or stray characters is
    // not an address and gives nullptr.
    static Download* create(const QString& address, DownloadDelegate& delegate,
                            const DownloadOptions& options = {});

    ~Download() override;

    // Where the file goes. With allowOverwrite false an existing file is kept
    // and the download fails instead. Ignored once the file has been created.
    // Ignored once the file has been created, or kept data for it found.
    void setDestination(const QString& path, bool allowOverwrite);
    // Keeps partial data for a later run of a download with the same key (the
    // video). Set before the transfer starts, with the destination, and with
    // the destination's claim when the caller took it already.
    void keepPartialDataFor(const QString& key, std::unique_ptr<PartialDataClaim> claim = {});
    // Stops the transfer and throws away what arrived. No callback follows.
    void cancel();
    // Stops the transfer, keeping what arrived for a later run where it can
    // be continued (otherwise like cancel()). No callback follows.
    void stopForLater();

    const QUrl& requestURL() const { return requestURL_; }
    // The file that is written, known from downloadDidCreateDestination on.
    const QString& destinationPath() const { return createdPath_; }
    // One line for the log.
    QString description() const;
    // Connections fetching the file now: 1 on one connection, 0 while none runs.
    int connectionsRunning() const;

private:
    Download(const QUrl& url, DownloadDelegate& delegate, const DownloadOptions& options);

    enum class State { Waiting, Running, Finished, Failed, Cancelled };

    void begin();
    bool lookForKeptData();
    bool roomForTheRest(std::int64_t fileBytes, std::int64_t keptBytes);
    void networkIsBack();
    bool adoptKeptData(const HttpResponseHead& head);
    bool keeping() const { return !partialKey_.isEmpty(); }
    void recordPartialData();
    void writeBody(std::int64_t offset);
    void partialDataSynced(std::int64_t offset);
    bool writeKeptDataRecord(std::int64_t syncedBytes) const;
    void sendRequest(const QUrl& url);
    void responseArrived(const HttpResponseHead& head);
    void followRedirect(const QUrl& target);
    void takeWholeFile(const HttpResponseHead& head, const DownloadResponse& response);
    void continueOrStartOver(const HttpResponseHead& head);
    bool startFileOver(const QString& reason);
    void retryOrFail(const QString& failure, const QString& reason,
                     std::optional<int> retryAfterSeconds = std::nullopt);
    void retry();
    bool prepareDestination(const DownloadResponse& response, std::int64_t keptBytes = 0);
    void setRangeFrom(std::int64_t from);
    void bodyWritten(std::int64_t bytes);
    void bytesArrived(std::int64_t bytes);
    void transferFinished(const HttpTransferOutcome& outcome);
    void transferEnded(const HttpTransferOutcome& outcome);
    // Connections (RangeConnections.h), when the file is fetched in ranges.
    void fetchInRanges(std::int64_t from);
    void startConnections(const ByteRanges& held);
    void connectionsFoundAnotherFile(const QString& reason);
    void discardConnections();
    bool writeRangedRecord(const ByteRanges& synced, const ByteRanges& written,
                           Durability durability = Durability::Synced) const;
    void recordWrittenRanges();
    bool recordHoles(const ByteRanges& held);
    void rangeSynced(ByteRange synced);
    bool keepRangedFile();
    bool recordStillHolds() const;
    void stalled();
    // Ends the download, keeping what arrived unless keepData is false.
    void fail(const QString& description, const QUrl& failingURL, bool keepData = true);
    void fail(const QString& description) { fail(description, currentURL_); }
    // The file could not be made at path: what there is goes, and the download fails.
    void failToCreate(const QString& path);
    void failDiscarding(const QString& description) { fail(description, currentURL_, false); }
    void finish();
    // Returns whether partial data was kept.
    bool end(State state, bool keepData = false);
    void discardTransfer();
    void discardFile();
    std::int64_t keptFileEnd() const;
    bool keepFile();
    bool running() const { return state_ == State::Running; }

    QUrl requestURL_;
    QUrl currentURL_;
    DownloadDelegate* delegate_;
    DownloadOptions options_;
    State state_ = State::Waiting;

    QString destinationPath_;
    bool allowOverwrite_ = true;
    QString createdPath_;

    HttpTransfer* transfer_ = nullptr;        // a child; its thread moves the bytes
    RangeConnections* connections_ = nullptr; // a child, while fetching in ranges
    int redirectCount_ = 0;
    int retries_ = 0;
    QList<QByteArray> rangeFields_; // sent with every hop of a continuation
    std::int64_t askedFrom_ = 0;    // where the asked range starts (with rangeFields_)
    std::int64_t fileBytes_ = 0;    // in the file, as reported to the delegate
    FileIdentity identity_;         // from the answer that began the file

    QString partialKey_;
    std::unique_ptr<PartialDataClaim> claim_; // while the data is ours to use
    std::int64_t keptBytes_ = 0;              // kept by an earlier run, to be continued
    ByteRanges keptRanges_;                   // where those bytes are
    ByteRanges keptSyncedRanges_;             // and which its record says are on the disk
    ByteRanges syncedRanges_;                 // on the disk, with connections
    std::int64_t recordedBytes_ = 0;          // held when the record last said so
    bool rangedRecord_ = false;               // the record lists ranges: the file has holes
    std::int64_t syncedBytes_ = 0;            // known to be on the disk

    std::unique_ptr<DownloadFile> file_;
    QTimer stallTimer_;
    QTimer retryTimer_;
};

} // namespace reelhound
