#pragma once

#include "core/ConversionProgress.h"
#include "core/ConverterOutput.h"
#include "core/ConverterReport.h"

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace reelhound {

// How a converter run ended.
enum class ConverterOutcome {
    NotEnded,          // not started yet, or still running
    Succeeded,         // exited normally with status 0, reporting no trouble with its output
    ExitedWithFailure, // exited normally with another status
    OutputNotWritten,  // said that writing its output failed, whatever its status
    Crashed,           // ended by a signal
    FailedToStart,     // missing, not executable, or no program given
    StoppedAtQuit,     // killed because the application quit during the run
    Stopped,           // killed because the person stopped it
};

// One run of the converter as a child process. The child gets no environment,
// its arguments one by one without a shell, a standard input that is at end of
// file from the start (so it can never wait for an answer), and our standard
// output. Its error output is offered chunk by chunk: arm a notification,
// receive errorDataAvailable once, read what is there, arm again.
//
// The object outlives its child so that late notifications can still be read
// or stopped. Destroying it, or quitting the application, kills a child that
// is still running; the child also gets SIGKILL should this process die.
class ConverterProcess : public QObject {
    Q_OBJECT

public:
    explicit ConverterProcess(QObject* parent = nullptr);
    ~ConverterProcess() override;

    ConverterProcess(const ConverterProcess&) = delete;
    ConverterProcess& operator=(const ConverterProcess&) = delete;

    // The file the run will write. When the run fails and nothing was at this
    // path before it started, whatever the converter left there is removed,
    // so a half-written file never looks like a result. Set before start().
    void setOutputPath(const QString& path);

    // Starts the child once; later calls do nothing. A null or empty program
    // (no converter found) fails to start, naming converterSearchPath().
    // Whether it failed to start may be known only once waitUntilExit() returns.
    void start(const QString& program, const QStringList& arguments);

    // Returns once the child has exited or failed to start, running a nested
    // event loop meanwhile so notifications are delivered and windows repaint.
    // Should the application quit meanwhile, the child is killed first.
    void waitUntilExit();

    // Kills a running child at once; the run ends as Stopped, its partial
    // output removed like any failed run's. Does nothing once it has ended.
    void stop();

    bool isRunning() const;
    qint64 processId() const; // 0 when no child is running

    // Asks for one errorDataAvailable: at once (queued) when bytes or the end
    // of the output are already there, otherwise when they arrive.
    void armDataNotification();

    // The error output received since the last read, without waiting. Empty
    // when nothing came, which at the end of the output is for good.
    QByteArray readAvailableErrorOutput();
    bool atEndOfErrorOutput() const;

    // No more notifications, and unread output is dropped; the last line is
    // still followed. For output that is late once the run has ended.
    void stopNotifications();

    ConverterOutcome outcome() const { return outcome_; }
    bool succeeded() const { return outcome_ == ConverterOutcome::Succeeded; }
    // The exit status after ExitedWithFailure or Succeeded, the signal after Crashed.
    int exitCode() const { return exitCode_; }
    // Why the run failed, in a sentence; empty unless it failed.
    QString failureReason() const { return failureReason_; }
    // The converter's last non-empty line of error output that is not its
    // banner, or empty.
    QString lastErrorLine() const;
    // What to tell the person about a failed run: for a converter that exited
    // with a failure status its own last words, otherwise (or when it said
    // nothing) failureReason().
    QString failureDetail() const;
    // How far the run has got, read from every byte of its error output
    // (unread output that is dropped counts too); the whole way once it has
    // succeeded.
    const ConversionProgress& progress() const { return progress_; }

signals:
    void errorDataAvailable(reelhound::ConverterProcess* source);
    // The child has exited or failed to start; outcome() is final.
    void ended();

private:
    QString writeFailureText() const;
    void readErrorOutput();
    void childFinished(int exitCode, QProcess::ExitStatus exitStatus);
    void childErrorOccurred(QProcess::ProcessError error);
    void endRun(ConverterOutcome outcome, QString reason);
    // Kills the child and waits a while for it; the run ends as stopped at quit.
    void stopChildForQuit();
    void scheduleDelivery();
    void deliverNotification();
    void removePartialOutput();

    QProcess process_;
    QString program_;
    bool started_ = false;
    bool ended_ = false;
    bool stoppingForQuit_ = false;
    bool stopping_ = false;

    ConverterOutcome outcome_ = ConverterOutcome::NotEnded;
    int exitCode_ = 0;
    QString failureReason_;

    QString outputPath_;
    bool outputExistedBefore_ = true;

    QByteArray pending_;
    bool armed_ = false;
    bool deliveryQueued_ = false;
    bool notificationsStopped_ = false;
    ConverterReport report_;
    ConversionProgress progress_;
};

// A chunk of the converter's output as text; invalid UTF-8, such as a
// character cut in two between chunks, shows as U+FFFD rather than nothing.
QString decodeConverterOutput(const QByteArray& chunk);

} // namespace reelhound
