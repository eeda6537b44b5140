#include "app/ApplicationFixture.h"
#include "support/Files.h"
#include "support/ActivityWaits.h"
#include "app/widgets/NewestLines.h"
#include "app/widgets/ProgressIndicator.h"
#include "support/RunProgram.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <sys/stat.h>
#include <unistd.h>

using namespace reelhound;
using reelhound::testing::ApplicationFixture;
using reelhound::testing::makeClip;

namespace {

class Conversion : public ApplicationFixture {
protected:
    void SetUp() override {
        ApplicationFixture::SetUp();
        ASSERT_TRUE(folder.isValid());
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    void chooseSource(const QString& source) {
        ui().selectFLVtoConvertButton->click();
        ASSERT_TRUE(desktop.openPanel.has_value());
        desktop.answerOpenPanel(1, source);
    }

    void selectFormat(int tag) {
        QComboBox* formats = ui().convertToDifferentFormatButton;
        formats->setCurrentIndex(formats->findData(tag));
    }

    // Converts, noting every text the status line showed while the run went on.
    QStringList convertWatchingTheStatusLine() {
        QStringList shown;
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (!controller->activities().converting)
                return; // only what the run showed
            const QString text = ui().convertFLVProgressTextField->text();
            if (shown.isEmpty() || shown.back() != text)
                shown << text;
            busyDuringRun =
                busyDuringRun && ui().convertFLVButton->isEnabled() &&
                ui().convertFLVButton->text() == "Sto&p" &&
                !ui().selectFLVtoConvertButton->isEnabled() && !ui().URLGetURLButton->isEnabled() &&
                !ui().videoSizeButton->isEnabled() && ui().recentURLPopUpButton->isEnabled() &&
                ui().convertFLVProgressIndicator->isVisible();
        });
        watcher.start(5);
        ui().convertFLVButton->click();
        EXPECT_TRUE(reelhound::testing::waitForConversion(*controller));
        return shown;
    }

    void expectConversionEnded() {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 ui().recentURLPopUpButton, ui().URLGetURLButton,
                 ui().downloadDestinationSelectButton, ui().FLVGetFLVButton,
                 ui().audioFrequencyButton, ui().videoFrameRateButton,
                 ui().convertToDifferentFormatButton, ui().selectFLVtoConvertButton,
                 ui().convertFLVButton})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(ui().convertFLVProgressIndicator->isHidden());
        EXPECT_FALSE(ui().convertFLVProgressIndicator->isAnimating());
    }

    QTemporaryDir folder;
    bool busyDuringRun = true;
};

} // namespace

TEST_F(Conversion, openPanel_offersFlvFilesFromHomeAndAcceptsOnlyAValidChoice) {
    launch();
    const QString clip = path("clip.flv");
    ASSERT_TRUE(makeClip(clip));

    ui().selectFLVtoConvertButton->click();
    ASSERT_TRUE(desktop.openPanel.has_value());
    EXPECT_EQ(desktop.openPanel->options.title, "Convert FLV file to MOV...");
    EXPECT_EQ(desktop.openPanel->options.fileTypes, QStringList{"flv"});
    EXPECT_FALSE(desktop.openPanel->options.canChooseDirectories);
    EXPECT_EQ(desktop.openPanel->options.directory, QDir::homePath());
    desktop.answerOpenPanel(0); // cancelled: nothing changes
    EXPECT_TRUE(ui().convertFLVFilenameTextField->text().isEmpty());
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());

    const QString upperCase = path("clip.FLV");
    ASSERT_TRUE(QFile::copy(clip, upperCase));
    chooseSource(upperCase); // shown, but unlocks nothing
    EXPECT_EQ(controller->convertFLVFilename(), upperCase);
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());
    EXPECT_FALSE(ui().audioBitrateButton->isEnabled());

    chooseSource(clip);
    EXPECT_EQ(controller->convertFLVFilename(), clip);
    EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    EXPECT_TRUE(ui().audioBitrateButton->isEnabled());
    EXPECT_EQ(desktop.beeps, 0);

    // A later failing choice keeps the unlock; converting it is then refused.
    chooseSource(path("missing.flv"));
    EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    ui().convertFLVButton->click();
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_FALSE(ui().convertFLVButton->isEnabled());
    EXPECT_FALSE(ui().convertToDifferentFormatButton->isEnabled());
    EXPECT_TRUE(controller->convertFLVFilename().isEmpty());
    EXPECT_TRUE(ui().selectFLVtoConvertButton->isEnabled());
    EXPECT_EQ(controller->conversionFileHandle(), nullptr); // no converter was started
}

