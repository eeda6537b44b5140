#include "platform/ResourceDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace reelhound {

QString applicationResourceDirectory() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/reelhound"));
}

QString pathForResource(const QString& name, const QString& type) {
    QString fileName = name;
    if (!type.isEmpty())
        fileName += QLatin1Char('.') + type;
    const QString path = applicationResourceDirectory() + QLatin1Char('/') + fileName;
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace reelhound
