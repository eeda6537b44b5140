#include "platform/HttpTransfer.h"

#include "platform/FileErrors.h"
#include "platform/SmallFiles.h"

#include <QNetworkProxy>

#include <algorithm>
#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

namespace reelhound {

namespace {

// Large reads keep the per-read work small against a fast server.
constexpr long kReceiveBufferSize = 512 * 1024;
// What the main thread hears about at most this often: enough for a smooth
// progress display, little enough to cost nothing however fast the bytes come.
constexpr std::chrono::milliseconds kReportDelay(30);
// The disk starts writing each stretch of this size as soon as it is complete,
// so that the final sync waits for one stretch rather than for the whole file,
// and the page cache never fills with the download.
constexpr std::int64_t kWritebackStretch = 8 * 1024 * 1024;

// The proxy for the address in the form curl takes; empty for a direct
// connection (which also keeps curl from reading the environment on its own:
// Qt has read it already).
QByteArray curlProxyAddress(const QNetworkProxy& proxy) {
    if (proxy.type() == QNetworkProxy::NoProxy)
        return {};
    const QByteArray scheme = proxy.type() == QNetworkProxy::Socks5Proxy ? "socks5h://" : "http://";
    return scheme + proxyName(proxy).toUtf8();
}

// The same kinds of failure as Qt's network stack names, so that one set of
// words describes both.
QNetworkReply::NetworkError networkErrorOf(CURLcode code, bool throughProxy) {
    switch (code) {
    case CURLE_OK:
        return QNetworkReply::NoError;
    case CURLE_COULDNT_CONNECT:
        return throughProxy ? QNetworkReply::ProxyConnectionRefusedError
                            : QNetworkReply::ConnectionRefusedError;
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QNetworkReply::ProxyNotFoundError;
    case CURLE_COULDNT_RESOLVE_HOST:
        return QNetworkReply::HostNotFoundError;
    case CURLE_OPERATION_TIMEDOUT:
        return throughProxy ? QNetworkReply::ProxyTimeoutError : QNetworkReply::TimeoutError;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        return QNetworkReply::RemoteHostClosedError;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return QNetworkReply::SslHandshakeFailedError;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return QNetworkReply::ProtocolUnknownError;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

QByteArray withoutLineEnd(const char* data, std::size_t length) {
    while (length > 0 && (data[length - 1] == '\n' || data[length - 1] == '\r'))
        --length;
    return QByteArray(data, static_cast<qsizetype>(length));
}

} // namespace

QByteArray HttpResponseHead::field(const QByteArray& name) const {
    for (auto it = fields.rbegin(); it != fields.rend(); ++it)
        if (it->first.compare(name, Qt::CaseInsensitive) == 0)
            return it->second;
    return {};
}

HttpTransfer::HttpTransfer(const QUrl& url, Handlers handlers, QObject* parent,
                           const QList<QByteArray>& extraFields)
    : QObject(parent), handlers_(std::move(handlers)), easy_(makeCurlEasy()),
      multi_(makeCurlMulti()), errorBuffer_(CURL_ERROR_SIZE, '\0') {
    head_.URL = url;
    CURL* const easy = easy_.get();

    proxy_ = proxyFor(url);
    const QByteArray proxyAddress = curlProxyAddress(proxy_);
    curl_easy_setopt(easy, CURLOPT_URL, url.toEncoded().constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROXY, proxyAddress.constData());
    // An answer meant for one request is spent here.
    offerProxyCredential(ProxyCredentials::session().takeCredentialFor(
        proxyName(proxy_), {proxy_.user(), proxy_.password()}));
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Mozilla/5.0");
    // The byte counts must be the file's: no compressed transfer.
    requestHeaders_ = appendToCurlList(nullptr, "Accept-Encoding: identity");
    for (const QByteArray& field : extraFields)
        requestHeaders_ = appendToCurlList(std::move(requestHeaders_), field.constData());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, requestHeaders_.get());
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_.data());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpTransfer::receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpTransfer::receiveBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_multi_add_handle(multi_.get(), easy);

