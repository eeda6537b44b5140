#include "app/NetworkFixture.h"
#include "core/DirectLink.h"
#include "core/DownloadProgress.h"

#include <QTest>

using namespace reelhound;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::NetworkFixture;
using reelhound::testing::waitForLinkLookup;

using VideoDownload = NetworkFixture;
using DestinationChoice = NetworkFixture;
using reelhound::testing::contentsOf;
using reelhound::testing::writeFile;

namespace {

const QByteArray kEarlierContents = "an earlier download that must survive";

} // namespace

TEST_F(VideoDownload, finishedDownload_writesTheServedBytesAndUnlocksConversion) {
    launchWithShortLimits();
    chooseDestination(destination());
    writeFile(destination(), kEarlierContents); // replaced by the download
    downloadVideo(QStringLiteral("demo"));

    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"}); // no temporary file left
    EXPECT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();

    // The download-finished state.
    EXPECT_EQ(ui().convertFLVFilenameTextField->text(), destination());
    EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    EXPECT_TRUE(ui().videoSizeButton->isEnabled());
    EXPECT_TRUE(ui().convertToDifferentFormatButton->isEnabled());
    EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());
    EXPECT_TRUE(ui().downloadFLVProgressIndicator->isHidden());
    EXPECT_TRUE(ui().downloadProgressTextField->isHidden());
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 0.0);
    EXPECT_EQ(controller->downloadRequestType(), kRequestTypeVideo);
    EXPECT_EQ(controller->bytesReceived(), site.videoFileContents().size());
    EXPECT_EQ(ui().downloadProgressTextField->text(),
              QStringLiteral("received %1 bytes / 100.00 percent complete")
                  .arg(site.videoFileContents().size()));

    EXPECT_TRUE(desktop.logContains(
        "Download did begin... http://www.vistaro.com/get_video?video_id=demo"));
    EXPECT_TRUE(desktop.logLines.contains(destination()));
    EXPECT_TRUE(desktop.logLines.contains("Download complete..."));
    EXPECT_TRUE(desktop.alerts.empty());
}

TEST_F(VideoDownload, convertWhenTheDownloadFinishes_convertsTheFileAndIsRemembered) {
    launchWithShortLimits();
    EXPECT_FALSE(ui().convertWhenDownloadedCheckBox->isChecked()); // off unless turned on
    ui().convertWhenDownloadedCheckBox->click();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo"));
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->activities().converting; }));
    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
    ASSERT_TRUE(reelhound::testing::waitForConversion(*controller));
    EXPECT_EQ(statusMessage(), "Converted: " + destination("video.mov"));
    EXPECT_TRUE(QFileInfo(destination("video.mov")).size() > 0);

    relaunch();
    EXPECT_TRUE(ui().convertWhenDownloadedCheckBox->isChecked());
}

TEST_F(VideoDownload, bothDownloadActions_askTheSameQueryAndWriteTheSameFile) {
    launchWithShortLimits();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo&feature=x"));
    chooseDestination(destination());
    controller->downloadFLV();
    ASSERT_TRUE(waitForTransferOutcome());
    const QByteArray first = contentsOf(destination());
    const QStringList firstRequests = site.requestedURLs();

    window->statusBar()->clearMessage();
    controller->downloadMP4();
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(contentsOf(destination()), first);

    const QString query = QString::fromStdString(serviceQueryURL("demo&feature=x"));
    EXPECT_TRUE(query.endsWith("%2Fwatch%3Fv%3Ddemo&feature=x"));
    EXPECT_EQ(site.requestedURLs().count(query), 2);
    EXPECT_EQ(firstRequests.count(query), 1);
}

// Each fault of the video transfer, from the download's failure up to the
// window: one failure, its reason in plain words, the earlier file untouched
// and the controls back as before.
struct TransferFault {
    const char* videoId;
    const char* reason; // part of the download's description of the failure
};

void PrintTo(const TransferFault& fault, std::ostream* out) {
    *out << fault.videoId;
}

class FailedTransfer : public NetworkFixture, public ::testing::WithParamInterface<TransferFault> {};

