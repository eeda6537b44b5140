// What a hostile server or a hostile neighbour in the download folder can do:
// plant links where the download might write, and send text meant to forge or
// split log lines.
#include "app/NetworkFixture.h"
#include "platform/PartialData.h"
#include "platform/SystemLog.h"

#include <QRegularExpression>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace reelhound;
using reelhound::testing::runEventLoopUntil;
using reelhound::testing::kRetrySecond;
using reelhound::testing::NetworkFixture;
using reelhound::testing::RecordingDesktopServices;

using PartialFile = NetworkFixture;
using SystemLogLines = NetworkFixture;
using reelhound::testing::contentsOf;

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

// The kept data and its record have names anyone can predict: what is found
// there is never followed, read through or waited on, and the download
// fetches the whole file afresh.
TEST_F(PlantedLinks, atTheKeptDataAndItsRecord_areNeverFollowed) {
    struct Row {
        const char* name;
        const char* planted; // "link" to the victim, or "fifo"
        bool recordNamesTheVideo; // a true record beside it invites a continuation
    };
    const Row rows[] = {{".video.flv.part", "link", true},
                        {".video.flv.part", "link", false},
                        {".video.flv.part", "fifo", true},
                        {".video.flv.part.record", "link", false},
                        {".video.flv.part.record", "fifo", false}};
    launchWithShortLimits();
    chooseDestination(destination());
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + row.planted);
        QFile::remove(destination());
        if (QByteArray(row.planted) == "link")
            plant(QString::fromLatin1(row.name));
        else
            ASSERT_EQ(::mkfifo(QFile::encodeName(destination(row.name)).constData(), 0600), 0);
        if (row.recordNamesTheVideo) {
            const qint64 size = site.videoFileContents().size();
            ASSERT_TRUE(writePartialRecord(destination(),
                                           {"demo", {size, "\"test-pattern-1\""}, currentBootId(), 0}));
        }
        window->statusBar()->clearMessage();
        downloadVideo(QStringLiteral("demo"));
        ASSERT_EQ(statusMessage(), "Download finished: " + destination());
        EXPECT_TRUE(contentsOf(destination()) == site.videoFileContents());
        EXPECT_EQ(filesInDownloads(), QStringList{"video.flv"});
        expectVictimUntouched();
    }
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

TEST_F(PartialFile, partialData_liesBesideTheDestinationUnderAHiddenName) {
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
    // In the destination's folder, so the final rename stays on one file
    // system; hidden, and never under the destination's own name.
    open.removeDuplicates(); // the claim's descriptor and the transfer's
    EXPECT_EQ(open, QStringList{destination(".video.flv.part")});
    EXPECT_EQ(filesInDownloads(), (QStringList{".video.flv.part", ".video.flv.part.record"}));
    EXPECT_EQ(QFileInfo(destination(".video.flv.part.record")).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    ui().FLVGetFLVButton->click(); // cancel throws it away
    ASSERT_TRUE(waitForTransferOutcome());
    EXPECT_EQ(statusMessage(), "Download cancelled.");
    EXPECT_TRUE(filesInDownloads().isEmpty());
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
    void showAbout(QWidget* parent, const QString& title, const QString& text) override {
        recorded_.showAbout(parent, title, text);
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
