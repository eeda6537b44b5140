#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

namespace reelhound {

// Notices on the desktop (the freedesktop notification service on the
// session bus), as the desktop's own applications post them. A notice about
// a file offers to show it. Without the service nothing is posted, and that is
// no error.
class DesktopNotices : public QObject {
    Q_OBJECT

public:
    using ShowFile = std::function<void(const QString& path)>;

    DesktopNotices(QDBusConnection bus, ShowFile showFile, QObject* parent = nullptr);

    // Posts a notice; when filePath names a file, it offers "Show in folder".
    void post(const QString& summary, const QString& body, const QString& filePath = {});

private Q_SLOTS:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    ShowFile showFile_;
    std::map<uint, QString> filesOfNotices_;
};

} // namespace reelhound
