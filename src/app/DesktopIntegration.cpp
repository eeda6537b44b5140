#include "app/DesktopIntegration.h"

#include "platform/NetworkAccess.h"
#include "platform/ResourceDirectory.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMimeData>
#include <QTranslator>
#include <QUrl>

namespace reelhound {
namespace {

// The icon as installed beside the program, for desktops whose icon theme
// does not know it yet (a build tree, a private prefix).
QIcon bundledIcon() {
    const QString id = QString::fromLatin1(kDesktopId);
    const QDir hicolor(QCoreApplication::applicationDirPath() +
                       QStringLiteral("/../share/icons/hicolor"));
    QIcon icon;
    for (const int size : {REELHOUND_ICON_SIZES}) {
        const QString path =
            hicolor.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(id));
        if (QFileInfo::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return QIcon::fromTheme(id, icon);
}

void loadTranslation(QApplication& application, const QString& name, const QString& directory) {
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(), name, QStringLiteral("_"), directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator; // no file for this language: the English texts stay
}

} // namespace

void integrateWithDesktop(QApplication& application) {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setWindowIcon(bundledIcon());
    loadTranslation(application, QStringLiteral("qtbase"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    loadTranslation(application, QStringLiteral("reelhound"),
                    applicationResourceDirectory() + QStringLiteral("/translations"));
}

std::optional<QString> droppedWebAddress(const QMimeData& data) {
    if (data.hasUrls()) {
        for (const QUrl& url : data.urls()) {
            if (isWebAddress(url))
                return url.toString();
        }
        // Files and other non-web links; their text is a path, not an address.
        return std::nullopt;
    }
    if (!data.hasText())
        return std::nullopt;
    const QStringList lines = data.text().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return std::nullopt;
}

} // namespace reelhound
