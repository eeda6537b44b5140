#include "app/DesktopProgress.h"

#include "app/DesktopIntegration.h"
#include "platform/Strings.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QLocale>
#include <QVariantMap>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace reelhound {

DesktopProgress::DesktopProgress(QWidget& window, QDBusConnection bus)
    : window_(window), bus_(std::move(bus)) {}

void DesktopProgress::setProgress(Work work, std::optional<double> percent) {
    (work == Work::Download ? download_ : conversion_) = percent;
    show();
}

void DesktopProgress::show() {
    const std::optional<double> percent = download_ ? download_ : conversion_;
    std::optional<int> whole;
    if (percent && std::isfinite(*percent))
        whole = static_cast<int>(std::clamp(*percent, 0.0, 100.0)); // 100 only when through
    if (whole == shown_)
        return;
    shown_ = whole;
    window_.setWindowTitle(whole ? QCoreApplication::translate("DesktopProgress", "%1 % – %2")
                                       .arg(QLocale().toString(*whole), applicationName())
                                 : applicationName());
    if (!bus_.isConnected())
        return;
    QDBusMessage update =
        QDBusMessage::createSignal(QStringLiteral("/net/reelhound/Reelhound/LauncherEntry"),
                                   QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                   QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), whole.value_or(0) / 100.0);
    properties.insert(QStringLiteral("progress-visible"), whole.has_value());
    update << QStringLiteral("application://%1.desktop").arg(QLatin1String(kDesktopId))
           << properties;
    bus_.send(update);
}

} // namespace reelhound
