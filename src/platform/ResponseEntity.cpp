#include "platform/ResponseEntity.h"

#include "platform/HttpTransfer.h"

#include <QCoreApplication>

namespace reelhound {

QString whyBodyIsNotTheWholeFile(const HttpResponseHead& head) {
    if (head.status == 206 || !head.field("Content-Range").isEmpty())
        return QCoreApplication::translate("ResponseEntity",
                                           "The server sent only part of the file.");
    return whyBodyIsPacked(head);
}

QString whyBodyIsPacked(const HttpResponseHead& head) {
    // "gzip", "br", "identity", or a list of codings applied in turn.
    for (const QByteArray& coding : head.field("Content-Encoding").split(',')) {
        const QByteArray name = coding.trimmed().toLower();
        if (!name.isEmpty() && name != "identity")
            return QCoreApplication::translate(
                       "ResponseEntity",
                       "The server sent the file packed (%1) instead of as it is.")
                .arg(QString::fromLatin1(coding.trimmed()));
    }
    return {};
}

std::string validatorOf(const HttpResponseHead& head) {
    const QByteArray tag = head.field("ETag");
    return (tag.isEmpty() ? head.field("Last-Modified") : tag).toStdString();
}

ContinuationAnswer continuationAnswerOf(const HttpResponseHead& head) {
    return {head.status, head.field("Content-Range").toStdString(), validatorOf(head)};
}

} // namespace reelhound
