#include "app/ProxyCredentialsPrompt.h"

#include "app/DesktopServices.h"
#include "platform/NetworkAccess.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QStatusBar>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace reelhound {

ProxyCredentialsPrompt::ProxyCredentialsPrompt(DesktopServices& desktop, QMainWindow& window,
                                               QWebEngineView& view)
    : QObject(&window), desktop_(desktop), window_(window), view_(view) {
    ProxyCredentials::session().setAsker(
        [this](const ProxyCredentialsQuestion& question, ProxyCredentialsCompletion completion) {
            desktop_.beginProxyCredentialsPanel(&window_, question, std::move(completion));
        });
    watch(*view.page());
}

ProxyCredentialsPrompt::~ProxyCredentialsPrompt() {
    ProxyCredentials::session().setAsker({});
}

void ProxyCredentialsPrompt::watch(QWebEnginePage& page) {
    connect(&page, &QWebEnginePage::proxyAuthenticationRequired, this,
            &ProxyCredentialsPrompt::webPageNeedsCredential);
    connect(&page, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& requestURL, QAuthenticator*) { webPageNeedsLogin(requestURL); });
    connect(&page, &QWebEnginePage::loadStarted, this, [this] { refusedDuringLoad_ = false; });
    connect(&page, &QWebEnginePage::loadFinished, this,
            [this, &page] { webPageLoadFinished(page); });
}

// The web engine wants its answer before this returns, so the question waits
// in an event loop of its own that, unlike a modal dialog's, leaves the window
// usable (the download's Cancel, quitting).
void ProxyCredentialsPrompt::webPageNeedsCredential(const QUrl& requestURL,
                                                    QAuthenticator* authenticator,
                                                    const QString& proxyHost) {
    // The web engine names the proxy by its host alone; the settings know its port.
    const QNetworkProxy proxy = proxyFor(requestURL);
    const bool settingsProxy = proxy.hostName() == proxyHost;
    const QString name = settingsProxy ? proxyName(proxy) : proxyHost;
    const ProxyCredential fromAddress =
        settingsProxy ? ProxyCredential{proxy.user(), proxy.password()} : ProxyCredential{};
    ProxyCredential credential = ProxyCredentials::session().takeCredentialFor(name, fromAddress);
    if (credential.isEmpty() || credential == offeredToWebEngine_) {
        // None yet, or the one the proxy has just refused.
        std::optional<ProxyCredential> answer;
        bool answered = false;
        QEventLoop waitForAnswer;
        const auto settle = [&](std::optional<ProxyCredential> given) {
            answer = std::move(given);
            answered = true;
            waitForAnswer.quit();
        };
        ProxyCredentials::session().askThenRetry(
            name, offeredToWebEngine_, &waitForAnswer,
            {{},
             [&](const ProxyCredential& given) { settle(given); },
             [&] { settle(std::nullopt); }});
        const QPointer<ProxyCredentialsPrompt> alive(this);
        if (!answered)
            waitForAnswer.exec();
        if (alive.isNull() || !answered)
            return; // the window went, or the application is quitting
        if (!answer) {
            reportCancel(requestURL);
            return;
        }
        credential = ProxyCredentials::session().takeCredentialFor(name, *answer);
    }
    offeredToWebEngine_ = credential;
    authenticator->setUser(credential.user);
    authenticator->setPassword(credential.password);
}

// A login that a page asks for through a proxy that was given credentials is
// the proxy's refusal of them (see proxyAsksForCredentials). It is left
// unanswered, so the load fails; the person is asked when it has.
void ProxyCredentialsPrompt::webPageNeedsLogin(const QUrl& requestURL) {
    if (proxyFor(requestURL).type() == QNetworkProxy::NoProxy)
        return;
    if (proxyAsksForCredentials(401, !offeredToWebEngine_.isEmpty()))
        refusedDuringLoad_ = true;
}

void ProxyCredentialsPrompt::webPageLoadFinished(QWebEnginePage& page) {
    if (!refusedDuringLoad_ || &page != view_.page())
        return;
    refusedDuringLoad_ = false;
    // The web engine's own error page is in English and speaks of retries:
    // a plain word in the person's language stands in until the answer.
    const QUrl refusedURL = page.requestedUrl();
    const QString proxy = proxyName(proxyFor(refusedURL));
    showPlainPage(
        page, QCoreApplication::translate("reelhound::ProxyCredentialsDialog",
                                          "The proxy server %1 asks for a user name and password.")
                  .arg(proxy));
    // Another address may have been asked for meanwhile (it waits for the
    // same answer): the page shown loads again, at the address it has now.
    const QPointer<QWebEnginePage> refused(&page);
    const auto urlNow = [refused, refusedURL] {
        const QUrl now = refused->requestedUrl();
        return now.scheme() == u"data" || now.isEmpty() ? refusedURL : now;
    };
    ProxyCredentials::session().askThenRetry(
        proxy, offeredToWebEngine_, this,
        {// Not when loaded afresh already.
         [this, refused] { return !refused.isNull() && refused == view_.page(); },
         [this, urlNow](const ProxyCredential&) { loadAfresh(urlNow()); },
         [this, refused, urlNow] {
             const QUrl url = urlNow();
             reportCancel(url);
             showPlainPage(*refused,
                           describeNetworkError(QNetworkReply::ProxyAuthenticationRequiredError,
                                                url, {}, {}));
         }});
}

void ProxyCredentialsPrompt::showPlainPage(QWebEnginePage& page, const QString& words) {
    page.setHtml(QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head>"
                                "<body style=\"font-family: sans-serif; margin: 2em\"><p>%1</p>"
                                "</body></html>")
                     .arg(words.toHtmlEscaped()));
}

// The web engine keeps the credentials it gave a proxy for the rest of the
// profile's life and offers them before it is asked; only a 407 in answer
// makes it forget them, and a proxy that refuses with 401 never sends one. So
// the page loads again in a new profile of its own, which starts without them
// and asks.
void ProxyCredentialsPrompt::loadAfresh(const QUrl& url) {
    auto* profile = new QWebEngineProfile(this); // off the record: nothing of it is kept
    auto* page = new QWebEnginePage(profile, &view_);
    const QPointer<QWebEnginePage> replaced = ownPage_;
    ownPage_ = page;
    watch(*page);
    view_.setPage(page); // deletes the view's own page
    if (!replaced.isNull()) {
        connect(replaced, &QObject::destroyed, replaced->profile(), &QObject::deleteLater);
        replaced->deleteLater();
    }
    page->load(url);
}

void ProxyCredentialsPrompt::reportCancel(const QUrl& requestURL) {
    window_.statusBar()->showMessage(
        describeNetworkError(QNetworkReply::ProxyAuthenticationRequiredError, requestURL, {}, {}));
}

} // namespace reelhound