TEST_P(FailedTransfer, leavesTheEarlierFileRestoresTheControlsAndSaysWhy) {
    const TransferFault& fault = GetParam();
    launchWithShortLimits();
    chooseDestination(destination());
    writeFile(destination(), kEarlierContents);
    downloadVideo(QString::fromLatin1(fault.videoId));
    QTest::qWait(50); // nothing may follow the failure

    EXPECT_TRUE(statusMessage().startsWith("Download failed: ")) << statusMessage().toStdString();
    EXPECT_TRUE(statusMessage().contains(QLatin1String(fault.reason)))
        << statusMessage().toStdString();
    EXPECT_EQ(contentsOf(destination()), kEarlierContents);
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
    EXPECT_TRUE(ui().downloadFLVProgressIndicator->isHidden());
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 0.0);
    EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_TRUE(ui().convertFLVFilenameTextField->text().isEmpty()); // nothing handed over
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());
    // The download began, then ended exactly once, in a failure naming the
    // address that failed.
    const QStringList began = desktop.logLines.filter("Download did begin...");
    const QStringList failed = desktop.logLines.filter("Download did fail with error...");
    ASSERT_EQ(began.size(), 1);
    EXPECT_EQ(failed.size(), 1);
    EXPECT_LT(desktop.logLines.indexOf(began.front()), desktop.logLines.indexOf(failed.value(0)));
    EXPECT_TRUE(desktop.logLines.filter("Download complete...").isEmpty());
    const QString prefix = QStringLiteral("Download failed! Error - ") +
                           statusMessage().mid(QStringLiteral("Download failed: ").size()) + u' ';
    const QStringList detail = desktop.logLines.filter(prefix);
    ASSERT_EQ(detail.size(), 1);
    EXPECT_FALSE(detail.front().mid(prefix.size()).trimmed().isEmpty()); // the failing address
    EXPECT_TRUE(desktop.alerts.empty());
    EXPECT_EQ(desktop.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    StubSiteFaults, FailedTransfer,
    ::testing::Values(TransferFault{"missing", "The server answered 404 Not Found."},
                      TransferFault{"server-error", "The server answered 500 Internal Server Error."},
                      // Drops and stalls that pass are in InterruptedDownload.
                      TransferFault{"dropped-0", "closed before the whole file arrived"},
                      TransferFault{"redirect-file", "not a web address"},
                      TransferFault{"redirect-loop", "too many times"}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.videoId);
        return name.remove(u'-').toStdString();
    });

TEST_F(VideoDownload, serviceWithoutALink_startsNothingAndSaysWhy) {
    launchWithShortLimits();
    chooseDestination(destination());
    for (const char* fault : {"no-prefix", "no-terminator", "service-error", "no-answer"}) {
        SCOPED_TRACE(fault);
        enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + fault);
        const auto alertsBefore = desktop.alerts.size();
        const auto queriesBefore = site.requestedURLs().filter("linkservice").size();
        ui().FLVGetFLVButton->click();
        ASSERT_TRUE(waitForLinkLookup(*controller));

        ASSERT_EQ(desktop.alerts.size(), alertsBefore + 1);
        EXPECT_EQ(desktop.alerts.back().title, "Reelhound");
        EXPECT_FALSE(desktop.alerts.back().message.isEmpty());
        EXPECT_EQ(site.requestedURLs().filter("linkservice").size(), queriesBefore + 1);
        EXPECT_TRUE(site.requestedURLs().filter("get_video").isEmpty()); // no transfer
        EXPECT_EQ(controller->downloadRequestType(), kRequestTypePage);
        EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
        EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
        EXPECT_FALSE(QFile::exists(destination()));
    }
}

TEST_F(VideoDownload, downloadBeforeAnyAddress_asksForOneAndQueriesNothing) {
    launchWithShortLimits();
    controller->downloadFLV();
    ASSERT_EQ(desktop.alerts.size(), 1u);
    EXPECT_TRUE(desktop.alerts[0].message.contains("address"));
    EXPECT_TRUE(site.requestedURLs().isEmpty());
}

TEST_F(VideoDownload, cancelDuringASlowBody_endsAtOnceAndSparesTheNextTransfer) {
    launchWithShortLimits();
    chooseDestination(destination());
    writeFile(destination(), kEarlierContents);
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow"));
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }));
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "Cance&l");
    EXPECT_FALSE(ui().URLGetURLButton->isEnabled());
    EXPECT_TRUE(ui().recentURLPopUpButton->isEnabled());

    ui().FLVGetFLVButton->click(); // the button now cancels, at once
    EXPECT_EQ(statusMessage(), "Download cancelled.");
    EXPECT_EQ(controller->shouldCancelDownload(), 0);

    // The bar is reset as after a failure; the hidden line keeps the last count.
    const auto expected = controller->downloadResponse()->expectedContentLength;
    const auto progress = downloadProgress(controller->bytesReceived(), expected);
    EXPECT_TRUE(ui().downloadFLVProgressIndicator->isHidden());
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 0.0);
    EXPECT_EQ(ui().downloadProgressTextField->text(), QString::fromStdString(progress.text));
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());

    // Nothing of the cancelled transfer is on disk, and nothing more arrives.
    const auto countAfterCancel = controller->bytesReceived();
    QTest::qWait(300);
    EXPECT_EQ(controller->bytesReceived(), countAfterCancel);
    EXPECT_EQ(contentsOf(destination()), kEarlierContents);
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});

    window->statusBar()->clearMessage();
    downloadVideo(QStringLiteral("demo"));
    EXPECT_TRUE(statusMessage().startsWith("Download finished"));
    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
}

TEST_F(VideoDownload, cancelRequestedAtTheVeryEnd_doesNotCancelTheNextTransfer) {
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo"));
    ui().FLVGetFLVButton->click();
    controller->cancelDownload(); // before any chunk: the finish may come first
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(controller->shouldCancelDownload(), 0);
    window->statusBar()->clearMessage();
    downloadVideo(QStringLiteral("demo"));
    EXPECT_TRUE(statusMessage().startsWith("Download finished"));
}

