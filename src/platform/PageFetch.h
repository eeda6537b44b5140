#pragma once

#include "platform/ProxyCredentials.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>

class QNetworkReply;

namespace reelhound {

struct PageFetchResult {
    bool ok = false;
    QString text;  // the whole body, decoded as UTF-8, when ok
    QString error; // plain words for a person when not ok
    int HTTPStatus = 0;
};

// How long a page may take. A server that says nothing for `silence` is given
// up, and so is one that trickles for longer than `overall` altogether.
struct PageFetchLimits {
    std::chrono::milliseconds silence = std::chrono::seconds(30);
    std::chrono::milliseconds overall = std::chrono::minutes(2);
};

inline constexpr std::chrono::milliseconds kDefaultPageFetchTimeout = PageFetchLimits{}.silence;
// A page is read into memory whole; nothing we fetch as text is this large.
inline constexpr qint64 kPageFetchMaximumBytes = 16 * 1024 * 1024;

// One page fetched as text without blocking: finished() comes exactly once,
// unless abort() or the object's destruction came first. Redirects are
// followed to http and https addresses only; an HTTP status of 400 and above,
// a body over kPageFetchMaximumBytes and a body that is not UTF-8 are failures.
// A proxy that wants credentials has the person asked (see ProxyCredentials)
// while the request waits.
class PageRequest final : public QObject {
    Q_OBJECT

public:
    PageRequest(const QUrl& url, const PageFetchLimits& limits, QObject* parent = nullptr);
    ~PageRequest() override;

    // Asks for the page. A result known at once (not a web address) still
    // arrives through finished(), on the next turn of the event loop.
    void start();
    // Stops at once; nothing is reported.
    void abort();
    bool isRunning() const { return running_; }

signals:
    void finished(const reelhound::PageFetchResult& result);

private:
    void sendRequest();
    void askForProxyCredential();
    void stop(const QString& why);
    void heardFromServer();
    void silenceStruck();
    void replyFinished();
    void report(PageFetchResult result);
    PageFetchResult resultOfReply();

    QUrl url_;
    PageFetchLimits limits_;
    QPointer<QNetworkReply> reply_;
    QByteArray body_;
    ProxyCredential offeredProxyCredential_; // to the proxy, by the last reply
    QString problem_; // set when we stop the reply ourselves
    bool heardAnything_ = false;
    bool running_ = false;
    QTimer silenceTimer_;
    QTimer overallTimer_;
};

// Fetches an address's whole content as text and returns when it has arrived
// or failed. Meanwhile a nested event loop keeps the windows painted but holds
// back user input. `timeout` is the longest silence allowed.
PageFetchResult fetchPageText(const QUrl& url,
                              std::chrono::milliseconds timeout = kDefaultPageFetchTimeout);
PageFetchResult fetchPageText(const QUrl& url, const PageFetchLimits& limits);

} // namespace reelhound
