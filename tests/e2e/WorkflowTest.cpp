#include "app/NetworkFixture.h"
#include "support/RunProgram.h"

#include <QSignalSpy>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace reelhound;
using reelhound::testing::waitForConversion;
using reelhound::testing::NetworkFixture;
using reelhound::testing::runEventLoopUntil;

using Workflow = NetworkFixture;
using reelhound::testing::contentsOf;

namespace {

// The container and the first audio codec of a file, as ffprobe sees them.
QString probe(const QString& path) {
    const auto result = reelhound::testing::runProgram(
        QStringLiteral("ffprobe"),
        {"-v", "error", "-show_entries", "format=format_name:stream=codec_name", "-select_streams",
         "a", "-of", "compact=p=0:nk=1", path});
    return QString::fromUtf8(result.standardOutput).simplified();
}

} // namespace

// From a pasted address to a converted file, against the local stand-in of the
// site, the real network stack, web engine and ffmpeg.
TEST_F(Workflow, pastedAddress_endsAsAConvertedFile) {
    launchWithShortLimits();
    QSignalSpy pageLoaded(controller->RLHDWebView(), &QWebEngineView::loadFinished);

    enterAddressAndGet(QStringLiteral("http://www.vistaro.com/watch?v=demo"));
    ASSERT_TRUE(pageLoaded.wait(30000));
    EXPECT_TRUE(pageLoaded.first().first().toBool());
    EXPECT_TRUE(runEventLoopUntil([&] {
        return controller->RLHDWebView()->title() == QStringLiteral("Vistaro player - demo");
    })) << controller->RLHDWebView()->title().toStdString();
    EXPECT_TRUE(site.requestedURLs().contains("http://www.vistaro.com/v/demo"));

    chooseDestination(destination(QStringLiteral("My Video.flv")));
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(waitForTransferOutcome());
    ASSERT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    EXPECT_EQ(contentsOf(destination(QStringLiteral("My Video.flv"))), site.videoFileContents());
    EXPECT_EQ(controller->convertFLVFilename(), destination(QStringLiteral("My Video.flv")));

    QComboBox* formats = ui().convertToDifferentFormatButton;
    for (const auto& [tag, container] : {std::pair{20, "mp4"}, std::pair{50, "asf"}}) {
        formats->setCurrentIndex(formats->findData(tag));
        ui().convertFLVButton->click();
        ASSERT_TRUE(waitForConversion(*controller));
        const QString extension = tag == 20 ? "mp4" : "wmv";
        const QString converted = destination(QStringLiteral("My Video.") + extension);
        const QString probed = probe(converted);
        EXPECT_TRUE(probed.contains("aac")) << probed.toStdString();
        EXPECT_TRUE(probed.contains(container)) << probed.toStdString();
        EXPECT_TRUE(ui().convertFLVProgressTextField->text().isEmpty());
        EXPECT_EQ(desktop.beeps, 0);
    }
}
