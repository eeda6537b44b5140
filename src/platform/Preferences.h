#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace reelhound {

// Per-user preferences with registered defaults: a registered default applies
// while nothing is stored under its key and is never written to storage.
class Preferences {
public:
    // The user's own store (organisation and application "Reelhound").
    Preferences();
    // A store in the given file, for tests and throw-away runs.
    explicit Preferences(const QString& filePath);

    // Process-wide, like the defaults a class registers before its first use.
    static void registerDefaults(const QVariantMap& defaults);

    QVariant objectForKey(const QString& key) const;
    void setObjectForKey(const QVariant& value, const QString& key);

    // The value under key read as a list of strings: a stored single string is
    // a list of one, entries that are not text are skipped, any other value is
    // an empty list. Values that something else wrote must never stop a start.
    QStringList stringArrayForKey(const QString& key) const;

    // Writes pending changes now; normally the store does it at its own time.
    void synchronize();

    // The folder the store's file is in, for the application's other small files.
    QString storageFolder() const;

private:
    QSettings settings_;
};

} // namespace reelhound
