#pragma once

#include "platform/CurlHandles.h"
#include "platform/ProxyCredentials.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace reelhound {

// The longest address a transfer is given. libcurl refuses a request whose
// head passes 1 MiB (and calls that "Out of memory"); the head holds the
// address once, with room to spare here for the rest of it.
inline constexpr qsizetype kLongestTransferAddress = 512 * 1024;

// A response's status line and header fields.
struct HttpResponseHead {
    QUrl URL;
    int status = 0;
    QString reasonPhrase;
    std::vector<std::pair<QByteArray, QByteArray>> fields;

    // The last value of a field, its name compared without regard to case;
    // empty when the response has no such field.
    QByteArray field(const QByteArray& name) const;
};

// How a transfer ended.
struct HttpTransferOutcome {
    enum class Kind { Completed, NetworkFailed, WriteFailed };
    Kind kind = Kind::Completed;
    QNetworkReply::NetworkError networkError = QNetworkReply::NoError; // with NetworkFailed
    QString detail; // the network library's or the file system's words
};

// One HTTP GET that moves the body to a file on a thread of its own.
//
// The request goes out without following redirects, through the proxy that
// Qt's proxy settings name for the address, asking for the body as it is
// stored. A proxy that asks for credentials the session lacks, or refuses
// the ones offered, has the person asked (see ProxyCredentials); the request
// then goes out again, or fails with ProxyAuthenticationRequiredError. Once
// the response's head has arrived the transfer waits until the owner says
// where the body goes (writeBodyTo) or stops it (abort). The
// thread writes the body itself, starts the disk's write-back as it goes and
// syncs the file before it reports completion, so neither the bytes nor the
// wait for the disk pass through the main thread. What it has written is
// reported in batches of at most a few hundred KiB or tens of milliseconds.
//
// The handlers run on the thread that created the transfer, in the order
// head, body progress, finished; none runs after abort() or destruction.
class HttpTransfer final : public QObject {
public:
    struct Handlers {
        std::function<void(const HttpResponseHead&)> head;
        std::function<void(std::int64_t bytes)> bodyWritten;
        std::function<void(const HttpTransferOutcome&)> finished;
        // The proxy asked for credentials and the person is being asked
        // (true), or has answered (false); nothing moves meanwhile.
        std::function<void(bool)> waitingForPerson;
        // The file is on the disk up to this offset (see syncEvery), reported
        // with the progress that follows the sync.
        std::function<void(std::int64_t offset)> bodySynced;
    };

    // extraFields are further request header lines ("Range: bytes=100-").
    HttpTransfer(const QUrl& url, Handlers handlers, QObject* parent,
                 const QList<QByteArray>& extraFields = {});
    ~HttpTransfer() override;
    HttpTransfer(const HttpTransfer&) = delete;
    HttpTransfer& operator=(const HttpTransfer&) = delete;

    // The body goes to this descriptor, `offset` bytes into the file (its
    // position is left alone, so transfers may share it); it stays open until
    // the transfer has finished or been aborted. Called once, after the head.
    // Data already in the file before `offset` has its write-back started at
    // once, so that the sync at the end does not wait for it alone.
    void writeBodyTo(int descriptor, std::int64_t offset = 0);
    // The thread syncs the file each time this many more bytes are written
    // (0, the default: only at the end). Set before writeBodyTo.
    void syncEvery(std::int64_t bytes) { syncInterval_ = bytes; }
    // Nothing at or beyond this offset of the file is written, and reaching
    // it completes the transfer (synced, as at the body's end). Safe to call
    // at any time, to move the end nearer while the body arrives.
    void stopAt(std::int64_t offset) { stopAt_ = offset; }
    // A proxy that wants credentials ends the transfer as refused rather than
    // asking the person: for requests that are only worth it without a question.
    void neverAskForProxyCredentials() { askPerson_ = false; }
    // Stops the transfer and waits for its thread; nothing is reported after.
    void abort();
    // Body bytes written so far, up to this moment: ahead of the batched
    // reports, for a rate measured over a short span.
    std::int64_t bodyBytesSoFar() const { return bodyBytesSoFar_.load(std::memory_order_relaxed); }
    // Whether the transfer's thread waits for the network at this moment. One
    // that hardly ever does is held back by this side (the disk, the
    // processor), not by the server.
    bool waitingForNetwork() const { return waitingForNetwork_.load(std::memory_order_relaxed); }

private:
    void run();
    // Moves the transfer on until it is done: curl's result, or nothing when
    // it was stopped.
    std::optional<int> transferUntilDone();
    HttpTransferOutcome outcomeOf(int curlResult) const;
    void finishOnMainThread(const HttpTransferOutcome& outcome);
    void reportProgress();
    void deliverProgress();
    bool writeBody(const char* data, std::size_t length);
    bool proxyWantsCredentials(int curlResult) const;
    void offerProxyCredential(const ProxyCredential& credential);
    void askForProxyCredential(const HttpTransferOutcome& refusal);
    void stillWaitingForPerson(bool waiting) const;
    void startAgainWith(const ProxyCredential& credential);
    static std::size_t receiveHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t receiveBody(char* data, std::size_t size, std::size_t count, void* self);

    Handlers handlers_;
    CurlEasy easy_;
    CurlMulti multi_;
    CurlList requestHeaders_;
    std::thread thread_;
    bool throughProxy_ = false;
    QNetworkProxy proxy_;
    ProxyCredential offeredProxyCredential_;
    bool aborted_ = false; // main thread only
    bool askPerson_ = true;

    // Shared between the two threads.
    std::atomic<bool> stopping_{false};
    std::atomic<int> bodyDescriptor_{-1};
    std::atomic<std::int64_t> unreported_{0};
    std::atomic<std::int64_t> bodyBytesSoFar_{0};
    std::atomic<bool> waitingForNetwork_{false};
    std::atomic<bool> reportQueued_{false};
    std::atomic<std::int64_t> syncedTo_{-1};
    std::atomic<std::int64_t> stopAt_{std::numeric_limits<std::int64_t>::max()};
    std::int64_t syncInterval_ = 0;
    std::int64_t syncedReported_ = -1; // main thread only

    // The transfer thread's own.
    HttpResponseHead head_;
    bool headDelivered_ = false;
    bool paused_ = false;
    bool proxyRefused_ = false; // the proxy asked for credentials, or refused ours
    int writeError_ = 0;
    bool reachedStop_ = false; // ended by stopAt, which is no failure
    std::int64_t written_ = 0;
    std::int64_t writtenBack_ = 0;
    std::int64_t syncedMark_ = 0;
    std::chrono::steady_clock::time_point lastReport_;
    std::vector<char> errorBuffer_;
};

} // namespace reelhound
