#include "platform/Preferences.h"

#include <QFileInfo>

#include "platform/Strings.h"

namespace reelhound {
namespace {

QVariantMap& registeredDefaults() {
    static QVariantMap defaults;
    return defaults;
}

bool isText(const QVariant& value) {
    const auto type = value.metaType().id();
    return type == QMetaType::QString || type == QMetaType::QByteArray;
}

} // namespace

Preferences::Preferences() : settings_(applicationName(), applicationName()) {}

Preferences::Preferences(const QString& filePath) : settings_(filePath, QSettings::IniFormat) {}

QString Preferences::storageFolder() const {
    return QFileInfo(settings_.fileName()).absolutePath();
}

void Preferences::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        registeredDefaults().insert(it.key(), it.value());
}

QVariant Preferences::objectForKey(const QString& key) const {
    if (settings_.status() == QSettings::NoError && settings_.contains(key))
        return settings_.value(key);
    return registeredDefaults().value(key);
}

void Preferences::setObjectForKey(const QVariant& value, const QString& key) {
    settings_.setValue(key, value);
}

QStringList Preferences::stringArrayForKey(const QString& key) const {
    const QVariant value = objectForKey(key);
    if (isText(value))
        return {value.toString()};
    QStringList strings;
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList();
    if (value.metaType().id() != QMetaType::QVariantList)
        return strings;
    for (const auto& entry : value.toList()) {
        if (isText(entry))
            strings.push_back(entry.toString());
    }
    return strings;
}

void Preferences::synchronize() {
    settings_.sync();
}

} // namespace reelhound
