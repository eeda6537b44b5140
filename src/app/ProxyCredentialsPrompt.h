#pragma once

#include "platform/ProxyCredentials.h"

#include <QObject>
#include <QPointer>

class QAuthenticator;
class QMainWindow;
class QUrl;
class QWebEnginePage;
class QWebEngineView;

namespace reelhound {

class DesktopServices;

// Answers proxies that ask for credentials: it puts the session's questions to
// the person through the desktop services, and answers the web engine (which
// takes nothing from the proxy's address) with the session's credentials.
// Lives as long as the window.
class ProxyCredentialsPrompt final : public QObject {
public:
    ProxyCredentialsPrompt(DesktopServices& desktop, QMainWindow& window, QWebEngineView& view);
    ~ProxyCredentialsPrompt() override;

private:
    void watch(QWebEnginePage& page);
    void webPageNeedsCredential(const QUrl& requestURL, QAuthenticator* authenticator,
                                const QString& proxyHost);
    void webPageNeedsLogin(const QUrl& requestURL);
    void webPageLoadFinished(QWebEnginePage& page);
    void loadAfresh(const QUrl& url);
    void reportCancel(const QUrl& requestURL);
    // A page of our own words where the web engine would show its error.
    static void showPlainPage(QWebEnginePage& page, const QString& words);

    DesktopServices& desktop_;
    QMainWindow& window_;
    QWebEngineView& view_;
    // What the web engine was given last; asked again, it was refused.
    ProxyCredential offeredToWebEngine_;
    // The proxy turned down what the web engine offered during this load.
    bool refusedDuringLoad_ = false;
    // The page of our own that replaced the view's, once one has.
    QPointer<QWebEnginePage> ownPage_;
};

} // namespace reelhound
