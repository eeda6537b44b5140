#include "platform/NetworkAccess.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QThread>

namespace reelhound {

QNetworkAccessManager& sharedNetworkAccessManager() {
    thread_local QPointer<QNetworkAccessManager> manager;
    if (manager.isNull()) {
        QObject* owner = QCoreApplication::instance();
        if (owner != nullptr && owner->thread() != QThread::currentThread())
            owner = nullptr;
        manager = new QNetworkAccessManager(owner);
        // Each transfer decides for itself how redirects are handled.
        manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
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

QString describeNetworkError(QNetworkReply::NetworkError error, const QUrl& url,
                             const QString& detail, const QString& whatIsComing) {
    const QString host = url.host().isEmpty() ? url.toDisplayString() : url.host();
    switch (error) {
    case QNetworkReply::NoError:
        return {};
    case QNetworkReply::ConnectionRefusedError:
        return QCoreApplication::translate("NetworkAccess", "The server %1 refused the connection.")
            .arg(host);
    case QNetworkReply::RemoteHostClosedError:
        return QCoreApplication::translate("NetworkAccess",
                                           "The connection was closed before %1 arrived.")
            .arg(whatIsComing);
    case QNetworkReply::HostNotFoundError:
        return QCoreApplication::translate("NetworkAccess", "The server %1 could not be found.")
            .arg(host);
    case QNetworkReply::TimeoutError:
        return QCoreApplication::translate("NetworkAccess", "The server %1 did not answer in time.")
            .arg(host);
    case QNetworkReply::SslHandshakeFailedError:
        return QCoreApplication::translate("NetworkAccess",
                                           "A secure connection to %1 could not be set up.")
            .arg(host);
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QCoreApplication::translate("NetworkAccess", "The network is not available.");
    case QNetworkReply::TooManyRedirectsError:
        return QCoreApplication::translate("NetworkAccess",
                                           "The server redirected too many times.");
    case QNetworkReply::InsecureRedirectError:
        return QCoreApplication::translate(
            "NetworkAccess", "The server redirected to an address that is not safe to follow.");
    case QNetworkReply::ProxyConnectionRefusedError:
        return QCoreApplication::translate("NetworkAccess",
                                           "The proxy server refused the connection.");
    case QNetworkReply::ProxyConnectionClosedError:
        return QCoreApplication::translate(
                   "NetworkAccess", "The proxy server closed the connection before %1 arrived.")
            .arg(whatIsComing);
    case QNetworkReply::ProxyNotFoundError:
        return QCoreApplication::translate("NetworkAccess", "The proxy server could not be found.");
    case QNetworkReply::ProxyTimeoutError:
        return QCoreApplication::translate("NetworkAccess",
                                           "The proxy server did not answer in time.");
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QCoreApplication::translate("NetworkAccess",
                                           "The proxy server asks for a user name and password.");
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return QCoreApplication::translate("NetworkAccess", "The address %1 cannot be fetched.")
            .arg(url.toDisplayString());
    default:
        break;
    }
    if (detail.isEmpty())
        return QCoreApplication::translate("NetworkAccess", "The transfer from %1 failed.")
            .arg(host);
    return QCoreApplication::translate("NetworkAccess", "The transfer from %1 failed: %2.")
        .arg(host, detail);
}

int httpStatusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QString reasonPhraseOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
}

} // namespace reelhound
