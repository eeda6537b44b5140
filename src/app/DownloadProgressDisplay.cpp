#include "app/DownloadProgressDisplay.h"

#include "app/DesktopProgress.h"
#include "app/StatusReports.h"
#include "app/widgets/CalmAccessibleName.h"
#include "app/widgets/ProgressIndicator.h"
#include "core/DownloadProgress.h"
#include "platform/Strings.h"

#include <QLabel>
#include <algorithm>

namespace reelhound {

DownloadProgressDisplay::DownloadProgressDisplay(ProgressIndicator& bar, QLabel& line,
                                                 StatusReports& reports, QObject* parent)
    : QObject(parent), bar_(bar), line_(line), reports_(reports) {
    countdown_.setInterval(1000);
    connect(&countdown_, &QTimer::timeout, this, &DownloadProgressDisplay::showCountdown);
}

void DownloadProgressDisplay::begin() {
    connections_ = 1;
    bar_.setHidden(false);
    line_.setHidden(false);
    bar_.setIndeterminate(false);
    bar_.setDoubleValue(0.0);
}

void DownloadProgressDisplay::restartCount() {
    bytesReceived_ = 0;
    rate_ = TransferRate{};
    clock_.start();
}

void DownloadProgressDisplay::bytesArrived(std::uint32_t length, std::int64_t expectedLength) {
    bytesReceived_ += length;
    const DownloadProgress progress = downloadProgress(bytesReceived_, expectedLength);
    if (progress.percent) {
        bar_.setIndeterminate(false);
        bar_.setDoubleValue(*progress.percent);
    } else if (!bar_.isIndeterminate()) {
        // No length announced: show activity rather than a made-up percentage.
        bar_.setIndeterminate(true);
        bar_.startAnimation();
    }
    line_.setText(downloadProgressLine(progress));
    lineTextChanged(line_);
    reports_.setProgress(DesktopProgress::Work::Download, progress.percent);
    showRate(expectedLength);
}

QString DownloadProgressDisplay::line() const {
    return line_.text();
}

void DownloadProgressDisplay::showRate(std::int64_t expectedLength) {
    // The figures change twice a second at most, as the rate is measured.
    if (!rate_.sample(bytesReceived_, static_cast<double>(clock_.elapsed()) / 1000.0))
        return;
    const auto rateLine = transferRateLine(rate_, bytesReceived_, expectedLength);
    if (!rateLine)
        return;
    const QString text = transferRateText(*rateLine);
    reports_.show(connections_ > 1 ? tr("%1 (%n connections)", nullptr, connections_).arg(text)
                                   : text);
}

void DownloadProgressDisplay::countDownTo(const DownloadRetry& retry) {
    pendingRetry_ = retry;
    nextTry_.setRemainingTime(std::chrono::seconds(retry.pauseSeconds));
    showCountdown();
    countdown_.start();
}

// The progress line and the status line say what was lost and, second by
// second, when the next try is.
void DownloadProgressDisplay::showCountdown() {
    const auto left = (nextTry_.remainingTime() + 999) / 1000;
    const QString text =
        tr("%1; retrying in %2 s (attempt %3 of %4)...")
            .arg(pendingRetry_.reason)
            .arg(std::min<qint64>(std::max<qint64>(left, 0), pendingRetry_.pauseSeconds))
            .arg(pendingRetry_.retry)
            .arg(pendingRetry_.retries);
    line_.setText(text);
    reports_.show(text);
    lineTextChanged(line_);
}

bool DownloadProgressDisplay::stopCountdown() {
    const bool wasRunning = countdown_.isActive();
    countdown_.stop();
    return wasRunning;
}

void DownloadProgressDisplay::end() {
    stopCountdown();
    reports_.setProgress(DesktopProgress::Work::Download, std::nullopt);
    reset();
}

void DownloadProgressDisplay::reset() {
    bar_.setHidden(true);
    line_.setHidden(true);
    bar_.setDoubleValue(0.0);
    bar_.stopAnimation();
}

} // namespace reelhound