    throughProxy_ = !proxyAddress.isEmpty();
    lastReport_ = std::chrono::steady_clock::now();
    thread_ = std::thread([this] { run(); });
}

HttpTransfer::~HttpTransfer() {
    abort();
    // The easy handle leaves the multi handle before either is cleaned up.
    curl_multi_remove_handle(multi_.get(), easy_.get());
    easy_.reset(); // while the error buffer it writes to is there
    multi_.reset();
}

void HttpTransfer::writeBodyTo(int descriptor, std::int64_t offset) {
    // Set before the descriptor, which the transfer thread reads first.
    written_ = offset;
    writtenBack_ = 0; // an earlier run's data may wait for its write-back
    syncedMark_ = offset;
    bodyDescriptor_ = descriptor;
    curl_multi_wakeup(multi_.get());
}

void HttpTransfer::abort() {
    aborted_ = true;
    stopping_ = true;
    curl_multi_wakeup(multi_.get());
    if (thread_.joinable())
        thread_.join();
}

void HttpTransfer::run() {
    if (const std::optional<int> result = transferUntilDone()) {
        const HttpTransferOutcome outcome = outcomeOf(*result);
        QMetaObject::invokeMethod(
            this, [this, outcome] { finishOnMainThread(outcome); }, Qt::QueuedConnection);
    }
}

std::optional<int> HttpTransfer::transferUntilDone() {
    CURLM* const multi = multi_.get();
    while (!stopping_) {
        int running = 0;
        curl_multi_perform(multi, &running);
        int queued = 0;
        std::optional<CURLcode> result;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued))
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
        if (result)
            return *result;
        if (paused_ && bodyDescriptor_ >= 0) {
            paused_ = false;
            curl_easy_pause(easy_.get(), CURLPAUSE_CONT); // hands over what it held back
            continue;
        }
        reportProgress();
        const int waitMilliseconds =
            unreported_ > 0 ? static_cast<int>(kReportDelay.count()) : 1000;
        waitingForNetwork_.store(true, std::memory_order_relaxed);
        curl_multi_poll(multi, nullptr, 0, waitMilliseconds, nullptr);
        waitingForNetwork_.store(false, std::memory_order_relaxed);
    }
    return std::nullopt;
}

HttpTransferOutcome HttpTransfer::outcomeOf(int curlResult) const {
    const auto result = static_cast<CURLcode>(curlResult);
    HttpTransferOutcome outcome;
    const int descriptor = bodyDescriptor_;
    if (proxyWantsCredentials(result)) {
        outcome.kind = HttpTransferOutcome::Kind::NetworkFailed;
        outcome.networkError = QNetworkReply::ProxyAuthenticationRequiredError;
    } else if (writeError_ != 0) {
        outcome.kind = HttpTransferOutcome::Kind::WriteFailed;
        outcome.detail = describeFileError(writeError_);
    } else if (result != CURLE_OK && !reachedStop_) {
        outcome.kind = HttpTransferOutcome::Kind::NetworkFailed;
        outcome.networkError = networkErrorOf(result, throughProxy_);
        outcome.detail = QString::fromUtf8(errorBuffer_.data());
        if (outcome.detail.isEmpty())
            outcome.detail = QString::fromUtf8(curl_easy_strerror(result));
    } else if (descriptor >= 0 && !syncFile(descriptor, SyncScope::DataAndMetadata)) {
        // A full disk or a lost file server can show only now.
        outcome.kind = HttpTransferOutcome::Kind::WriteFailed;
        outcome.detail = describeFileError(errno);
    }
    return outcome;
}

void HttpTransfer::finishOnMainThread(const HttpTransferOutcome& outcome) {
    if (aborted_)
        return;
    if (thread_.joinable())
        thread_.join(); // it has nothing left to do
    if (outcome.networkError == QNetworkReply::ProxyAuthenticationRequiredError && askPerson_) {
        askForProxyCredential(outcome);
        return;
    }
    deliverProgress();
    if (!aborted_ && handlers_.finished)
        handlers_.finished(outcome);
}

void HttpTransfer::reportProgress() {
    if (unreported_ == 0 || reportQueued_)
        return;
    const auto time = std::chrono::steady_clock::now();
    if (time - lastReport_ < kReportDelay)
        return;
    lastReport_ = time;
    reportQueued_ = true;
    QMetaObject::invokeMethod(
        this, [this] { deliverProgress(); }, Qt::QueuedConnection);
}

void HttpTransfer::deliverProgress() {
    reportQueued_ = false;
    const std::int64_t bytes = unreported_.exchange(0);
    if (bytes > 0 && !aborted_ && handlers_.bodyWritten)
        handlers_.bodyWritten(bytes);
    const std::int64_t synced = syncedTo_;
    if (synced > syncedReported_ && !aborted_ && handlers_.bodySynced) {
        syncedReported_ = synced;
        handlers_.bodySynced(synced);
    }
}

