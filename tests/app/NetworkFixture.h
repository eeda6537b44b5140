#pragma once

#include "app/ApplicationFixture.h"
#include "support/ActivityWaits.h"
#include "support/EventLoop.h"
#include "support/Files.h"
#include "support/StubSiteFixture.h"

#include <QDir>
#include <QFile>
#include <QStatusBar>
#include <functional>

namespace reelhound::testing {

// What a second of a retry pause lasts in tests: long enough to be seen,
// short enough that five retries cost no time.
inline constexpr std::chrono::milliseconds kRetrySecond(20);

// The application with the local stand-in of the site as its proxy and a
// throw-away folder for downloads.
class NetworkFixture : public StubSiteFixture<ApplicationFixture> {
protected:
    void SetUp() override {
        StubSiteFixture::SetUp();
        ASSERT_TRUE(downloads.isValid());
    }

    void launchWithShortLimits() {
        launch();
        ApplicationController::TransferLimits limits;
        limits.download.stallTimeout = std::chrono::milliseconds(1500);
        limits.download.retryPauseUnit = kRetrySecond;
        limits.pageFetchTimeout = std::chrono::milliseconds(1500);
        controller->setTransferLimits(limits);
    }

    QString destination(const QString& name = QStringLiteral("video.flv")) const {
        return downloads.filePath(name);
    }

    // As the save panel's confirmation would, whether or not its button is on.
    void chooseDestination(const QString& path) { controller->saveDestinationFilenameDidEnd(1, path); }

    bool downloadControlsIdle() { return ui().FLVGetFLVButton->text() == "&Download FLV"; }

    // Takes the address, starts the download and waits until it has ended.
    void downloadVideo(const QString& videoId) {
        enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + videoId);
        ui().FLVGetFLVButton->click();
        ASSERT_TRUE(waitForTransferOutcome());
    }

    // The status bar tells how each transfer ended.
    // Generous: a download that runs out of its retries tries 41 times, and
    // a sanitized build on a busy machine needs a good part of a second for each.
    bool waitForTransferOutcome(int milliseconds = 90000) {
        return runEventLoopUntil(
            [&] {
                const QString message = statusMessage();
                return message.startsWith("Download finished") ||
                       message.startsWith("Download failed") ||
                       message.startsWith("Download cancelled");
            },
            milliseconds);
    }

    QStringList filesInDownloads() const {
        return QDir(downloads.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QString statusMessage() { return window->statusBar()->currentMessage(); }

    QTemporaryDir downloads;
};

} // namespace reelhound::testing
