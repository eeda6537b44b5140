#include "platform/PageFetch.h"

#include "platform/NetworkAccess.h"
#include "platform/ProxyCredentials.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

#include <algorithm>

namespace reelhound {
namespace {

QString tooLargeText() {
    return QCoreApplication::translate(
               "PageFetch", "The page is larger than %1, which is more than any page this "
                            "application reads.")
        .arg(QLocale().formattedDataSize(kPageFetchMaximumBytes));
}

} // namespace

PageRequest::PageRequest(const QUrl& url, const PageFetchLimits& limits, QObject* parent)
    : QObject(parent), url_(url), limits_(limits) {
    silenceTimer_.setSingleShot(true);
    overallTimer_.setSingleShot(true);
    connect(&silenceTimer_, &QTimer::timeout, this, &PageRequest::silenceStruck);
    connect(&overallTimer_, &QTimer::timeout, this, [this] {
        stop(tr("The server %1 did not send the whole page within %2.")
                 .arg(url_.host(), describeDuration(limits_.overall)));
    });
}

PageRequest::~PageRequest() {
    abort();
}

void PageRequest::start() {
    if (running_ || reply_)
        return;
    running_ = true;
    if (!isWebAddress(url_)) {
        PageFetchResult result;
        result.error = tr("%1 is not a web address.").arg(url_.toDisplayString());
        QMetaObject::invokeMethod(
            this, [this, result] { report(result); }, Qt::QueuedConnection);
        return;
    }
    sendRequest();
}

void PageRequest::sendRequest() {
    heardAnything_ = false;
    QNetworkRequest request(url_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    // The manager offers the proxy what proxyFor names; an answer meant for
    // one request is spent once this one is under way.
    const QNetworkProxy proxy = proxyFor(url_);
    reply_ = sharedNetworkAccessManager().get(request);
    offeredProxyCredential_ = ProxyCredentials::session().takeCredentialFor(
        proxyName(proxy), {proxy.user(), proxy.password()});
    QNetworkReply* const reply = reply_;

    connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl& target) {
        heardFromServer();
        if (isWebAddress(target))
            emit reply->redirectAllowed();
        else
            stop(describeRefusedRedirect(target));
    });
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
        heardFromServer();
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kPageFetchMaximumBytes)
            stop(tooLargeText());
    });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        heardFromServer();
        body_ += reply->readAll();
        if (body_.size() > kPageFetchMaximumBytes)
            stop(tooLargeText());
    });
    connect(reply, &QNetworkReply::finished, this, &PageRequest::replyFinished);

    silenceTimer_.start(limits_.silence);
    overallTimer_.start(limits_.overall);
}

void PageRequest::abort() {
    running_ = false;
    silenceTimer_.stop();
    overallTimer_.stop();
    if (QNetworkReply* reply = reply_.data()) {
        reply_.clear();
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
        reply->deleteLater();
    }
}

void PageRequest::heardFromServer() {
    heardAnything_ = true;
    silenceTimer_.start(limits_.silence);
}

void PageRequest::silenceStruck() {
    const QString limit = describeDuration(limits_.silence);
    stop(heardAnything_ ? tr("The server %1 sent nothing more for %2.").arg(url_.host(), limit)
                        : tr("The server %1 did not answer within %2.").arg(url_.host(), limit));
}

void PageRequest::stop(const QString& why) {
    if (problem_.isEmpty())
        problem_ = why;
    if (reply_)
        reply_->abort(); // finished() follows at once
}

void PageRequest::replyFinished() {
    if (!reply_)
        return;
    const int status = reply_->error() == QNetworkReply::ProxyAuthenticationRequiredError
                           ? 407
                           : httpStatusOf(*reply_);
    if (problem_.isEmpty() && proxyAsksForCredentials(status, !offeredProxyCredential_.isEmpty())) {
        askForProxyCredential();
        return;
    }
    PageFetchResult result = resultOfReply();
    QNetworkReply* reply = reply_.data();
    reply_.clear();
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();
    report(std::move(result));
}

// The request waits, timers stopped, until the person has answered; then it
// goes out again with the answer (which the session holds now), or fails
// with the proxy's refusal.
void PageRequest::askForProxyCredential() {
    silenceTimer_.stop();
    overallTimer_.stop();
    QNetworkReply* reply = reply_.data();
    reply_.clear();
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();
    body_.clear();

    ProxyCredentials::session().askThenRetry(
        proxyName(proxyFor(url_)), offeredProxyCredential_, this,
        {[this] { return running_; },
         [this](const ProxyCredential&) {
             // The session holds the answer now. Nothing the manager kept
             // from the refused attempt (connections, credentials) goes out
             // again.
             sharedNetworkAccessManager().clearAccessCache();
             sendRequest();
         },
         [this] {
             PageFetchResult result;
             result.HTTPStatus = 407;
             result.error = describeNetworkError(QNetworkReply::ProxyAuthenticationRequiredError,
                                                 url_, {}, {});
             report(std::move(result));
         }});
}

void PageRequest::report(PageFetchResult result) {
    if (!running_)
        return;
    running_ = false;
    silenceTimer_.stop();
    overallTimer_.stop();
    emit finished(result);
}

PageFetchResult PageRequest::resultOfReply() {
    QNetworkReply& reply = *reply_;
    PageFetchResult result;
    result.HTTPStatus = httpStatusOf(reply);
    if (!problem_.isEmpty()) {
        result.error = problem_;
        return result;
    }
    if (result.HTTPStatus >= 400) {
        result.error = describeHttpStatus(result.HTTPStatus, reasonPhraseOf(reply));
        return result;
    }
    if (reply.error() != QNetworkReply::NoError) {
        // Qt refuses some redirects before asking us; say where it was sent.
        const QByteArray location = reply.rawHeader("Location");
        const QUrl target = reply.url().resolved(QUrl::fromEncoded(location));
        if (isRedirectStatus(result.HTTPStatus) && !location.isEmpty() && !isWebAddress(target)) {
            result.error = describeRefusedRedirect(target);
            return result;
        }
        result.error = describeNetworkError(blamingTheProxy(reply.error(), reply.url()),
                                            reply.url(), reply.errorString(), tr("the whole page"));
        return result;
    }
    body_ += reply.readAll();
    if (body_.size() > kPageFetchMaximumBytes) {
        result.error = tooLargeText();
        return result;
    }

    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(body_);
    body_.clear();
    if (decoder.hasError()) {
        result.error = tr("The page from %1 is not UTF-8 text.").arg(url_.host());
        return result;
    }
    result.text = std::move(text);
    result.ok = true;
    return result;
}

PageFetchResult fetchPageText(const QUrl& url, std::chrono::milliseconds timeout) {
    PageFetchLimits limits;
    limits.silence = timeout;
    limits.overall = std::max(limits.overall, timeout);
    return fetchPageText(url, limits);
}

PageFetchResult fetchPageText(const QUrl& url, const PageFetchLimits& limits) {
    PageRequest request(url, limits);
    PageFetchResult result;
    QEventLoop loop;
    QObject::connect(&request, &PageRequest::finished, &loop, [&](const PageFetchResult& outcome) {
        result = outcome;
        loop.quit();
    });
    request.start();
    if (request.isRunning())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (request.isRunning()) {
        // The application is quitting and every event loop has been left.
        request.abort();
        result.error = QCoreApplication::translate("reelhound::PageRequest",
                                                   "The application quit before the page arrived.");
    }
    return result;
}

} // namespace reelhound