TEST_F(VideoDownload, unknownLength_countsBytesWithoutAPercentage) {
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=chunked"));
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }));
    if (!downloadControlsIdle()) {
        EXPECT_TRUE(ui().downloadFLVProgressIndicator->isIndeterminate());
    }
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_TRUE(statusMessage().startsWith("Download finished"));
    EXPECT_EQ(controller->downloadResponse()->expectedContentLength, -1);
    EXPECT_EQ(ui().downloadProgressTextField->text(),
              QStringLiteral("received %1 bytes").arg(site.videoFileContents().size()));
    EXPECT_EQ(contentsOf(destination()), site.videoFileContents());
}

TEST_F(VideoDownload, progressCallbacks_followTheSinglePrecisionArithmetic) {
    launchWithShortLimits();
    chooseDestination(destination());
    downloadVideo(QStringLiteral("demo")); // leaves the request type at video

    struct IdleDelegate final : DownloadDelegate {
        void downloadDidBegin(Download&) override {}
        void downloadDidReceiveResponse(Download&, const DownloadResponse&) override {}
        void downloadDecideDestinationWithSuggestedFilename(Download&, const QString&) override {}
        void downloadDidCreateDestination(Download&, const QString&) override {}
        bool downloadShouldDecodeSourceDataOfMIMEType(Download&, const QString&) override {
            return false;
        }
        void downloadDidReceiveDataOfLength(Download&, std::uint32_t) override {}
        void downloadDidFinish(Download&) override {}
        void downloadDidFailWithError(Download&, const DownloadError&) override {}
    } idle;
    Download* download = Download::create(QUrl("http://www.vistaro.com/unused"), idle);
    ASSERT_NE(download, nullptr);

    DownloadResponse response;
    response.expectedContentLength = 3;
    controller->downloadDidReceiveResponse(*download, response);
    controller->downloadDidReceiveDataOfLength(*download, 1);
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 33.333335876464844);
    EXPECT_EQ(ui().downloadProgressTextField->text(), "received 1 bytes / 33.33 percent complete");

    response.expectedContentLength = 4096; // a second response starts the count again
    controller->downloadDidReceiveResponse(*download, response);
    controller->downloadDidReceiveDataOfLength(*download, 512);
    EXPECT_EQ(ui().downloadFLVProgressIndicator->doubleValue(), 12.5);
    EXPECT_EQ(ui().downloadProgressTextField->text(),
              "received 512 bytes / 12.50 percent complete");
    controller->downloadDidReceiveDataOfLength(*download, 8192);
    EXPECT_GT(ui().downloadFLVProgressIndicator->doubleValue(), 100.0); // not clamped

    EXPECT_TRUE(
        controller->downloadShouldDecodeSourceDataOfMIMEType(*download, "application/macbinary"));
    EXPECT_TRUE(
        controller->downloadShouldDecodeSourceDataOfMIMEType(*download, "application/binhex"));
    EXPECT_FALSE(
        controller->downloadShouldDecodeSourceDataOfMIMEType(*download, "application/gzip"));
    EXPECT_FALSE(
        controller->downloadShouldDecodeSourceDataOfMIMEType(*download, "application/BinHex"));

    // A page-type transfer only logs its chunks.
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=page"));
    const auto count = controller->bytesReceived();
    controller->downloadDidReceiveDataOfLength(*download, 1024);
    EXPECT_EQ(desktop.logLines.back(), "Download received 1024 bytes...\n");
    EXPECT_EQ(controller->bytesReceived(), count);
    download->cancel();
}

TEST_F(DestinationChoice, savePanel_startsAtHomeAndOnlyAConfirmationChangesTheField) {
    launchWithShortLimits();
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=demo"));
    const QString defaultPath = ui().downloadDestinationTextField->text();

    ui().downloadDestinationSelectButton->click();
    ASSERT_TRUE(desktop.savePanel.has_value());
    EXPECT_EQ(desktop.savePanel->options.title, "Save Vistaro video to file...");
    EXPECT_EQ(desktop.savePanel->options.requiredFileType, "flv");
    EXPECT_FALSE(desktop.savePanel->options.allowsOtherFileTypes);
    EXPECT_EQ(desktop.savePanel->options.directory, QDir::homePath());
    EXPECT_TRUE(desktop.savePanel->options.fileName.isEmpty());
    EXPECT_EQ(desktop.savePanel->parent, window.get());
    desktop.answerSavePanel(0);
    EXPECT_EQ(ui().downloadDestinationTextField->text(), defaultPath);

    chooseDestination(destination("elsewhere.flv"));
    EXPECT_EQ(controller->destinationFilename(), destination("elsewhere.flv"));
    ui().downloadDestinationSelectButton->click();
    EXPECT_EQ(desktop.savePanel->options.directory, QDir::homePath()); // not the last folder
    desktop.answerSavePanel(0);
    EXPECT_EQ(controller->destinationFilename(), destination("elsewhere.flv"));

    relaunch();
    EXPECT_EQ(controller->destinationFilename(), defaultPath);
}
