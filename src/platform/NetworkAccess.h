#pragma once

#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

// What the page fetch and the download share: which addresses are followed,
// the wording of network failures for the person, and (for the page fetch)
// one network access manager.
namespace reelhound {

// One manager for the main thread, owned by the application object so that it
// goes away before Qt does. The proxy comes from the process-wide settings,
// with the session's credentials (see proxyFor).
QNetworkAccessManager& sharedNetworkAccessManager();

// An http or https address with a host: the only kind we fetch or follow.
bool isWebAddress(const QUrl& url);

bool isRedirectStatus(int status);
// For a redirect to an address that is not a web address.
QString describeRefusedRedirect(const QUrl& target);

// "0.3 seconds", "1 second", "60 seconds": a time limit in plain words.
QString describeDuration(std::chrono::milliseconds duration);

// "The server answered 404 Not Found."
QString describeHttpStatus(int status, const QString& reasonPhrase);

// A failed reply in plain words. whatIsComing names what did not arrive whole
// ("the whole file", "the whole page").
// The failure as the proxy's when the request went through one: a plain HTTP
// proxy stands in for the server at the socket, so Qt names the server for
// what the proxy did (refused, not found, silent).
QNetworkReply::NetworkError blamingTheProxy(QNetworkReply::NetworkError error, const QUrl& url);

QString describeNetworkError(QNetworkReply::NetworkError error, const QUrl& url,
                             const QString& detail, const QString& whatIsComing);

// The HTTP status and its reason phrase; 0 and empty before a response.
int httpStatusOf(const QNetworkReply& reply);
QString reasonPhraseOf(const QNetworkReply& reply);

} // namespace reelhound
