// What a hostile server or a hostile neighbour in the download folder can do:
// plant links where the download might write, and send text meant to forge or
// split log lines.
#include "app/NetworkFixture.h"
#include "platform/SystemLog.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace reelhound;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::kRetrySecond;
using reelhound::testing::NetworkFixture;
using reelhound::testing::RecordingDesktopServices;

using PartialFile = NetworkFixture;
using SystemLogLines = NetworkFixture;

namespace {

const QByteArray kVictimContents = "a file the download must never touch";

class PlantedLinks : public NetworkFixture {
protected:
    void SetUp() override {
        NetworkFixture::SetUp();
        ASSERT_TRUE(elsewhere.isValid());
        QFile file(victim());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kVictimContents);
    }

    QString victim() const { return elsewhere.filePath(QStringLiteral("victim.txt")); }

    void plant(const QString& name) { ASSERT_TRUE(QFile::link(victim(), destination(name))); }

    void expectVictimUntouched() {
        EXPECT_EQ(contentsOf(victim()), kVictimContents);
        EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"victim.txt"});
    }

    QTemporaryDir elsewhere;
};

TEST_F(PlantedLinks, atPredictableTemporaryNames_cannotRedirectTheWrite) {
    const QStringList names{"video.flv.part", "video.flv.tmp",      "video.flv~",
                            ".video.flv.swp", "video.flv.download", "video.flv.crdownload",
                            ".video.flv",     "video-1.flv",        "video.flv.XXXXXX"};
    for (const QString& name : names)
        plant(name);
    launchWithShortLimits();
    chooseDestination(destination());
    downloadVideo(QStringLiteral("demo"));

    ASSERT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    EXPECT_TRUE(contentsOf(destination()) == site.videoFileContents());
    expectVictimUntouched();
    for (const QString& name : names)
        EXPECT_EQ(QFileInfo(destination(name)).symLinkTarget(), victim()) << name.toStdString();
}

TEST_F(PlantedLinks, atTheDestination_isReplacedByTheFileNotFollowed) {
    plant(QStringLiteral("video.flv"));
    launchWithShortLimits();
    chooseDestination(destination());

    downloadVideo(QStringLiteral("dropped-0")); // a failure leaves the link as it was
    ASSERT_TRUE(statusMessage().startsWith("Download failed")) << statusMessage().toStdString();
    EXPECT_EQ(QFileInfo(destination()).symLinkTarget(), victim());
    expectVictimUntouched();

    window->statusBar()->clearMessage();
    downloadVideo(QStringLiteral("demo"));
    ASSERT_TRUE(statusMessage().startsWith("Download finished")) << statusMessage().toStdString();
    EXPECT_FALSE(QFileInfo(destination()).isSymLink());
    EXPECT_TRUE(contentsOf(destination()) == site.videoFileContents());
    EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
    expectVictimUntouched();
}

TEST_F(PartialFile, temporaryFile_liesBesideTheDestinationWithoutAName) {
    launchWithShortLimits();
    chooseDestination(destination());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=slow"));
    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(runEventLoopUntil([&] { return controller->bytesReceived() > 0; }));

    // What this process has open in the download folder while bytes arrive.
    QStringList open;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : descriptors.entryList(QDir::AllEntries | QDir::System)) {
        const QString target = QFile::symLinkTarget(descriptors.filePath(fd));
        if (target.startsWith(downloads.path() + '/'))
            open << target;
    }
    ASSERT_EQ(open.size(), 1) << open.join(' ').toStdString();
    // An unnamed file (O_TMPFILE) shows as "#inode (deleted)": it is in the
    // destination's folder, so the final rename stays on one file system, and
    // no name exists that anyone could open, predict or replace.
    EXPECT_TRUE(open[0].endsWith(" (deleted)")) << open[0].toStdString();
    EXPECT_EQ(QFileInfo(open[0]).path(), downloads.path());
    EXPECT_TRUE(filesInDownloads().isEmpty());

    ui().FLVGetFLVButton->click();
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(statusMessage(), "Download cancelled.");
}

