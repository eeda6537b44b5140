#pragma once

#include "core/TransferRate.h"
#include "platform/Download.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

class QLabel;

namespace reelhound {

class ProgressIndicator;
class StatusReports;

// How far the download has got: its bar and progress line, the speed and
// time left in the status line while a file arrives, and the countdown to
// the next try after a connection was lost.
class DownloadProgressDisplay : public QObject {
    Q_OBJECT

public:
    DownloadProgressDisplay(ProgressIndicator& bar, QLabel& line, StatusReports& reports,
                            QObject* parent = nullptr);

    // The bar and the line show, at nothing yet.
    void begin();
    // A response starts the count again.
    void restartCount();
    // How many connections fetch the file now; the status line names them
    // when there are several.
    void setConnections(int connections) { connections_ = connections; }
    // expectedLength is -1 when the server did not announce one.
    void bytesArrived(std::uint32_t length, std::int64_t expectedLength);
    std::int64_t bytesReceived() const { return bytesReceived_; }
    QString line() const;

    void countDownTo(const DownloadRetry& retry);
    // True when a countdown ran: the connection is back.
    bool stopCountdown();
    // The bar and the line hidden and back at nothing, for the next download.
    void reset();
    // The same once the download has ended, with its countdown and its
    // progress on the desktop.
    void end();

private:
    void showCountdown();
    void showRate(std::int64_t expectedLength);

    ProgressIndicator& bar_;
    QLabel& line_;
    StatusReports& reports_;
    // 64-bit, so that files past 2 GiB count correctly.
    std::int64_t bytesReceived_ = 0;
    TransferRate rate_;
    int connections_ = 1;
    QElapsedTimer clock_; // since the response of the current transfer
    DownloadRetry pendingRetry_;
    QDeadlineTimer nextTry_;
    QTimer countdown_;
};

} // namespace reelhound
