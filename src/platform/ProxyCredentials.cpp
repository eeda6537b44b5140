#include "platform/ProxyCredentials.h"

#include <QNetworkProxyFactory>

namespace reelhound {

ProxyCredentials& ProxyCredentials::session() {
    static ProxyCredentials credentials;
    return credentials;
}

ProxyCredential ProxyCredentials::credentialFor(const QString& host,
                                                const ProxyCredential& fromAddress) const {
    if (const auto once = once_.constFind(host); once != once_.cend())
        return *once;
    return remembered_.value(host, fromAddress);
}

ProxyCredential ProxyCredentials::takeCredentialFor(const QString& host,
                                                    const ProxyCredential& fromAddress) {
    const ProxyCredential credential = credentialFor(host, fromAddress);
    once_.remove(host);
    return credential;
}

void ProxyCredentials::ask(const QString& host, const ProxyCredential& tried, QObject* receiver,
                           std::function<void(std::optional<ProxyCredential>)> done) {
    QList<Waiter>& waiters = waiting_[host];
    waiters.append({receiver, std::move(done)});
    if (waiters.size() > 1)
        return; // the question is open already
    if (!asker_) {
        answered(host, std::nullopt);
        return;
    }
    ProxyCredentialsQuestion question;
    question.proxyHost = host;
    question.user = tried.user;
    question.refused = !tried.isEmpty();
    asker_(question,
           [this, host](std::optional<ProxyCredentialsAnswer> answer) { answered(host, answer); });
}

void ProxyCredentials::askThenRetry(const QString& host, const ProxyCredential& tried,
                                    QObject* receiver, ProxyCredentialRetry then) {
    ask(host, tried, receiver, [then = std::move(then)](std::optional<ProxyCredential> answer) {
        if (then.stillWaiting && !then.stillWaiting())
            return;
        if (answer)
            then.retry(*answer);
        else
            then.fail();
    });
}

void ProxyCredentials::answered(const QString& host,
                                const std::optional<ProxyCredentialsAnswer>& answer) {
    if (answer) {
        if (answer->rememberForSession)
            remembered_.insert(host, answer->credential);
        else
            once_.insert(host, answer->credential);
    }
    const QList<Waiter> waiters = waiting_.take(host);
    for (const Waiter& waiter : waiters) {
        if (waiter.receiver.isNull())
            continue;
        waiter.done(answer ? std::optional(answer->credential) : std::nullopt);
    }
}

void ProxyCredentials::forgetAll() {
    remembered_.clear();
    once_.clear();
}

QNetworkProxy proxyFor(const QUrl& url) {
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
    for (QNetworkProxy proxy : proxies) {
        switch (proxy.type()) {
        case QNetworkProxy::NoProxy:
        case QNetworkProxy::DefaultProxy:
            return QNetworkProxy(QNetworkProxy::NoProxy);
        case QNetworkProxy::HttpProxy:
        case QNetworkProxy::HttpCachingProxy:
        case QNetworkProxy::Socks5Proxy: {
            const ProxyCredential credential = ProxyCredentials::session().credentialFor(
                proxyName(proxy), {proxy.user(), proxy.password()});
            proxy.setUser(credential.user);
            proxy.setPassword(credential.password);
            return proxy;
        }
        default:
            continue; // not one for HTTP requests
        }
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

bool proxyAsksForCredentials(int httpStatus, bool credentialsOffered) {
    return httpStatus == 407 || (httpStatus == 401 && credentialsOffered);
}

QString proxyName(const QNetworkProxy& proxy) {
    const QString host =
        proxy.hostName().contains(u':') ? u'[' + proxy.hostName() + u']' : proxy.hostName();
    return host + u':' + QString::number(proxy.port());
}

} // namespace reelhound
