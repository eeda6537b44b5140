#include "platform/PageFetch.h"

#include <QCoreApplication>

#include "platform/NetworkAccess.h"

#include <QEventLoop>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopedPointer>
#include <QStringDecoder>
#include <QTimer>

namespace reelhound {
namespace {

QString tooLargeText() {
    return QCoreApplication::translate(
               "PageFetch", "The page is larger than %1, which is more than any page this "
                            "application reads.")
        .arg(QLocale().formattedDataSize(kPageFetchMaximumBytes));
}

} // namespace

PageFetchResult fetchPageText(const QUrl& url, std::chrono::milliseconds timeout) {
    PageFetchResult result;
    if (!isWebAddress(url)) {
        result.error = QCoreApplication::translate("PageFetch", "%1 is not a web address.")
                           .arg(url.toDisplayString());
        return result;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(
        sharedNetworkAccessManager().get(request));
    QNetworkReply* const rawReply = reply.data();

    QByteArray body;
    QString problem; // set when we stop the reply ourselves
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);

    auto stop = [&](const QString& why) {
        if (problem.isEmpty())
            problem = why;
        rawReply->abort();
    };
    QObject::connect(rawReply, &QNetworkReply::redirected, &loop, [&](const QUrl& target) {
        if (isWebAddress(target))
            emit rawReply->redirectAllowed();
        else
            stop(describeRefusedRedirect(target));
    });
    QObject::connect(rawReply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = rawReply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > kPageFetchMaximumBytes)
            stop(tooLargeText());
    });
    QObject::connect(rawReply, &QNetworkReply::readyRead, &loop, [&] {
        body += rawReply->readAll();
        if (body.size() > kPageFetchMaximumBytes)
            stop(tooLargeText());
    });
    QObject::connect(rawReply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        stop(QCoreApplication::translate("PageFetch", "The server %1 did not answer within %2.")
                 .arg(url.host(), describeDuration(timeout)));
    });

    deadline.start(timeout);
    if (!rawReply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    QObject::disconnect(rawReply, nullptr, &loop, nullptr);

    result.HTTPStatus = httpStatusOf(*rawReply);
    if (!problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    if (result.HTTPStatus >= 400) {
        result.error = describeHttpStatus(result.HTTPStatus, reasonPhraseOf(*rawReply));
        return result;
    }
    if (rawReply->error() != QNetworkReply::NoError) {
        // Qt refuses some redirects before asking us; say where it was sent.
        const QByteArray location = rawReply->rawHeader("Location");
        const QUrl target = rawReply->url().resolved(QUrl::fromEncoded(location));
        if (isRedirectStatus(result.HTTPStatus) && !location.isEmpty() && !isWebAddress(target)) {
            result.error = describeRefusedRedirect(target);
            return result;
        }
        result.error =
            describeNetworkError(rawReply->error(), rawReply->url(), rawReply->errorString(),
                                 QCoreApplication::translate("PageFetch", "the whole page"));
        return result;
    }
    body += rawReply->readAll();
    if (body.size() > kPageFetchMaximumBytes) {
        result.error = tooLargeText();
        return result;
    }

    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(body);
    if (decoder.hasError()) {
        result.error =
            QCoreApplication::translate("PageFetch", "The page from %1 is not UTF-8 text.")
                .arg(url.host());
        return result;
    }
    result.text = std::move(text);
    result.ok = true;
    return result;
}

} // namespace reelhound
