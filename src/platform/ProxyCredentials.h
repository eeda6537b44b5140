#pragma once

#include <QHash>
#include <QList>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace reelhound {

// A user name and password for a proxy server.
struct ProxyCredential {
    QString user;
    QString password;

    bool isEmpty() const { return user.isEmpty() && password.isEmpty(); }
    bool operator==(const ProxyCredential&) const = default;
};

// What the person is asked when the proxy wants credentials we lack, or has
// refused the ones we gave.
struct ProxyCredentialsQuestion {
    QString proxyHost;    // "host:port", as proxyName gives it
    QString user;         // the name tried last, to preset the field
    bool refused = false; // the proxy turned down what it was given
};

struct ProxyCredentialsAnswer {
    ProxyCredential credential;
    bool rememberForSession = true;
};

// No answer means the person cancelled.
using ProxyCredentialsCompletion = std::function<void(std::optional<ProxyCredentialsAnswer>)>;
// Puts the question to the person and returns at once; the completion runs
// later on the main thread.
using ProxyCredentialsAsker =
    std::function<void(const ProxyCredentialsQuestion&, ProxyCredentialsCompletion)>;

// What a request does once the person has answered the proxy's question.
struct ProxyCredentialRetry {
    // Whether the request still waits for the answer (absent: while the
    // receiver lives).
    std::function<bool()> stillWaiting;
    // Goes out again, offering the credential the person gave.
    std::function<void(const ProxyCredential&)> retry;
    // Ends as refused by the proxy: the person cancelled.
    std::function<void()> fail;
};

// The credentials for the proxy servers of this run, shared by the web view,
// the page fetch and the transfer. Nothing here is ever written anywhere: the
// store lives and dies with the process. Main thread only.
class ProxyCredentials final {
public:
    static ProxyCredentials& session();

    void setAsker(ProxyCredentialsAsker asker) { asker_ = std::move(asker); }

    // What to offer the proxy on `host`: what the person typed in for this
    // run, else what the proxy's address carried (`fromAddress`).
    ProxyCredential credentialFor(const QString& host, const ProxyCredential& fromAddress) const;
    // Like credentialFor, and an answer that was not to be remembered is
    // handed out this once.
    ProxyCredential takeCredentialFor(const QString& host, const ProxyCredential& fromAddress);

    // Asks the person for the proxy on `host`. Requests that ask while the
    // question is open wait for the same answer. `done` gets the credential,
    // or nothing on Cancel; it is not called once `receiver` has gone.
    void ask(const QString& host, const ProxyCredential& tried, QObject* receiver,
             std::function<void(std::optional<ProxyCredential>)> done);

    // The one way a request meets a proxy that wants credentials: asks as
    // ask() does, then calls then.retry with the answer or then.fail on Cancel,
    // unless the receiver has gone or the request no longer waits.
    void askThenRetry(const QString& host, const ProxyCredential& tried, QObject* receiver,
                      ProxyCredentialRetry then);

    // Forgets every answer (a new run, as far as proxies are concerned).
    void forgetAll();

private:
    struct Waiter {
        QPointer<QObject> receiver;
        std::function<void(std::optional<ProxyCredential>)> done;
    };
    void answered(const QString& host, const std::optional<ProxyCredentialsAnswer>& answer);

    ProxyCredentialsAsker asker_;
    QHash<QString, ProxyCredential> remembered_;
    QHash<QString, ProxyCredential> once_;
    QHash<QString, QList<Waiter>> waiting_;
};

// The proxy that Qt's proxy settings name for an address, with the
// credentials to offer it; a NoProxy proxy for a direct connection.
QNetworkProxy proxyFor(const QUrl& url);

// "host:port" ("[::1]:3128" for an IPv6 address): how credentials are kept
// and how the person is told which proxy asks. Two proxies on one host are
// two proxies.
QString proxyName(const QNetworkProxy& proxy);

// Whether a response that came through a proxy is the proxy's demand for
// credentials (407), or its refusal of the ones it was offered. Some proxies
// (tinyproxy among them) turn down wrong credentials with 401 and a challenge
// of their own instead of 407; neither the site nor the link service asks for
// a login, so a 401 after proxy credentials went out is taken as the proxy's.
bool proxyAsksForCredentials(int httpStatus, bool credentialsOffered);

} // namespace reelhound
