#pragma once

#include <QNetworkReply>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// What the download and the page fetch share: one network access manager and
// the wording of network failures for the person.
namespace reelhound {

// One manager for the main thread, owned by the application object so that it
// goes away before Qt does. The proxy comes from the process-wide settings.
QNetworkAccessManager& sharedNetworkAccessManager();

// An http or https address with a host: the only kind we fetch or follow.
bool isWebAddress(const QUrl& url);

bool isRedirectStatus(int status);
// For a redirect to an address that is not a web address.
QString describeRefusedRedirect(const QUrl& target);

// "The server answered 404 Not Found."
QString describeHttpStatus(int status, const QString& reasonPhrase);

// A failed reply in plain words. whatIsComing names what did not arrive whole
// ("the whole file", "the whole page").
QString describeNetworkError(QNetworkReply::NetworkError error, const QUrl& url,
                             const QString& detail, const QString& whatIsComing);

// The HTTP status and its reason phrase; 0 and empty before a response.
int httpStatusOf(const QNetworkReply& reply);
QString reasonPhraseOf(const QNetworkReply& reply);

} // namespace reelhound
