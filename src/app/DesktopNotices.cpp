#include "app/DesktopNotices.h"

#include "platform/Strings.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QVariantMap>

namespace reelhound {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kShowAction = QStringLiteral("show-in-folder");

} // namespace

DesktopNotices::DesktopNotices(QDBusConnection bus, ShowFile showFile, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), showFile_(std::move(showFile)) {
    if (!bus_.isConnected())
        return;
    bus_.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
}

void DesktopNotices::post(const QString& summary, const QString& body, const QString& filePath) {
    if (!bus_.isConnected())
        return;
    const bool offersFile = !filePath.isEmpty() && QFileInfo::exists(filePath);
    QStringList actions;
    if (offersFile)
        actions << kShowAction << tr("Show in folder");
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral(REELHOUND_DESKTOP_ID));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("Notify"));
    call << applicationName() << uint(0) << QStringLiteral(REELHOUND_DESKTOP_ID) << summary << body
         << actions << hints << int(-1);
    // Never waited for: a missing or slow service must not hold up the window.
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, offersFile, filePath](QDBusPendingCallWatcher* w) {
                QDBusPendingReply<uint> reply = *w;
                if (!reply.isError() && offersFile)
                    filesOfNotices_[reply.value()] = filePath;
                w->deleteLater();
            });
}

void DesktopNotices::actionInvoked(uint id, const QString& actionKey) {
    const auto file = filesOfNotices_.find(id);
    if (file == filesOfNotices_.end() || actionKey != kShowAction)
        return; // another application's notice, or not our action
    const QString path = file->second;
    filesOfNotices_.erase(file);
    showFile_(path);
}

void DesktopNotices::notificationClosed(uint id, uint) {
    filesOfNotices_.erase(id);
}

} // namespace reelhound
