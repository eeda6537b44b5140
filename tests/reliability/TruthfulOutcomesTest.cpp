// What the person is told matches what is on the disk: a broken file is never
// reported as done, no file is replaced without a yes, and a destination that
// cannot take the file is refused before anything is fetched. Conversions run
// in the application's own process (tests/reliability/driver) so that a file
// size limit and a kill from outside hit only them; downloads run here against
// the local stand-in of the site.
#include "app/NetworkFixture.h"
#include "reliability/DriverProcess.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <sys/mount.h>
#include <unistd.h>

using namespace reelhound;
using namespace reelhound::testing;

namespace {

const QByteArray kEarlierContents = "an earlier file that must survive";

// "<none>" tells a missing file from an empty one.
QByteArray fileContents(const QString& path) {
    return QFileInfo::exists(path) ? contentsOf(path) : QByteArray("<none>");
}

// The names in a folder, hidden ones (a temporary file or folder) included.
QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString replaceQuestion(const QString& path) {
    const QFileInfo file(path);
    return QStringLiteral("A file named %1 already exists in %2. Replace it?")
        .arg(file.fileName(), file.absolutePath());
}

// ---------------------------------------------------------------------------
// Converter outcomes

enum class Converter { Real, Scripted };
enum class Output { Earlier, Converted, None }; // what is at the output's name afterwards

struct ConversionCase {
    const char* name;
    Converter converter;
    const char* script;  // the scripted converter's source file
    bool earlierOutput;  // the output's name holds a file before the run
    const char* answer;  // to the question whether to replace it
    QStringList options; // for the driver
    bool smallDisk;      // the folder is a file system too small for the output
    const char* status;  // the status line afterwards; OUTPUT stands for the output path
    Output output;
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.name;
}

class ConverterOutcomes : public ::testing::TestWithParam<ConversionCase> {
protected:
    void TearDown() override {
        if (mounted_)
            ::umount2(QFile::encodeName(folder()).constData(), MNT_DETACH);
    }

    QString folder() const { return tree_.filePath(QStringLiteral("clips")); }

    // A tmpfs that holds the source and a little more; false when this
    // process may not mount one.
    bool mountSmallDisk(qint64 sourceSize) {
        const QByteArray size = "size=" + QByteArray::number(sourceSize + 48 * 1024);
        mounted_ = ::mount("tmpfs", QFile::encodeName(folder()).constData(), "tmpfs", 0,
                           size.constData()) == 0;
        return mounted_;
    }

