#include "platform/HttpTransfer.h"

#include <QNetworkProxy>

#include <cerrno>
#include <cstring>
#include <mutex>

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

CURL* easyOf(void* handle) { return static_cast<CURL*>(handle); }
CURLM* multiOf(void* handle) { return static_cast<CURLM*>(handle); }

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

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
    : QObject(parent), handlers_(std::move(handlers)), errorBuffer_(CURL_ERROR_SIZE, '\0') {
    initialiseCurlOnce();
    head_.URL = url;
    CURL* const easy = curl_easy_init();
    easy_ = easy;
    multi_ = curl_multi_init();

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
    auto* headers = curl_slist_append(nullptr, "Accept-Encoding: identity");
    for (const QByteArray& field : extraFields)
        headers = curl_slist_append(headers, field.constData());
    requestHeaders_ = headers;
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer_.data());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpTransfer::receiveHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpTransfer::receiveBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_multi_add_handle(multiOf(multi_), easy);

    throughProxy_ = !proxyAddress.isEmpty();
    lastReport_ = std::chrono::steady_clock::now();
    thread_ = std::thread([this] { run(); });
}

HttpTransfer::~HttpTransfer() {
    abort();
    curl_multi_remove_handle(multiOf(multi_), easyOf(easy_));
    curl_easy_cleanup(easyOf(easy_));
    curl_multi_cleanup(multiOf(multi_));
    curl_slist_free_all(static_cast<curl_slist*>(requestHeaders_));
}

void HttpTransfer::writeBodyTo(int descriptor, std::int64_t offset) {
    // Set before the descriptor, which the transfer thread reads first.
    written_ = offset;
    writtenBack_ = 0; // an earlier run's data may wait for its write-back
    syncedMark_ = offset;
    bodyDescriptor_ = descriptor;
    curl_multi_wakeup(multiOf(multi_));
}

void HttpTransfer::abort() {
    aborted_ = true;
    stopping_ = true;
    curl_multi_wakeup(multiOf(multi_));
    if (thread_.joinable())
        thread_.join();
}

void HttpTransfer::run() {
    CURLM* const multi = multiOf(multi_);
    CURLcode result = CURLE_OK;
    bool done = false;
    while (!stopping_ && !done) {
        int running = 0;
        curl_multi_perform(multi, &running);
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (done)
            break;
        if (paused_ && bodyDescriptor_ >= 0) {
            paused_ = false;
            curl_easy_pause(easyOf(easy_), CURLPAUSE_CONT); // hands over what it held back
            continue;
        }
        reportProgress();
        const int waitMilliseconds = unreported_ > 0 ? static_cast<int>(kReportDelay.count()) : 1000;
        curl_multi_poll(multi, nullptr, 0, waitMilliseconds, nullptr);
    }
    if (stopping_)
        return;

    HttpTransferOutcome outcome;
    const int descriptor = bodyDescriptor_;
    if (proxyWantsCredentials(result)) {
        outcome.kind = HttpTransferOutcome::Kind::NetworkFailed;
        outcome.networkError = QNetworkReply::ProxyAuthenticationRequiredError;
    } else if (writeError_ != 0) {
        outcome.kind = HttpTransferOutcome::Kind::WriteFailed;
        outcome.detail = QString::fromLocal8Bit(std::strerror(writeError_));
    } else if (result != CURLE_OK) {
        outcome.kind = HttpTransferOutcome::Kind::NetworkFailed;
        outcome.networkError = networkErrorOf(result, throughProxy_);
        outcome.detail = QString::fromUtf8(errorBuffer_.data());
        if (outcome.detail.isEmpty())
            outcome.detail = QString::fromUtf8(curl_easy_strerror(result));
    } else if (descriptor >= 0 && ::fsync(descriptor) != 0 && errno != EINVAL &&
               errno != EROFS) {
        // A full disk or a lost file server can show only now; a file system
        // that cannot sync at all is no reason to fail.
        outcome.kind = HttpTransferOutcome::Kind::WriteFailed;
        outcome.detail = QString::fromLocal8Bit(std::strerror(errno));
    }
    QMetaObject::invokeMethod(
        this, [this, outcome] { finishOnMainThread(outcome); }, Qt::QueuedConnection);
}

void HttpTransfer::finishOnMainThread(const HttpTransferOutcome& outcome) {
    if (aborted_)
        return;
    if (thread_.joinable())
        thread_.join(); // it has nothing left to do
    if (outcome.networkError == QNetworkReply::ProxyAuthenticationRequiredError) {
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
    QMetaObject::invokeMethod(this, [this] { deliverProgress(); }, Qt::QueuedConnection);
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
    while (length > 0) {
        const ssize_t written = ::write(descriptor, data, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            writeError_ = errno;
            return false;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
        written_ += written;
        unreported_ += written;
    }
    if (written_ - writtenBack_ >= kWritebackStretch) {
        ::sync_file_range(descriptor, writtenBack_, written_ - writtenBack_,
                          SYNC_FILE_RANGE_WRITE);
        writtenBack_ = written_;
    }
    // Here rather than on the main thread: a slow disk holds up this thread's
    // reading, never the window.
    if (syncInterval_ > 0 && written_ - syncedMark_ >= syncInterval_ &&
        ::fdatasync(descriptor) == 0) {
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

std::size_t HttpTransfer::receiveBody(char* data, std::size_t size, std::size_t count,
                                      void* self) {
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
    return length;
}

bool HttpTransfer::proxyWantsCredentials(int curlResult) const {
    if (proxyRefused_)
        return true;
    // A tunnel for https is refused before any response of the server's.
    long connectStatus = 0;
    curl_easy_getinfo(easyOf(easy_), CURLINFO_HTTP_CONNECTCODE, &connectStatus);
    return curlResult != CURLE_OK && connectStatus == 407;
}

void HttpTransfer::offerProxyCredential(const ProxyCredential& credential) {
    offeredProxyCredential_ = credential;
    if (credential.isEmpty())
        return;
    curl_easy_setopt(easyOf(easy_), CURLOPT_PROXYUSERNAME, credential.user.toUtf8().constData());
    curl_easy_setopt(easyOf(easy_), CURLOPT_PROXYPASSWORD,
                     credential.password.toUtf8().constData());
}

// The transfer waits, without its thread, until the person has answered; an
// abort meanwhile ends it as at any other time.
void HttpTransfer::askForProxyCredential(const HttpTransferOutcome& refusal) {
    if (handlers_.waitingForPerson)
        handlers_.waitingForPerson(true);
    ProxyCredentials::session().ask(
        proxyName(proxy_), offeredProxyCredential_, this,
        [this, refusal](std::optional<ProxyCredential> credential) {
            if (aborted_)
                return;
            if (handlers_.waitingForPerson)
                handlers_.waitingForPerson(false);
            if (!credential) {
                if (handlers_.finished)
                    handlers_.finished(refusal);
                return;
            }
            startAgainWith(ProxyCredentials::session().takeCredentialFor(proxyName(proxy_),
                                                                         *credential));
        });
}

void HttpTransfer::startAgainWith(const ProxyCredential& credential) {
    curl_multi_remove_handle(multiOf(multi_), easyOf(easy_));
    offerProxyCredential(credential);
    const QUrl url = head_.URL;
    head_ = {};
    head_.URL = url;
    headDelivered_ = false;
    proxyRefused_ = false;
    paused_ = false;
    curl_multi_add_handle(multiOf(multi_), easyOf(easy_));
    thread_ = std::thread([this] { run(); });
}

} // namespace reelhound
