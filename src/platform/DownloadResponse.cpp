#include "platform/DownloadResponse.h"

#include "platform/HttpTransfer.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QRegularExpression>

namespace reelhound {
namespace {

QString filenameFromContentDisposition(const QByteArray& header) {
    static const QRegularExpression quoted(QStringLiteral("filename\\s*=\\s*\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bare(QStringLiteral("filename\\s*=\\s*([^;\\s]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(header);
    auto match = quoted.match(text);
    if (!match.hasMatch())
        match = bare.match(text);
    // Only the last path component: a server must not pick our directory.
    return match.hasMatch() ? QFileInfo(match.captured(1)).fileName() : QString();
}

QString suggestedFilenameFor(const HttpResponseHead& head, const QString& MIMEType) {
    QString name = filenameFromContentDisposition(head.field("Content-Disposition"));
    if (name.isEmpty())
        name = head.URL.fileName();
    if (name.isEmpty())
        name = head.URL.host();
    if (name.isEmpty())
        name = QStringLiteral("download");
    if (!name.contains(u'.') && !MIMEType.isEmpty()) {
        const QString suffix = QMimeDatabase().mimeTypeForName(MIMEType).preferredSuffix();
        if (!suffix.isEmpty())
            name += u'.' + suffix;
    }
    return name;
}

// The body's announced length, or -1. A chunked body's length is unknown
// whatever else the head says.
std::int64_t contentLengthOf(const HttpResponseHead& head) {
    if (head.field("Transfer-Encoding").toLower().contains("chunked"))
        return -1;
    bool valid = false;
    const std::int64_t length = head.field("Content-Length").toLongLong(&valid);
    return valid && length >= 0 ? length : -1;
}

} // namespace

DownloadResponse responseOf(const HttpResponseHead& head) {
    DownloadResponse response;
    response.URL = head.URL;
    response.HTTPStatus = head.status;
    response.expectedContentLength = contentLengthOf(head);
    const QString contentType = QString::fromLatin1(head.field("Content-Type"));
    response.MIMEType = contentType.section(u';', 0, 0).trimmed();
    response.suggestedFilename = suggestedFilenameFor(head, response.MIMEType);
    return response;
}

bool isEncodedArchiveType(const QString& MIMEType) {
    return MIMEType == QLatin1String(kMacBinaryMIMEType) ||
           MIMEType == QLatin1String(kBinHexMIMEType) || MIMEType == QLatin1String(kGzipMIMEType);
}

} // namespace reelhound
