// Faults of the network, met through the real window and controller (those of
// the destination are in TruthfulOutcomesTest.cpp). Faults the app suite
// already meets (404, 500, a drop at half the file, a stall, a redirect to a
// file address or in a loop, no length, a service page without the link, a
// cancelled slow body) are not repeated here.
#include "app/NetworkFixture.h"
#include "core/DirectLink.h"
#include "platform/Strings.h"

#include <QElapsedTimer>
#include <QTcpServer>

using namespace reelhound;
using reelhound::testing::NetworkFixture;
using reelhound::testing::waitForLinkLookup;

using Redirects = NetworkFixture;
using reelhound::testing::contentsOf;
using reelhound::testing::writeFile;

namespace {

const QByteArray kEarlierContents = "an earlier download that must survive";

enum class Target {
    EarlierFile, // video.flv, holding an earlier download
};

struct TransferFault {
    const char* name;
    const char* videoId;
    Target target;
    const char* status; // how the status line begins
    const char* reason; // what it says further on
};

void PrintTo(const TransferFault& fault, std::ostream* out) {
    *out << fault.name;
}

// Every entry of a folder with what it holds, to compare before and after.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> entries;
    const QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QFile file(entry.filePath());
        entries.insert(entry.fileName(), entry.isFile() && file.open(QIODevice::ReadOnly)
                                             ? file.readAll()
                                             : QByteArray("<not a file>"));
    }
    return entries;
}

class TransferFaults : public NetworkFixture, public ::testing::WithParamInterface<TransferFault> {
protected:
    QString prepareTarget(Target target) {
        switch (target) {
        case Target::EarlierFile:
            writeFile(destination(), kEarlierContents);
            return destination();
        }
        return {};
    }
};

TEST_P(TransferFaults, endWithTheServedBytesOrWhatWasThereBefore) {
    const TransferFault& fault = GetParam();
    launchWithShortLimits();
    const QString target = prepareTarget(fault.target);
    const auto before = snapshot(downloads.path());
    chooseDestination(target);
    downloadVideo(QString::fromLatin1(fault.videoId));

    const QString status = statusMessage();
    EXPECT_TRUE(status.startsWith(QLatin1String(fault.status))) << status.toStdString();
    EXPECT_TRUE(status.contains(QLatin1String(fault.reason))) << status.toStdString();
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());
    EXPECT_TRUE(ui().downloadFLVProgressIndicator->isHidden());
    EXPECT_TRUE(desktop.alerts.empty());
    EXPECT_TRUE(desktop.logContains(QStringLiteral("Download did begin... ") +
                                    StubSite::directVideoURL(QLatin1String(fault.videoId)) + '&'));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/sys/video.flv")));

    if (status.startsWith(u"Download finished")) {
        EXPECT_TRUE(desktop.logLines.contains("Download complete..."));
        EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
        EXPECT_TRUE(contentsOf(target) == site.videoFileContents());
        EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    } else {
        const QString reason = status.mid(QStringLiteral("Download failed: ").size());
        EXPECT_TRUE(desktop.logContains(QStringLiteral("Download failed! Error - ") + reason));
        EXPECT_EQ(snapshot(downloads.path()), before);
        EXPECT_FALSE(ui().convertFLVButton->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, TransferFaults,
    ::testing::Values(
        // A drop is continued where it happened.
        TransferFault{"droppedAt1Percent", "dropped-1", Target::EarlierFile,
                      "Download finished: ", "video.flv"},
        TransferFault{"droppedAt99Percent", "dropped-99", Target::EarlierFile,
                      "Download finished: ", "video.flv"},
        TransferFault{"redirectChain", "redirects-5", Target::EarlierFile,
                      "Download finished: ", "video.flv"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Redirects, redirectChain_isFollowedHopByHop) {
    launchWithShortLimits();
    chooseDestination(destination());
    downloadVideo(QStringLiteral("redirects-5"));
    ASSERT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    const QStringList videos = site.requestedURLs().filter("get_video");
    ASSERT_EQ(videos.size(), 6) << videos.join(' ').toStdString();
    EXPECT_TRUE(videos[1].endsWith("video_id=redirects-4")); // after a 301, then 308, 307, 303, 302
    EXPECT_TRUE(videos[5].endsWith("video_id=redirects-0"));
    EXPECT_EQ(controller->downloadResponse()->HTTPStatus, 200);
}

struct ServiceFault {
    const char* name;
    const char* videoId;
    const char* reason; // the alert and the log say this
    bool refuseConnections = false;
};

void PrintTo(const ServiceFault& fault, std::ostream* out) {
    *out << fault.name;
}

class ServiceFaults : public NetworkFixture, public ::testing::WithParamInterface<ServiceFault> {};

TEST_P(ServiceFaults, areRefusedWithAClearMessageAndStartNoTransfer) {
    const ServiceFault& fault = GetParam();
    launch();
    ApplicationController::TransferLimits limits; // the huge page takes a while to refuse
    limits.pageFetchTimeout = std::chrono::seconds(10);
    controller->setTransferLimits(limits);
    chooseDestination(destination());
    writeFile(destination(), kEarlierContents);
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + fault.videoId);
    if (fault.refuseConnections) {
        QTcpServer closed; // a port that was free a moment ago and has nobody listening now
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), port));
    }
    QElapsedTimer clock;
    clock.start();
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(waitForLinkLookup(*controller));

    EXPECT_LT(clock.elapsed(), 10000);
    ASSERT_EQ(desktop.alerts.size(), 1u);
    const QString message = desktop.alerts[0].message;
    EXPECT_TRUE(message.startsWith("The link service could not be asked for the video file. "))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(fault.reason))) << message.toStdString();
    const QString query = toQt(serviceQueryURL(fault.videoId));
    EXPECT_TRUE(desktop.logContains(QStringLiteral("Link service query %1 failed: ").arg(query)));
    EXPECT_TRUE(site.requestedURLs().filter("get_video").isEmpty());
    EXPECT_TRUE(statusMessage().isEmpty());
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_TRUE(ui().URLGetURLButton->isEnabled());
    EXPECT_EQ(controller->downloadRequestType(), kRequestTypePage);
    EXPECT_EQ(contentsOf(destination()), kEarlierContents);
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, ServiceFaults,
    ::testing::Values(ServiceFault{"hugePage", "huge-page", "The page is larger than 16"},
                      ServiceFault{"binaryPage", "binary-page", "is not UTF-8 text."},
                      ServiceFault{"latin1Page", "latin1-page", "is not UTF-8 text."},
                      ServiceFault{"refusedConnection", "demo", "refused the connection.", true}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
