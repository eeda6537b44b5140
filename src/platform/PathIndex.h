#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace reelhound {

// A list of paths in a small file beside the settings, oldest first, that
// several processes of the user read and change. Each change is made under
// an exclusive lock on a file beside the list and stored by rename, so two
// processes never lose each other's entries and a crash leaves the old list
// or the new one.
class PathIndex {
public:
    PathIndex(QString path, qsizetype maximumEntries)
        : path_(std::move(path)), maximumEntries_(maximumEntries) {}

    QStringList paths() const;
    // Adds path as the newest entry (once). Past the bound, entries that
    // stillMatters (where given) says nothing of go first, then the oldest.
    void add(const QString& path,
             const std::function<bool(const QString&)>& stillMatters = {}) const;
    // Runs change on the entries while no other process can, and stores what
    // it leaves.
    void update(const std::function<void(QStringList&)>& change) const;

private:
    QStringList read() const;
    void store(const QStringList& entries) const;

    QString path_;
    qsizetype maximumEntries_;
};

} // namespace reelhound