TEST_F(Conversion, refusedSources_beepLockAndEmptyTheField) {
    launch();
    ASSERT_TRUE(QDir(folder.path()).mkdir("notes.flv"));
    QFile::copy(QStringLiteral("/etc/hostname"), path("clip.flv.part"));
    for (const QString& source :
         {QString(), path("nothing.flv"), path("clip.flv.part"), path(".flv")}) {
        SCOPED_TRACE(source.toStdString());
        controller->setConversionSettingsEnabled(true);
        ui().convertFLVButton->setEnabled(true);
        ui().convertFLVFilenameTextField->setText(source);
        const int beeps = desktop.beeps;
        ui().convertFLVButton->click();
        EXPECT_EQ(desktop.beeps, beeps + 1);
        EXPECT_FALSE(ui().convertFLVButton->isEnabled());
        EXPECT_FALSE(ui().videoBitrateButton->isEnabled());
        EXPECT_TRUE(ui().convertFLVFilenameTextField->text().isEmpty());
        EXPECT_EQ(controller->conversionFileHandle(), nullptr);
    }
}

TEST_F(Conversion, realConversion_showsProgressAndEndsWithEverythingReleased) {
    launch();
    const QString clip = path("clip.flv");
    ASSERT_TRUE(makeClip(clip));
    chooseSource(clip);
    selectFormat(20);

    const QStringList shown = convertWatchingTheStatusLine();

    ASSERT_GE(shown.size(), 2) << shown.join(" | ").toStdString();
    EXPECT_EQ(shown.first(), "Converting...");
    EXPECT_TRUE(busyDuringRun);
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& text) {
        return text.contains("ffmpeg") || text.contains("frame=") || text.contains("size=");
    })) << shown.join(" | ").toStdString();
    expectConversionEnded();
    EXPECT_TRUE(ui().convertFLVProgressTextField->text().isEmpty());
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_GT(QFileInfo(path("clip.mp4")).size(), 0);
}

TEST_F(Conversion, realConversion_percentageClimbsTo100OnTheBarAndInTheStatusLine) {
    launch();
    const QString clip = path("clip.flv");
    ASSERT_TRUE(makeClip(clip, 30)); // long enough for several progress lines
    chooseSource(clip);
    selectFormat(20);

    ProgressIndicator* bar = ui().convertFLVProgressIndicator;
    QList<int> barValues; // while the bar measures
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (!bar->isIndeterminate())
            barValues << value;
    });
    QStringList statusTexts;
    QObject::connect(window->statusBar(), &QStatusBar::messageChanged,
                     [&](const QString& text) { statusTexts << text; });
    ui().convertFLVButton->click();
    ASSERT_TRUE(reelhound::testing::waitForConversion(*controller));

    const QString all = statusTexts.join(" | ");
    const QRegularExpression progress(QStringLiteral(
        R"(^Converting: (\d+) %(, about \d+ (s|min) left)?$)"));
    QList<int> percents;
    for (const QString& text : statusTexts)
        if (const auto match = progress.match(text); match.hasMatch())
            percents << match.captured(1).toInt();
    ASSERT_FALSE(percents.isEmpty()) << all.toStdString();
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << all.toStdString();
    EXPECT_EQ(percents.last(), 100) << all.toStdString();
    EXPECT_EQ(statusTexts.first(), "Converting...");
    EXPECT_TRUE(statusTexts.last().startsWith("Converted: ")) << all.toStdString();
    ASSERT_FALSE(barValues.isEmpty());
    EXPECT_TRUE(std::is_sorted(barValues.begin(), barValues.end()));
    EXPECT_EQ(barValues.last(), bar->maximum());
}

