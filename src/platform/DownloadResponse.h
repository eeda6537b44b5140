#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>

namespace reelhound {

struct HttpResponseHead;

// The server's answer to a download request. A download may see several: one
// per redirect, then the one whose body is the file.
struct DownloadResponse {
    QUrl URL;
    std::int64_t expectedContentLength = -1; // -1: the server announced no length
    QString MIMEType;                        // without parameters, e.g. "video/x-flv"
    QString suggestedFilename;
    int HTTPStatus = 0;
};

// What a response head tells a download: the announced length (none for a
// chunked body), the type without its parameters, and a file name from
// Content-Disposition, the address or the type, never with a folder in it.
DownloadResponse responseOf(const HttpResponseHead& head);

// The encoded-archive types a download asks its delegate about before writing.
inline constexpr char kMacBinaryMIMEType[] = "application/macbinary";
inline constexpr char kBinHexMIMEType[] = "application/binhex";
inline constexpr char kGzipMIMEType[] = "application/gzip";

bool isEncodedArchiveType(const QString& MIMEType);

} // namespace reelhound
