#pragma once

#include "core/ConverterCommandLine.h"
#include "platform/ConverterProcess.h"
#include "platform/PathIndex.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

class QLabel;

namespace reelhound {

class DesktopServices;
class Preferences;
class ProgressIndicator;
class StagedOutput;
class StatusReports;

// One conversion, from the question about replacing a file to the converted
// file in place: it runs the converter into a private folder beside the
// output, shows the converter's lines and how far it has got, and gives the
// file its name only once the run has made it whole.
class ConversionFlow : public QObject {
    Q_OBJECT

public:
    ConversionFlow(ProgressIndicator& bar, QLabel& output, StatusReports& reports,
                   DesktopServices& desktop, Preferences& preferences, QObject* parent = nullptr);
    ~ConversionFlow() override;

    // Starts the converter on these settings once the person has agreed to
    // replace an earlier file; nothing runs when they have not or the output
    // cannot be made (the window says why).
    void start(const ConversionSettings& settings);
    // Kills the converter; the run ends, and ended() is sent, before this returns.
    void stop();
    bool running() const { return running_; }
    // The converter of the current or most recent run; empty before the first.
    ConverterProcess* converter() const { return converter_.get(); }
    void progressDataReceived(ConverterProcess* source);

    // Folders a conversion wrote in are listed until no private folder of one
    // that died with its process is left there.
    void removeAbandonedFolders();

signals:
    void began();
    // Sent as the run ends, before the window tells how it went.
    void ended();

private:
    PathIndex folderIndex() const;
    bool stage(const std::optional<std::string>& output, StagedOutput& staged,
               QStringList& arguments, ConverterProcess& converter);
    void runEnded();
    void showOutcome(const ConverterProcess& run, const QString& failure);
    QString settle(const ConverterProcess& run, StagedOutput& staged);
    void showText(const QString& text);
    void showProgress();
    void reportFailure(const QString& cause);

    ProgressIndicator& bar_;
    QLabel& output_;
    StatusReports& reports_;
    DesktopServices& desktop_;
    Preferences& preferences_;
    bool running_ = false;
    std::unique_ptr<ConverterProcess> converter_;
    std::optional<std::string> outputPath_;
    // Where the running conversion writes until its file is known to be whole.
    std::unique_ptr<StagedOutput> staging_;
    QElapsedTimer clock_; // since the run started
};

} // namespace reelhound