    DriverTree tree_;
    bool mounted_ = false;
};

TEST_P(ConverterOutcomes, tellWhatHappenedAndKeepTheEarlierFileUnlessReplacedByAWholeOne) {
    const ConversionCase& c = GetParam();
    ASSERT_TRUE(tree_.create());
    ASSERT_TRUE(QDir(tree_.filePath(QString())).mkdir(QStringLiteral("clips")));
    const QString realSource = StubSite().videoFilePath();
    ASSERT_FALSE(realSource.isEmpty());
    if (c.smallDisk && !mountSmallDisk(QFileInfo(realSource).size()))
        GTEST_SKIP() << "no tmpfs can be mounted here";
    if (c.converter == Converter::Real) {
        ASSERT_TRUE(QFile::link(QStandardPaths::findExecutable(QStringLiteral("ffmpeg")),
                                tree_.converterPath()));
    } else {
        ASSERT_TRUE(tree_.useScriptedConverter());
    }
    const QString source = folder() + QStringLiteral("/clip.flv");
    const QString output = folder() + QStringLiteral("/clip.avi");
    if (c.converter == Converter::Real)
        ASSERT_TRUE(QFile::copy(realSource, source));
    else
        writeFile(source, c.script);
    if (c.earlierOutput)
        writeFile(output, kEarlierContents);

    QStringList arguments{QStringLiteral("convert"), source, QStringLiteral("30")};
    arguments << c.options;
    if (c.answer != nullptr)
        arguments << QStringLiteral("--answer") << QString::fromLatin1(c.answer);
    const DriverOutput run = runDriver(tree_.executable(), arguments, 120000);
    ASSERT_EQ(run.exitCode, 0) << run.raw.toStdString();

    const QString status = QString::fromUtf8(c.status).replace(QStringLiteral("OUTPUT"), output);
    EXPECT_EQ(run.value("status"), status) << run.raw.toStdString();
    EXPECT_EQ(run.values("question"),
              c.earlierOutput ? QStringList{replaceQuestion(output)} : QStringList{});
    const bool failed = status.startsWith(u"Conversion failed");
    EXPECT_EQ(run.value("beeps"), failed ? "1" : "0");
    if (failed) {
        EXPECT_EQ(run.value("conversion-text"), status);
    }
    const bool started = c.answer == nullptr || QLatin1String(c.answer) == u"replace";
    EXPECT_EQ(run.values("converter-pid").size(), started ? 1 : 0);
    if (started) {
        EXPECT_EQ(run.value("disabled"), "") << "every control is released after the run";
    }

    // No temporary file or folder is left, whatever happened.
    QStringList expected{QStringLiteral("clip.flv")};
    if (c.output != Output::None)
        expected.prepend(QStringLiteral("clip.avi"));
    EXPECT_EQ(entriesOf(folder()), expected);
    if (c.output == Output::Earlier) {
        EXPECT_EQ(fileContents(output), kEarlierContents);
    }
    if (c.output == Output::Converted) {
        EXPECT_TRUE(fileContents(output).startsWith("RIFF")) << "a whole AVI file";
        EXPECT_GT(QFileInfo(output).size(), 10000);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, ConverterOutcomes,
    ::testing::Values(
        // ffmpeg says "No space left on device" and exits with 0.
        ConversionCase{"diskFull",
                       Converter::Real,
                       "",
                       true,
                       "replace",
                       {},
                       true,
                       "Conversion failed: The disk is full.",
                       Output::Earlier},
        ConversionCase{"fileSizeLimit",
                       Converter::Real,
                       "",
                       false,
                       nullptr,
                       {"--file-size-limit", "65536"},
                       false,
                       "Conversion failed: The file grew larger than the system allows.",
                       Output::None},
        // Killed after its banner and a part of the output.
        ConversionCase{"killedBySignal",
                       Converter::Scripted,
                       "err=ffmpeg version 5.1\\n  libpostproc    56.  6.100 / 56.  6.100\\n\n"
                       "write-output=5000\nsleep=60000\n",
                       true,
                       "replace",
                       {"--kill-converter-after", "300"},
                       false,
                       "Conversion failed: The converter was stopped by signal 9.",
                       Output::Earlier},
        ConversionCase{"existingOutputCancelled",
                       Converter::Real,
                       "",
                       true,
                       "cancel",
                       {},
                       false,
                       "",
                       Output::Earlier},
        ConversionCase{"existingOutputReplaced",
                       Converter::Real,
                       "",
                       true,
                       "replace",
                       {},
                       false,
                       "Converted: OUTPUT",
                       Output::Converted}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Server answers and destinations

enum class Place {
    ChosenEarlierFile,    // video.flv, chosen in the panel, holding an earlier file
    ChosenMissingFolder,  // missing/video.flv
    ChosenUnderAFile,     // notes.txt/video.flv, notes.txt being a file
    ChosenReadOnlyFolder, // a folder nobody may create files in
    ChosenLongName,       // a 300-byte name
    ChosenProc,           // /proc/video.flv
    DefaultEarlierFile,   // ~/Desktop/Vistaro Video.flv holds the last download
    DefaultFolderMissing, // there is no ~/Desktop
};
enum class File { Served, Earlier, None };         // what is at the destination afterwards
enum class Reached { Nothing, Service, Transfer }; // how far the download went

struct DownloadCase {
    const char* name;
    const char* videoId;
    Place place;
    const char* answer; // to the question whether to replace; nullptr: none is asked
    Reached reached;
    const char* status; // how the status line begins
    const char* reason; // what it says further on
    File file;
};

void PrintTo(const DownloadCase& c, std::ostream* out) {
    *out << c.name;
}

class ServerAnswers : public NetworkFixture, public ::testing::WithParamInterface<DownloadCase> {
protected:
    void SetUp() override {
        NetworkFixture::SetUp();
        ASSERT_TRUE(home.isValid());
        savedHome_ = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
    }
    void TearDown() override {
        qputenv("HOME", savedHome_);
        NetworkFixture::TearDown();
    }

    QString desktopFolder() const { return home.filePath(QStringLiteral("Desktop")); }
    QString defaultDestination() const {
        return desktopFolder() + QStringLiteral("/Vistaro Video.flv");
    }

    // Makes the place and says which path the download goes to.
    QString prepare(Place place) {
        switch (place) {
        case Place::ChosenEarlierFile:
            writeFile(destination(), kEarlierContents);
            chooseDestination(destination());
            return destination();
        case Place::ChosenMissingFolder:
            chooseDestination(destination(QStringLiteral("missing/video.flv")));
            return {};
        case Place::ChosenUnderAFile:
            writeFile(destination(QStringLiteral("notes.txt")), kEarlierContents);
            chooseDestination(destination(QStringLiteral("notes.txt/video.flv")));
            return {};
        case Place::ChosenReadOnlyFolder:
            // Permissions bind everyone but root; sysfs refuses files to all.
            if (geteuid() == 0) {
                chooseDestination(QStringLiteral("/sys/video.flv"));
                return {};
            }
            EXPECT_TRUE(QDir(downloads.path()).mkdir(QStringLiteral("locked")));
            EXPECT_TRUE(QFile::setPermissions(destination(QStringLiteral("locked")),
                                              QFile::ReadOwner | QFile::ExeOwner));
            chooseDestination(destination(QStringLiteral("locked/video.flv")));
            return {};
        case Place::ChosenLongName:
            chooseDestination(destination(QString(296, u'a') + QStringLiteral(".flv")));
            return {};
        case Place::ChosenProc:
            chooseDestination(QStringLiteral("/proc/video.flv"));
            return {};
        case Place::DefaultEarlierFile:
            EXPECT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
            writeFile(defaultDestination(), kEarlierContents);
            return defaultDestination();
        case Place::DefaultFolderMissing:
            return destination();
        }
        return {};
    }

    QTemporaryDir home;

private:
    QByteArray savedHome_;
};

TEST_P(ServerAnswers, saveTheWholeFileOrLeaveWhatWasThere) {
    const DownloadCase& c = GetParam();
    launchWithShortLimits();
    if (c.answer != nullptr)
        desktop.answers.push_back(QLatin1String(c.answer) == u"replace");
    const QString target = prepare(c.place);
    const QStringList downloadsBefore = entriesOf(downloads.path());
    const QStringList homeBefore = entriesOf(home.path());
    enterAddressAndGet(QStringLiteral("www.vistaro.com/watch?v=") + c.videoId);
    ui().FLVGetFLVButton->click();

    if (c.place == Place::DefaultFolderMissing) {
        // Asked where to save instead, from home, before the service is asked.
        ASSERT_TRUE(desktop.savePanel.has_value());
        EXPECT_EQ(desktop.savePanel->options.directory, home.path());
        EXPECT_TRUE(site.requestedURLs().filter("linkservice").isEmpty());
        desktop.answerSavePanel(1, target);
    }
    ASSERT_TRUE(reelhound::testing::waitForLinkLookup(*controller));
    if (c.reached == Reached::Transfer) {
        ASSERT_TRUE(waitForTransferOutcome());
    }

    const QString status = statusMessage();
    const QLatin1String begins(c.status);
    const QLatin1String reason(c.reason);
    EXPECT_TRUE(begins.isEmpty() ? status.isEmpty() : status.startsWith(begins))
        << status.toStdString();
    EXPECT_TRUE(reason.isEmpty() || status.contains(reason)) << status.toStdString();
    EXPECT_EQ(desktop.questions.size(), c.answer != nullptr ? 1u : 0u);
    if (c.answer != nullptr) {
        EXPECT_EQ(desktop.questions[0].message, replaceQuestion(target));
        EXPECT_EQ(desktop.questions[0].acceptTitle, "&Replace");
        EXPECT_EQ(desktop.questions[0].cancelTitle, "&Cancel");
    }
    EXPECT_EQ(ui().FLVGetFLVButton->text(), "&Download FLV");
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_FALSE(desktop.logContains(QStringLiteral("Out of memory")));
    EXPECT_EQ(site.requestedURLs().filter("linkservice").isEmpty(), c.reached == Reached::Nothing);
    EXPECT_EQ(site.requestedURLs().filter("get_video").isEmpty(), c.reached != Reached::Transfer);

    switch (c.file) {
    case File::Served:
        EXPECT_TRUE(fileContents(target) == site.videoFileContents());
        break;
    case File::Earlier:
        EXPECT_EQ(fileContents(target), kEarlierContents);
        break;
    case File::None:
        break;
    }
    // Nothing else appeared, a temporary file included.
    if (c.place == Place::DefaultFolderMissing) {
        EXPECT_EQ(entriesOf(downloads.path()), QStringList{"video.flv"});
    } else {
        EXPECT_EQ(entriesOf(downloads.path()), downloadsBefore);
    }
    EXPECT_EQ(entriesOf(home.path()), homeBefore);
    if (QFileInfo::exists(desktopFolder())) {
        EXPECT_EQ(entriesOf(desktopFolder()), QStringList{"Vistaro Video.flv"});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reliability, ServerAnswers,
    ::testing::Values(
        DownloadCase{"partialContentUnasked", "partial", Place::ChosenEarlierFile, nullptr,
                     Reached::Transfer,
                     "Download failed: ", "The server sent only part of the file.", File::Earlier},
        DownloadCase{"gzipBody", "gzip", Place::ChosenEarlierFile, nullptr, Reached::Transfer,
                     "Download failed: ",
                     "The server sent the file packed (gzip) instead of as it is.", File::Earlier},
        DownloadCase{"linkOfAMebibyte", "long-link", Place::ChosenEarlierFile, nullptr,
                     Reached::Service, "The link service gave an address too long to use.", "",
                     File::Earlier},
        DownloadCase{"missingFolder", "demo", Place::ChosenMissingFolder, nullptr, Reached::Nothing,
                     "Download failed: The folder ", "/missing does not exist.", File::None},
        DownloadCase{"folderThatIsAFile", "demo", Place::ChosenUnderAFile, nullptr,
                     Reached::Nothing, "Download failed: ", "/notes.txt is not a folder.",
                     File::None},
        DownloadCase{"readOnlyFolder", "demo", Place::ChosenReadOnlyFolder, nullptr,
                     Reached::Nothing, "Download failed: ", "", File::None},
        DownloadCase{"nameTooLong", "demo", Place::ChosenLongName, nullptr, Reached::Nothing,
                     "Download failed: The file name is too long: ", "at most 255 bytes.",
                     File::None},
        DownloadCase{"pseudoFileSystem", "demo", Place::ChosenProc, nullptr, Reached::Nothing,
                     "Download failed: /proc is not a place for files.", "", File::None},
        DownloadCase{"defaultFileReplaced", "demo", Place::DefaultEarlierFile, "replace",
                     Reached::Transfer, "Download finished: ", "Vistaro Video.flv", File::Served},
        DownloadCase{"defaultFileKept", "demo", Place::DefaultEarlierFile, "cancel",
                     Reached::Nothing, "", "", File::Earlier},
        DownloadCase{"defaultFolderMissing", "demo", Place::DefaultFolderMissing, nullptr,
                     Reached::Transfer, "Download finished: ", "video.flv", File::Served}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
