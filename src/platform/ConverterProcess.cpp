#include "platform/ConverterProcess.h"

#include "platform/ConverterExecutable.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <csignal>
#include <cstring>
#include <string_view>
#include <utility>

#include <sys/prctl.h>
#include <unistd.h>

namespace reelhound {
namespace {

// Unread output beyond this is dropped from the front: the relay shows only
// the newest chunk, in a one-line field, and memory must not follow the
// converter's chattiness. Kept short because laying the text out costs far more
// than reading it: with 64 KiB a converter writing 100 MiB held the window busy
// for minutes.
constexpr qsizetype kMaxPendingBytes = 1024;

// How long a killed child may take to be reaped before we stop waiting.
constexpr int kReapTimeoutMs = 5000;

std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

ConverterProcess::ConverterProcess(QObject* parent) : QObject(parent) {
    // Only standard error comes back to us; standard output is the application's own.
    process_.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    // A default-constructed environment is empty, not the inherited one.
    process_.setProcessEnvironment(QProcessEnvironment());

    connect(&process_, &QProcess::started, this, [this] {
        // Standard input stays a pipe, but at end of file: a converter that
        // asks a question (ffmpeg's "Overwrite? [y/N]") reads no and goes on.
        process_.closeWriteChannel();
    });
    connect(&process_, &QProcess::readyReadStandardError, this, &ConverterProcess::readErrorOutput);
    connect(&process_, &QProcess::finished, this, &ConverterProcess::childFinished);
    connect(&process_, &QProcess::errorOccurred, this, &ConverterProcess::childErrorOccurred);
    if (const auto* application = QCoreApplication::instance()) {
        connect(application, &QCoreApplication::aboutToQuit, this, [this] { stopChildForQuit(); });
    }
}

ConverterProcess::~ConverterProcess() {
    // Nobody listens any more; the child must still go, and its partial output with it.
    blockSignals(true);
    notificationsStopped_ = true;
    stopChildForQuit();
}

void ConverterProcess::setOutputPath(const QString& path) {
    outputPath_ = path;
}

void ConverterProcess::start(const QString& program, const QStringList& arguments) {
    if (started_)
        return;
    started_ = true;
    program_ = program;

    if (!outputPath_.isEmpty()) {
        const QFileInfo output(outputPath_);
        outputExistedBefore_ = output.exists() || output.isSymLink();
    }

    if (program.isEmpty()) {
        endRun(ConverterOutcome::FailedToStart,
               tr("The converter could not be started: %1: No such file or directory")
                   .arg(converterSearchPath()));
        return;
    }

    // Should this process die without killing the child (a crash, SIGKILL),
    // the kernel kills it too; the check closes the race with a parent that
    // died before the request was made.
    const pid_t parentId = getpid();
    process_.setChildProcessModifier([parentId] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parentId)
            _exit(127);
    });
    process_.start(program, arguments, QIODevice::ReadWrite);
}

void ConverterProcess::waitUntilExit() {
    if (!started_ || ended_)
        return;
    QEventLoop loop;
    connect(this, &ConverterProcess::ended, &loop, &QEventLoop::quit);
    loop.exec();
    if (!ended_) {
        // Only an application that quits makes every event loop leave early
        // (and refuses to run new ones); the child must not outlive it.
        stopChildForQuit();
        if (!ended_)
            endRun(ConverterOutcome::StoppedAtQuit,
                   tr("The converter did not stop when the application quit."));
    }
}

void ConverterProcess::stop() {
    if (!started_ || ended_)
        return;
    stopping_ = true;
    if (isRunning()) {
        process_.kill();
        // Reaped at once, so the output can go and the controls come back now.
        process_.waitForFinished(kReapTimeoutMs);
    }
    if (!ended_)
        endRun(ConverterOutcome::Stopped, tr("The conversion was stopped."));
}

bool ConverterProcess::isRunning() const {
    return process_.state() != QProcess::NotRunning;
}

qint64 ConverterProcess::processId() const {
    return process_.processId();
}

void ConverterProcess::armDataNotification() {
    if (notificationsStopped_)
        return;
    armed_ = true;
    scheduleDelivery();
}

QByteArray ConverterProcess::readAvailableErrorOutput() {
    return std::exchange(pending_, {});
}

bool ConverterProcess::atEndOfErrorOutput() const {
    return ended_ && pending_.isEmpty();
}

void ConverterProcess::stopNotifications() {
    notificationsStopped_ = true;
    armed_ = false;
    pending_.clear();
}

QString ConverterProcess::lastErrorLine() const {
    return QString::fromStdString(report_.lastLine());
}

