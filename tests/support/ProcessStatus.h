#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <fstream>
#include <string>

#include <unistd.h>

namespace reelhound::testing {

// A field of this process's /proc/self/status in KiB ("VmRSS:", "VmHWM:"),
// or -1 when there is no such field.
inline long processStatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix(field);
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(prefix))
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

// This process's children, each as "PID NAME".
inline QStringList childProcesses() {
    QStringList children;
    const QString self = QString::number(getpid());
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QString text = QString::fromUtf8(stat.readAll());
        const qsizetype nameStart = text.indexOf(u'(');
        const qsizetype nameEnd = text.lastIndexOf(u')');
        if (nameStart < 0 || nameEnd < nameStart)
            continue;
        const QStringList rest = text.mid(nameEnd + 2).split(u' '); // state, ppid, ...
        if (rest.size() > 1 && rest[1] == self)
            children << pid + u' ' + text.mid(nameStart + 1, nameEnd - nameStart - 1);
    }
    return children;
}

} // namespace reelhound::testing
