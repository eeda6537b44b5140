#pragma once

#include <QDBusConnection>
#include <QString>
#include <optional>

class QWidget;

namespace reelhound {

// The progress of the work that runs, where the desktop shows it: in the
// window's title ("42 % – Reelhound") and on the application's task bar
// entry (the launcher-entry signal that task bars and docks listen for). A
// download is shown before a conversion that runs beside it. Both are sent
// only when the whole percentage changes.
class DesktopProgress {
public:
    enum class Work { Download, Conversion };

    DesktopProgress(QWidget& window, QDBusConnection bus);

    // A percentage from 0 to 100; nothing when the work has ended or its
    // length is not known.
    void setProgress(Work work, std::optional<double> percent);

private:
    void show();

    QWidget& window_;
    QDBusConnection bus_;
    std::optional<double> download_;
    std::optional<double> conversion_;
    std::optional<int> shown_;
};

} // namespace reelhound