// The real system log (standard error and syslog) behind the recorded services.
class SystemLogDesktop final : public DesktopServices {
public:
    explicit SystemLogDesktop(RecordingDesktopServices& recorded) : recorded_(recorded) {}

    void runAlert(const QString& title, const QString& message,
                  const QString& buttonTitle) override {
        recorded_.runAlert(title, message, buttonTitle);
    }
    bool runConfirmation(const QString& title, const QString& message, const QString& acceptTitle,
                         const QString& cancelTitle) override {
        return recorded_.runConfirmation(title, message, acceptTitle, cancelTitle);
    }
    void beep() override { recorded_.beep(); }
    void log(const QString& message) override {
        recorded_.log(message);
        writeSystemLogLine(message);
    }
    bool checkReachabilityByName(const char* host, std::uint32_t* flags) override {
        return recorded_.checkReachabilityByName(host, flags);
    }
    void beginSavePanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override {
        recorded_.beginSavePanel(parent, options, std::move(completion));
    }
    void beginOpenPanel(QWidget* parent, const FilePanelOptions& options,
                        FilePanelCompletion completion) override {
        recorded_.beginOpenPanel(parent, options, std::move(completion));
    }
    void showInFolder(const QString& path) override { recorded_.showInFolder(path); }
    void beginProxyCredentialsPanel(QWidget* parent, const ProxyCredentialsQuestion& question,
                                    ProxyCredentialsCompletion completion) override {
        recorded_.beginProxyCredentialsPanel(parent, question, std::move(completion));
    }

private:
    RecordingDesktopServices& recorded_;
};

// Standard error goes to a file while it lives.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        if (!file_.open())
            return;
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        dup2(file_.handle(), STDERR_FILENO);
    }
    ~StandardErrorCapture() { restore(); }

    QStringList lines() {
        restore();
        file_.seek(0);
        return QString::fromUtf8(file_.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }

    QTemporaryFile file_;
    int saved_ = -1;
};

TEST_F(SystemLogLines, textFromOutside_staysOneEscapedLineInTheSystemLog) {
    SystemLogDesktop systemLog(desktop);
    preferences = std::make_unique<Preferences>(settingsPath());
    LaunchedApplication launched = launchApplication(systemLog, *preferences);
    controller = std::move(launched.controller);
    window = std::move(launched.window);
    ApplicationController::TransferLimits limits; // the 503 is retried first
    limits.download.retryPauseUnit = kRetrySecond;
    controller->setTransferLimits(limits);
    // A file name may hold a line break and an escape; so may a reason phrase.
    const QString destinationName = QStringLiteral("two\nlines\x1b[31m.flv");
    chooseDestination(destination(destinationName));

    QStringList lines;
    {
        StandardErrorCapture capture;
        downloadVideo(QStringLiteral("hostile-reason"));
        lines = capture.lines();
    }
    ASSERT_TRUE(statusMessage().startsWith("Download failed")) << statusMessage().toStdString();

    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} Reelhound\\[%1\\] ")
            .arg(QCoreApplication::applicationPid()));
    const QStringList ours = lines.filter(stamp);
    EXPECT_EQ(ours.size(), desktop.logLines.size()) << lines.join("\n| ").toStdString();
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains(u'\x1b') || line.contains(u'\x07') || line.contains(u'\r'))
            << line.toStdString();
    }
    const QString loggedDestination = "] " + downloads.path() + "/two\\nlines\\x1b[31m.flv";
    EXPECT_EQ(std::count_if(ours.begin(), ours.end(),
                            [&](const QString& line) { return line.endsWith(loggedDestination); }),
              1)
        << lines.join("\n| ").toStdString();
    EXPECT_EQ(ours.filter(QStringLiteral("Download failed! Error - The server answered 503 "
                                         "Busy\\x1b[2J\\x1b[31m %s%n%1 now\\x07\\x7f. http://"))
                  .size(),
              1)
        << lines.join("\n| ").toStdString();
    EXPECT_FALSE(QFileInfo::exists(destination(destinationName)));
}

} // namespace
