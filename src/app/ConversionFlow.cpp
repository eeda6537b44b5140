#include "app/ConversionFlow.h"

#include "app/DesktopServices.h"
#include "app/Dialogs.h"
#include "app/StatusReports.h"
#include "app/widgets/CalmAccessibleName.h"
#include "app/widgets/NewestLines.h"
#include "app/widgets/ProgressIndicator.h"
#include "platform/ConverterExecutable.h"
#include "platform/DestinationCheck.h"
#include "platform/PartialData.h"
#include "platform/Preferences.h"
#include "platform/StagedOutput.h"
#include "platform/Strings.h"

#include <QFileInfo>
#include <QLabel>

namespace reelhound {

ConversionFlow::ConversionFlow(ProgressIndicator& bar, QLabel& output, StatusReports& reports,
                               DesktopServices& desktop, Preferences& preferences, QObject* parent)
    : QObject(parent), bar_(bar), output_(output), reports_(reports), desktop_(desktop),
      preferences_(preferences) {
    bar_.setHidden(true); // only while a run goes
}

ConversionFlow::~ConversionFlow() {
    converter_.reset(); // kills a converter that still runs
    staging_.reset();   // and then removes what it wrote
}

PathIndex ConversionFlow::folderIndex() const {
    return PathIndex(preferences_.storageFolder() + QStringLiteral("/conversion-folders"),
                     PartialDataIndex::kMaximumEntries);
}

void ConversionFlow::removeAbandonedFolders() {
    folderIndex().update([](QStringList& folders) {
        folders.removeIf(
            [](const QString& folder) { return StagedOutput::removeAbandoned(folder) == 0; });
    });
}

void ConversionFlow::start(const ConversionSettings& settings) {
    if (running_)
        return;
    const auto output = converterOutputPath(settings.sourcePath, settings.formatTag);
    if (output && destinationExists(toQt(*output)) && !askToReplace(desktop_, toQt(*output)))
        return;
    QStringList arguments;
    for (const auto& argument : buildConverterArguments(settings))
        arguments.push_back(toQt(argument));
    // The earlier run has ended (no conversion runs), so it can go now.
    auto converter = std::make_unique<ConverterProcess>();
    auto staging = std::make_unique<StagedOutput>();
    if (!stage(output, *staging, arguments, *converter))
        return;
    staging_ = std::move(staging);
    outputPath_ = output;
    if (converter_)
        converter_->stopNotifications();
    converter_ = std::move(converter);
    connect(converter_.get(), &ConverterProcess::errorDataAvailable, this,
            &ConversionFlow::progressDataReceived);
    connect(converter_.get(), &ConverterProcess::ended, this, &ConversionFlow::runEnded);
    converter_->armDataNotification();

    clock_.start();
    // Busy without a measure until the converter tells the source's length.
    bar_.setIndeterminate(true);
    bar_.setDoubleValue(0.0);
    bar_.setHidden(false);
    bar_.startAnimation();
    showText(tr("Converting..."));
    reports_.show(tr("Converting..."));
    reports_.offerShowInFolder({});
    running_ = true;
    emit began();
    // Last: a converter that cannot start at all ends the run right here.
    converter_->start(converterExecutablePath(), arguments);
}

// The converter writes into a private folder beside the output; the file takes
// the output's name only once the run is known to have made it whole.
bool ConversionFlow::stage(const std::optional<std::string>& output, StagedOutput& staged,
                           QStringList& arguments, ConverterProcess& converter) {
    if (!output)
        return true; // the converter is given no output file
    const QString folder = QFileInfo(toQt(*output)).absolutePath();
    folderIndex().add(folder);
    StagedOutput::removeAbandoned(folder); // what a conversion killed with us left
    if (!staged.prepare(toQt(*output))) {
        reportFailure(
            tr("The converted file cannot be made in %1: %2").arg(folder, staged.errorString()));
        return false;
    }
    arguments.last() = staged.stagedPath();
    converter.setOutputPath(staged.stagedPath());
    return true;
}

void ConversionFlow::stop() {
    if (running_ && converter_)
        converter_->stop();
}

void ConversionFlow::runEnded() {
    ConverterProcess& run = *converter_;
    // Whatever the converter still had to say arrives after the run is over.
    run.stopNotifications();
    if (run.succeeded())
        showProgress();
    reports_.setProgress(DesktopProgress::Work::Conversion, std::nullopt);
    running_ = false;
    emit ended();
    bar_.setHidden(true);
    bar_.stopAnimation();
    showText(QString());
    // The file takes the output's name only now, and only when it is whole.
    const QString failure = settle(run, *staging_);
    staging_.reset();
    showOutcome(run, failure);
}

void ConversionFlow::showOutcome(const ConverterProcess& run, const QString& failure) {
    if (failure.isEmpty()) {
        if (outputPath_) {
            const QString output = toQt(*outputPath_);
            reports_.show(tr("Converted: %1").arg(output));
            reports_.offerShowInFolder(output);
            reports_.announce(tr("Conversion finished"), QFileInfo(output).fileName(), output);
        }
    } else if (run.outcome() == ConverterOutcome::Stopped) {
        showText(tr("Conversion stopped."));
        reports_.show(tr("Conversion stopped."));
    } else if (run.outcome() != ConverterOutcome::StoppedAtQuit) {
        reportFailure(failure);
        reports_.announce(tr("Conversion failed"), failure);
    }
}

// Empty when the conversion succeeded and its file is in place; otherwise
// why not, and the earlier file at the output's name is as it was.
QString ConversionFlow::settle(const ConverterProcess& run, StagedOutput& staged) {
    if (!run.succeeded()) {
        staged.discard();
        return run.failureDetail();
    }
    if (staged.stagedPath().isEmpty() || staged.commit())
        return {};
    return tr("The converted file could not be saved: %1").arg(staged.errorString());
}

void ConversionFlow::progressDataReceived(ConverterProcess* source) {
    // Only the current run's output is read; anything else is not ours.
    if (!converter_ || source != converter_.get())
        return;
    const QByteArray chunk = converter_->readAvailableErrorOutput();
    if (!chunk.isEmpty()) {
        showText(newestLinesThatFit(decodeConverterOutput(chunk), output_));
        if (running_)
            showProgress();
    } else if (converter_->atEndOfErrorOutput())
        return; // the converter has closed its output: nothing more to wait for
    converter_->armDataNotification();
}

void ConversionFlow::showText(const QString& text) {
    output_.setText(text);
    lineTextChanged(output_);
    // Room for the converter's lines only while there is something to read.
    output_.setHidden(text.isEmpty());
}

void ConversionFlow::showProgress() {
    const ConversionProgress& progress = converter_->progress();
    const std::optional<double> percent = progress.percent();
    if (!percent)
        return;
    bar_.setIndeterminate(false);
    bar_.setDoubleValue(*percent);
    reports_.setProgress(DesktopProgress::Work::Conversion, percent);
    // Whole percents, rounded down: 100 only when the run is through.
    const int shown = static_cast<int>(*percent);
    const auto left = progress.secondsLeft(static_cast<double>(clock_.elapsed()) / 1000.0);
    QString message;
    if (!left || shown == 100)
        message = tr("Converting: %1 %").arg(shown);
    else if (*left < 90)
        message = tr("Converting: %1 %, about %2 s left").arg(shown).arg(*left);
    else
        message = tr("Converting: %1 %, about %2 min left").arg(shown).arg((*left + 30) / 60);
    reports_.show(message);
}

void ConversionFlow::reportFailure(const QString& cause) {
    desktop_.beep();
    const QString message = tr("Conversion failed: %1").arg(cause);
    showText(message);
    reports_.show(message);
}

} // namespace reelhound