bool HttpTransfer::writeBody(const char* data, std::size_t length) {
    const int descriptor = bodyDescriptor_;
    const std::int64_t room = std::max<std::int64_t>(stopAt_ - written_, 0);
    if (static_cast<std::int64_t>(length) >= room) {
        reachedStop_ = true;
        length = static_cast<std::size_t>(room);
    }
    if (!writeAllAt(descriptor, data, length, written_)) {
        writeError_ = errno;
        return false;
    }
    written_ += static_cast<std::int64_t>(length);
    unreported_ += static_cast<std::int64_t>(length);
    bodyBytesSoFar_.fetch_add(static_cast<std::int64_t>(length), std::memory_order_relaxed);
    if (written_ - writtenBack_ >= kWritebackStretch) {
        ::sync_file_range(descriptor, writtenBack_, written_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
        writtenBack_ = written_;
    }
    // Here rather than on the main thread: a slow disk holds up this thread's
    // reading, never the window.
    if (syncInterval_ > 0 && written_ - syncedMark_ >= syncInterval_ && syncFile(descriptor)) {
        syncedMark_ = written_;
        syncedTo_ = written_;
    }
    return true;
}

std::size_t HttpTransfer::receiveHeader(char* data, std::size_t size, std::size_t count,
                                        void* self) {
    auto& transfer = *static_cast<HttpTransfer*>(self);
    const std::size_t length = size * count;
    if (transfer.stopping_)
        return 0;
    if (transfer.headDelivered_) // trailer fields of a chunked body
        return length;
    HttpResponseHead& head = transfer.head_;
    const QByteArray line = withoutLineEnd(data, length);
    if (line.startsWith("HTTP/")) {
        // "HTTP/1.1 200 OK", "HTTP/2 200"; a new one after an interim answer.
        const QString statusLine = QString::fromLatin1(line);
        head.status = statusLine.section(u' ', 1, 1).toInt();
        head.reasonPhrase = statusLine.section(u' ', 2).trimmed();
        head.fields.clear();
    } else if (line.isEmpty()) {
        // The end of the head; answers of the 1xx kind are followed by the real one.
        if (transfer.throughProxy_ &&
            proxyAsksForCredentials(head.status, !transfer.offeredProxyCredential_.isEmpty())) {
            transfer.proxyRefused_ = true; // its body is the proxy's, not the file
        } else if (head.status >= 200 || head.status < 100) {
            transfer.headDelivered_ = true;
            QMetaObject::invokeMethod(
                &transfer,
                [&transfer, head] {
                    if (!transfer.aborted_ && transfer.handlers_.head)
                        transfer.handlers_.head(head);
                },
                Qt::QueuedConnection);
        }
    } else if ((line.front() == ' ' || line.front() == '\t') && !head.fields.empty()) {
        head.fields.back().second += ' ' + line.trimmed();
    } else {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            head.fields.emplace_back(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    return length;
}

std::size_t HttpTransfer::receiveBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& transfer = *static_cast<HttpTransfer*>(self);
    const std::size_t length = size * count;
    if (transfer.stopping_)
        return 0;
    if (transfer.proxyRefused_)
        return length;
    // Nowhere to put it yet: curl keeps it until the owner has decided.
    if (transfer.bodyDescriptor_ < 0) {
        transfer.paused_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (!transfer.writeBody(data, length))
        return 0;
    transfer.reportProgress();
    // Ends the transfer; outcomeOf knows it for no failure.
    return transfer.reachedStop_ ? 0 : length;
}

bool HttpTransfer::proxyWantsCredentials(int curlResult) const {
    if (proxyRefused_)
        return true;
    // A tunnel for https is refused before any response of the server's.
    long connectStatus = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    return curlResult != CURLE_OK && connectStatus == 407;
}

void HttpTransfer::offerProxyCredential(const ProxyCredential& credential) {
    offeredProxyCredential_ = credential;
    if (credential.isEmpty())
        return;
    curl_easy_setopt(easy_.get(), CURLOPT_PROXYUSERNAME, credential.user.toUtf8().constData());
    curl_easy_setopt(easy_.get(), CURLOPT_PROXYPASSWORD, credential.password.toUtf8().constData());
}

// The transfer waits, without its thread, until the person has answered; an
// abort meanwhile ends it as at any other time.
void HttpTransfer::askForProxyCredential(const HttpTransferOutcome& refusal) {
    stillWaitingForPerson(true);
    ProxyCredentials::session().askThenRetry(
        proxyName(proxy_), offeredProxyCredential_, this,
        {[this] { return !aborted_; },
         [this](const ProxyCredential& credential) {
             stillWaitingForPerson(false);
             // An answer meant for one request is spent here.
             startAgainWith(
                 ProxyCredentials::session().takeCredentialFor(proxyName(proxy_), credential));
         },
         [this, refusal] {
             stillWaitingForPerson(false);
             if (handlers_.finished)
                 handlers_.finished(refusal);
         }});
}

void HttpTransfer::stillWaitingForPerson(bool waiting) const {
    if (handlers_.waitingForPerson)
        handlers_.waitingForPerson(waiting);
}

void HttpTransfer::startAgainWith(const ProxyCredential& credential) {
    curl_multi_remove_handle(multi_.get(), easy_.get());
    offerProxyCredential(credential);
    const QUrl url = head_.URL;
    head_ = {};
    head_.URL = url;
    headDelivered_ = false;
    proxyRefused_ = false;
    paused_ = false;
    curl_multi_add_handle(multi_.get(), easy_.get());
    thread_ = std::thread([this] { run(); });
}

} // namespace reelhound
