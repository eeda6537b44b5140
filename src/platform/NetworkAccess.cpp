#include "platform/NetworkAccess.h"

#include "platform/ProxyCredentials.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QPointer>
#include <QThread>

namespace reelhound {

namespace {

// The proxies of Qt's settings, carrying the session's credentials in place of
// those in the proxy's address. A proxy that still asks, or refuses them, has
// the reply fail (nothing answers proxyAuthenticationRequired), and the
// request asks the person.
class SessionProxyFactory final : public QNetworkProxyFactory {
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override {
        return {proxyFor(query.url())};
    }
};

} // namespace

QNetworkAccessManager& sharedNetworkAccessManager() {
    thread_local QPointer<QNetworkAccessManager> manager;
    if (manager.isNull()) {
        QObject* owner = QCoreApplication::instance();
        if (owner != nullptr && owner->thread() != QThread::currentThread())
            owner = nullptr;
        manager = new QNetworkAccessManager(owner);
        // Each transfer decides for itself how redirects are handled.
        manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        manager->setProxyFactory(new SessionProxyFactory);
    }
    return *manager;
}

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

bool isRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

QString describeRefusedRedirect(const QUrl& target) {
    return QCoreApplication::translate(
               "NetworkAccess", "The server sent the request on to %1, which is not a web address.")
        .arg(target.toDisplayString());
}

QString describeDuration(std::chrono::milliseconds duration) {
    const double seconds = static_cast<double>(duration.count()) / 1000.0;
    const QString number = QString::number(seconds, 'g', 4);
    if (seconds == 1.0)
        return QCoreApplication::translate("NetworkAccess", "%1 second").arg(number);
    return QCoreApplication::translate("NetworkAccess", "%1 seconds").arg(number);
}

QString describeHttpStatus(int status, const QString& reasonPhrase) {
    if (reasonPhrase.trimmed().isEmpty())
        return QCoreApplication::translate("NetworkAccess", "The server answered with status %1.")
            .arg(status);
    return QCoreApplication::translate("NetworkAccess", "The server answered %1 %2.")
        .arg(status)
        .arg(reasonPhrase.trimmed());
}

namespace {

// What %1 of a network error's wording stands for.
enum class Subject { None, Host, WhatIsComing, Address };

struct ErrorWording {
    QNetworkReply::NetworkError error;
    const char* text; // translated in the context "NetworkAccess"
    Subject subject;
};

// clang-format off: one wording a line
constexpr ErrorWording kErrorWordings[] = {
    {QNetworkReply::ConnectionRefusedError, QT_TRANSLATE_NOOP("NetworkAccess", "The server %1 refused the connection."), Subject::Host},
    {QNetworkReply::RemoteHostClosedError, QT_TRANSLATE_NOOP("NetworkAccess", "The connection was closed before %1 arrived."), Subject::WhatIsComing},
    {QNetworkReply::HostNotFoundError, QT_TRANSLATE_NOOP("NetworkAccess", "The server %1 could not be found."), Subject::Host},
    {QNetworkReply::TimeoutError, QT_TRANSLATE_NOOP("NetworkAccess", "The server %1 did not answer in time."), Subject::Host},
    {QNetworkReply::SslHandshakeFailedError, QT_TRANSLATE_NOOP("NetworkAccess", "A secure connection to %1 could not be set up."), Subject::Host},
    {QNetworkReply::TemporaryNetworkFailureError, QT_TRANSLATE_NOOP("NetworkAccess", "The network is not available."), Subject::None},
    {QNetworkReply::NetworkSessionFailedError, QT_TRANSLATE_NOOP("NetworkAccess", "The network is not available."), Subject::None},
    {QNetworkReply::BackgroundRequestNotAllowedError, QT_TRANSLATE_NOOP("NetworkAccess", "The network is not available."), Subject::None},
    {QNetworkReply::TooManyRedirectsError, QT_TRANSLATE_NOOP("NetworkAccess", "The server redirected too many times."), Subject::None},
    {QNetworkReply::InsecureRedirectError, QT_TRANSLATE_NOOP("NetworkAccess", "The server redirected to an address that is not safe to follow."), Subject::None},
    {QNetworkReply::ProxyConnectionRefusedError, QT_TRANSLATE_NOOP("NetworkAccess", "The proxy server refused the connection."), Subject::None},
    {QNetworkReply::ProxyConnectionClosedError, QT_TRANSLATE_NOOP("NetworkAccess", "The proxy server closed the connection before %1 arrived."), Subject::WhatIsComing},
    {QNetworkReply::ProxyNotFoundError, QT_TRANSLATE_NOOP("NetworkAccess", "The proxy server could not be found."), Subject::None},
    {QNetworkReply::ProxyTimeoutError, QT_TRANSLATE_NOOP("NetworkAccess", "The proxy server did not answer in time."), Subject::None},
    {QNetworkReply::ProxyAuthenticationRequiredError, QT_TRANSLATE_NOOP("NetworkAccess", "The proxy server asks for a user name and password."), Subject::None},
    {QNetworkReply::ProtocolUnknownError, QT_TRANSLATE_NOOP("NetworkAccess", "The address %1 cannot be fetched."), Subject::Address},
    {QNetworkReply::ProtocolInvalidOperationError, QT_TRANSLATE_NOOP("NetworkAccess", "The address %1 cannot be fetched."), Subject::Address},
};
// clang-format on

} // namespace

QString describeNetworkError(QNetworkReply::NetworkError error, const QUrl& url,
                             const QString& detail, const QString& whatIsComing) {
    if (error == QNetworkReply::NoError)
        return {};
    const QString host = url.host().isEmpty() ? url.toDisplayString() : url.host();
    for (const ErrorWording& wording : kErrorWordings) {
        if (wording.error != error)
            continue;
        const QString text = QCoreApplication::translate("NetworkAccess", wording.text);
        switch (wording.subject) {
        case Subject::None:
            return text;
        case Subject::Host:
            return text.arg(host);
        case Subject::WhatIsComing:
            return text.arg(whatIsComing);
        case Subject::Address:
            return text.arg(url.toDisplayString());
        }
    }
    if (detail.isEmpty())
        return QCoreApplication::translate("NetworkAccess", "The transfer from %1 failed.")
            .arg(host);
    return QCoreApplication::translate("NetworkAccess", "The transfer from %1 failed: %2.")
        .arg(host, detail);
}

QNetworkReply::NetworkError blamingTheProxy(QNetworkReply::NetworkError error, const QUrl& url) {
    if (proxyFor(url).type() == QNetworkProxy::NoProxy)
        return error;
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QNetworkReply::ProxyConnectionRefusedError;
    case QNetworkReply::HostNotFoundError:
        return QNetworkReply::ProxyNotFoundError;
    case QNetworkReply::TimeoutError:
        return QNetworkReply::ProxyTimeoutError;
    default:
        return error;
    }
}

int httpStatusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QString reasonPhraseOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
}

} // namespace reelhound
