#include "app/ProxyCredentialsPrompt.h"

#include "app/DesktopServices.h"
#include "platform/NetworkAccess.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QWebEnginePage>

namespace reelhound {

ProxyCredentialsPrompt::ProxyCredentialsPrompt(DesktopServices& desktop, QMainWindow& window,
                                               QWebEnginePage& page)
    : QObject(&window), desktop_(desktop), window_(window) {
    ProxyCredentials::session().setAsker(
        [this](const ProxyCredentialsQuestion& question, ProxyCredentialsCompletion completion) {
            desktop_.beginProxyCredentialsPanel(&window_, question, std::move(completion));
        });
    connect(&page, &QWebEnginePage::proxyAuthenticationRequired, this,
            &ProxyCredentialsPrompt::webPageNeedsCredential);
}

ProxyCredentialsPrompt::~ProxyCredentialsPrompt() {
    ProxyCredentials::session().setAsker({});
}

// The web engine wants its answer before this returns, so the question waits
// in an event loop of its own that, unlike a modal dialog's, leaves the window
// usable (the download's Cancel, quitting).
void ProxyCredentialsPrompt::webPageNeedsCredential(const QUrl& requestURL,
                                                    QAuthenticator* authenticator,
                                                    const QString& proxyHost) {
    const QNetworkProxy proxy = proxyFor(requestURL);
    const ProxyCredential fromAddress =
        proxy.hostName() == proxyHost ? ProxyCredential{proxy.user(), proxy.password()}
                                      : ProxyCredential{};
    ProxyCredential credential =
        ProxyCredentials::session().takeCredentialFor(proxyHost, fromAddress);
    if (credential.isEmpty() || credential == offeredToWebEngine_) {
        // None yet, or the one the proxy has just refused.
        std::optional<ProxyCredential> answer;
        bool answered = false;
        QEventLoop waitForAnswer;
        ProxyCredentials::session().ask(proxyHost, offeredToWebEngine_, &waitForAnswer,
                                        [&](std::optional<ProxyCredential> given) {
                                            answer = std::move(given);
                                            answered = true;
                                            waitForAnswer.quit();
                                        });
        const QPointer<ProxyCredentialsPrompt> alive(this);
        if (!answered)
            waitForAnswer.exec();
        if (alive.isNull() || !answered)
            return; // the window went, or the application is quitting
        if (!answer) {
            window_.statusBar()->showMessage(describeNetworkError(
                QNetworkReply::ProxyAuthenticationRequiredError, requestURL, {}, {}));
            return;
        }
        credential = ProxyCredentials::session().takeCredentialFor(proxyHost, *answer);
    }
    offeredToWebEngine_ = credential;
    authenticator->setUser(credential.user);
    authenticator->setPassword(credential.password);
}

} // namespace reelhound
