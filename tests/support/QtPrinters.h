#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <ostream>

// Readable GoogleTest messages for Qt values.
inline void PrintTo(const QString& text, std::ostream* out) {
    constexpr qsizetype kShown = 300;
    *out << '"' << text.left(kShown).toStdString() << (text.size() > kShown ? "\"..." : "\"");
}

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *out << (i ? ", " : "");
        PrintTo(list[i], out);
    }
    *out << '}';
}

inline void PrintTo(const QUrl& url, std::ostream* out) {
    PrintTo(url.toString(), out);
}