TEST_F(Conversion, existingOutput_isReplacedOnlyAfterAYes) {
    launch();
    const QString clip = path("clip.flv");
    ASSERT_TRUE(makeClip(clip));
    {
        QFile existing(path("clip.avi"));
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("keep me");
    }
    chooseSource(clip);
    selectFormat(30);

    desktop.answers = {false};
    ui().convertFLVButton->click(); // answered Cancel: nothing starts
    ASSERT_EQ(desktop.questions.size(), 1u);
    EXPECT_EQ(desktop.questions[0].message,
              "A file named clip.avi already exists in " + folder.path() + ". Replace it?");
    EXPECT_EQ(controller->conversionFileHandle(), nullptr);
    EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    EXPECT_EQ(desktop.beeps, 0);
    QFile existing(path("clip.avi"));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), "keep me");
    existing.close();

    desktop.answers = {true};
    convertWatchingTheStatusLine();
    expectConversionEnded();
    EXPECT_EQ(desktop.questions.size(), 2u);
    EXPECT_EQ(desktop.beeps, 0);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Converted: " + path("clip.avi"));
    EXPECT_GT(QFileInfo(path("clip.avi")).size(), 1000);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"clip.avi", "clip.flv"}))
        << "no temporary file is left";
}

TEST_F(Conversion, directoryNamedLikeAClip_passesTheCheckButTheConverterFails) {
    launch();
    ASSERT_TRUE(QDir(folder.path()).mkdir("clip.flv"));
    controller->selectConvertFLVFilenameDidEnd(1, path("clip.flv"));
    EXPECT_TRUE(ui().convertFLVButton->isEnabled());
    convertWatchingTheStatusLine();
    expectConversionEnded();
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(ui().convertFLVProgressTextField->text().startsWith("Conversion failed: "));
    EXPECT_FALSE(QFile::exists(path("clip.mov"))); // nothing half-written left behind
}

TEST_F(Conversion, afterARun_downloadControlsAreOnEvenWithoutAnAddress) {
    launch();
    const QString clip = path("clip.flv");
    ASSERT_TRUE(makeClip(clip));
    chooseSource(clip);
    selectFormat(10);
    EXPECT_FALSE(ui().FLVGetFLVButton->isEnabled());
    convertWatchingTheStatusLine();
    EXPECT_TRUE(ui().FLVGetFLVButton->isEnabled());
    EXPECT_TRUE(ui().downloadDestinationSelectButton->isEnabled());

    // The download button, pressed now, asks for an address instead of failing.
    ui().FLVGetFLVButton->click();
    ASSERT_EQ(desktop.alerts.size(), 1u);
    EXPECT_TRUE(desktop.alerts[0].message.contains("address"));
}

TEST_F(Conversion, conversionText_isPlainAndShowsTheNewestWholeRowsThatFit) {
    launch();
    QLabel* label = ui().convertFLVProgressTextField;
    EXPECT_EQ(label->textFormat(), Qt::PlainText); // a path or a line holding <b> is text
    const QFontMetrics metrics(label->font());
    const int capacity = label->contentsRect().height() / metrics.lineSpacing();
    ASSERT_GE(capacity, 1);

    QString words; // one line several rows wide, of numbered words
    for (int i = 0; words.size() < 40 * label->contentsRect().width() / metrics.averageCharWidth();
         ++i)
        words += QStringLiteral("word%1 ").arg(i);
    const struct {
        QString output;
        QString newest; // how the shown text ends
    } cases[] = {
        {"frame=    1\rframe=    2\rframe=    3\rframe=    4\rframe=    5\r\n", "frame=    5"},
        {"Input #0, from '/v/<b>clip</b>.flv':\n" + words + "\n  \r", words.trimmed()},
    };
    for (const auto& c : cases) {
        const QString shown = newestLinesThatFit(c.output, *label);
        const QStringList rows = shown.split(u'\n');
        EXPECT_LE(rows.size(), capacity);
        EXPECT_TRUE(c.newest.endsWith(rows.last())) << shown.toStdString();
        for (const QString& row : rows) {
            EXPECT_LE(metrics.horizontalAdvance(row), label->contentsRect().width());
            EXPECT_TRUE(c.output.contains(row)) << "a row holds whole words: " << row.toStdString();
            EXPECT_FALSE(row.startsWith(u"ord")) << "never cut inside a word";
        }
    }
}
