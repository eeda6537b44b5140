#pragma once

#include "app/DesktopProgress.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QAbstractButton;
class QDBusConnection;
class QMainWindow;

namespace reelhound {

class DesktopNotices;
class DesktopServices;
class FocusKeeper;

// What the window tells of work that runs or has ended: the status line, its
// offer to show the file the work made, a desktop notice while the person
// looks elsewhere, and the progress on the task bar and in the title.
class StatusReports : public QObject {
    Q_OBJECT

public:
    StatusReports(QMainWindow& window, QAbstractButton& showInFolderLink, DesktopServices& desktop,
                  FocusKeeper& focus, QObject* parent = nullptr);
    ~StatusReports() override;

    void show(const QString& message);
    void clear();
    QString current() const;
    // The offer goes with the current message; an empty path withdraws it.
    void offerShowInFolder(const QString& path);
    void showFinishedFileInFolder();
    // Only while the window is not the active one: otherwise the status line says it.
    void announce(const QString& summary, const QString& body, const QString& path = {});
    void setProgress(DesktopProgress::Work work, std::optional<double> percent);
    // Where notices and the task bar's progress go; the session bus unless told.
    void useDesktopBus(const QDBusConnection& bus);

private:
    void useSessionBusUnlessTold();

    QMainWindow& window_;
    QAbstractButton& showInFolderLink_;
    DesktopServices& desktop_;
    FocusKeeper& focus_;
    QString finishedFile_;
    QString offeredWithMessage_;
    std::unique_ptr<DesktopNotices> notices_;
    std::unique_ptr<DesktopProgress> progress_;
};

} // namespace reelhound
