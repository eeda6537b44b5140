#pragma once

#include "platform/ProxyCredentials.h"

#include <QObject>

class QAuthenticator;
class QMainWindow;
class QUrl;
class QWebEnginePage;

namespace reelhound {

class DesktopServices;

// Answers proxies that ask for credentials: it puts the session's questions to
// the person through the desktop services, and answers the web engine (which
// takes nothing from the proxy's address) with the session's credentials.
// Lives as long as the window.
class ProxyCredentialsPrompt final : public QObject {
public:
    ProxyCredentialsPrompt(DesktopServices& desktop, QMainWindow& window, QWebEnginePage& page);
    ~ProxyCredentialsPrompt() override;

private:
    void webPageNeedsCredential(const QUrl& requestURL, QAuthenticator* authenticator,
                                const QString& proxyHost);

    DesktopServices& desktop_;
    QMainWindow& window_;
    // What the web engine was given last; asked again, it was refused.
    ProxyCredential offeredToWebEngine_;
};

} // namespace reelhound
