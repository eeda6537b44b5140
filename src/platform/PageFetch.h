#pragma once

#include <QString>
#include <QUrl>
#include <chrono>

namespace reelhound {

struct PageFetchResult {
    bool ok = false;
    QString text;  // the whole body, decoded as UTF-8, when ok
    QString error; // plain words for a person when not ok
    int HTTPStatus = 0;
};

inline constexpr std::chrono::milliseconds kDefaultPageFetchTimeout = std::chrono::seconds(30);
// A page is read into memory whole; nothing we fetch as text is this large.
inline constexpr qint64 kPageFetchMaximumBytes = 16 * 1024 * 1024;

// Fetches an address's whole content as text and returns when it has arrived,
// failed or taken longer than timeout. Meanwhile a nested event loop keeps the
// windows painted but holds back user input, so nothing can be clicked twice.
// Redirects are followed to http and https addresses only; an HTTP status of
// 400 and above, a body over kPageFetchMaximumBytes and a body that is not
// UTF-8 are failures.
PageFetchResult fetchPageText(const QUrl& url,
                              std::chrono::milliseconds timeout = kDefaultPageFetchTimeout);

} // namespace reelhound
