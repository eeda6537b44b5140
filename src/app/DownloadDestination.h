#pragma once

#include "platform/PartialDataClaim.h"

#include <QObject>
#include <QString>
#include <memory>

class QLineEdit;
class QWidget;

namespace reelhound {

class DesktopServices;
class StatusReports;

// Where the next download goes: the field that shows it, the save panel that
// changes it, and the checks and questions before a download may write there.
class DownloadDestination : public QObject {
    Q_OBJECT

public:
    DownloadDestination(QLineEdit& field, QWidget& window, DesktopServices& desktop,
                        StatusReports& reports, QObject* parent = nullptr);

    static QString defaultPath();
    QString path() const;
    void showDefaultPath();

    // The save panel, starting at home; what opened it gets the keyboard back.
    void choose(QWidget& opener);
    void choiceDidEnd(int returnCode, const QString& path);

    // The kept data of a destination that can take the file, claimed so that
    // no other window writes there, once the person has agreed to replace a
    // file. Nothing when the download may not go there (the status line says
    // why) or waits for the panel the default's missing folder opened.
    std::unique_ptr<PartialDataClaim> confirm(QWidget& opener);

signals:
    // The panel a waiting download opened was confirmed: it can go on.
    void chosenForWaitingDownload();

private:
    void refuse(const QString& destination, const QString& words, const QString& logged);

    QLineEdit& field_;
    QWidget& window_;
    DesktopServices& desktop_;
    StatusReports& reports_;
    // The panel has asked about replacing a file at this path itself.
    QString pickedInPanel_;
    bool downloadWaits_ = false;
};

} // namespace reelhound