// Plain words are translated; the converter's own line is shown as it is.
QString ConverterProcess::writeFailureText() const {
    const QString words = QString::fromStdString(report_.writeFailureWords());
    if (report_.writeFailure() == OutputWriteFailure::Other)
        return words;
    return QCoreApplication::translate("FileError", words.toUtf8().constData());
}

QString ConverterProcess::failureDetail() const {
    if (succeeded() || outcome_ == ConverterOutcome::NotEnded)
        return {};
    if (outcome_ == ConverterOutcome::ExitedWithFailure) {
        QString line = lastErrorLine();
        if (!line.isEmpty())
            return line;
    }
    return failureReason_;
}

void ConverterProcess::readErrorOutput() {
    // Always drain QProcess's own buffer, which would otherwise keep
    // everything the converter ever wrote.
    const QByteArray bytes = process_.readAllStandardError();
    if (bytes.isEmpty())
        return;
    report_.append(view(bytes));
    progress_.append(view(bytes));
    if (notificationsStopped_)
        return;
    pending_.append(bytes);
    if (pending_.size() > kMaxPendingBytes) {
        qsizetype cut = pending_.size() - kMaxPendingBytes;
        // Not in the middle of a character: its continuation bytes go too.
        while (cut < pending_.size() && (static_cast<unsigned char>(pending_[cut]) & 0xC0) == 0x80)
            ++cut;
        pending_.remove(0, cut);
    }
    scheduleDelivery();
}

void ConverterProcess::childFinished(int exitCode, QProcess::ExitStatus exitStatus) {
    if (ended_)
        return;
    // Output written just before the exit may not have been read yet.
    readErrorOutput();
    report_.end();
    exitCode_ = exitCode;
    if (stoppingForQuit_) {
        endRun(ConverterOutcome::StoppedAtQuit,
               tr("The conversion was stopped because the application quit."));
    } else if (stopping_) {
        endRun(ConverterOutcome::Stopped, tr("The conversion was stopped."));
    } else if (exitStatus == QProcess::CrashExit) {
        // Its last words were cut off: they would not say what happened.
        endRun(ConverterOutcome::Crashed,
               QCoreApplication::translate("ConverterReport", kConverterSignalText).arg(exitCode));
    } else if (report_.writeFailure() != OutputWriteFailure::None) {
        // ffmpeg exits with 0 after failing to finish its output file.
        endRun(ConverterOutcome::OutputNotWritten, writeFailureText());
    } else if (exitCode != 0) {
        endRun(ConverterOutcome::ExitedWithFailure,
               tr("The converter exited with status %1.").arg(exitCode));
    } else {
        endRun(ConverterOutcome::Succeeded, {});
    }
}

void ConverterProcess::childErrorOccurred(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart || ended_)
        return;
    // Qt names the failing call ("execve: No such file or directory"); the
    // person needs the path and the cause.
    QString cause = process_.errorString();
    static const QRegularExpression callPrefix(QStringLiteral("^exec[a-z]*: "));
    cause.remove(callPrefix);
    endRun(ConverterOutcome::FailedToStart,
           tr("The converter could not be started: %1: %2").arg(program_, cause));
}

void ConverterProcess::endRun(ConverterOutcome outcome, QString reason) {
    ended_ = true;
    outcome_ = outcome;
    failureReason_ = std::move(reason);
    if (outcome == ConverterOutcome::Succeeded)
        progress_.finish(); // the last progress line may fall short of the end
    else
        removePartialOutput();
    // The end of the output is news for an armed reader, as data would be.
    scheduleDelivery();
    emit ended();
}

void ConverterProcess::stopChildForQuit() {
    if (!isRunning())
        return;
    stoppingForQuit_ = true;
    process_.kill();
    process_.waitForFinished(kReapTimeoutMs);
}

void ConverterProcess::scheduleDelivery() {
    if (!armed_ || deliveryQueued_ || notificationsStopped_)
        return;
    if (pending_.isEmpty() && !ended_)
        return;
    // Posted rather than emitted, like any notification: a reader that arms
    // again at the end of the output is not called back inside its own call.
    deliveryQueued_ = true;
    QMetaObject::invokeMethod(this, &ConverterProcess::deliverNotification, Qt::QueuedConnection);
}

void ConverterProcess::deliverNotification() {
    deliveryQueued_ = false;
    if (!armed_ || notificationsStopped_)
        return;
    if (pending_.isEmpty() && !ended_)
        return;
    armed_ = false;
    emit errorDataAvailable(this);
}

void ConverterProcess::removePartialOutput() {
    if (outputPath_.isEmpty() || outputExistedBefore_)
        return;
    const QFileInfo output(outputPath_);
    if (output.isFile() || output.isSymLink())
        QFile::remove(outputPath_);
}

QString decodeConverterOutput(const QByteArray& chunk) {
    return QString::fromUtf8(chunk);
}

} // namespace reelhound
