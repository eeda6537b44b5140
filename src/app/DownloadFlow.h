#pragma once

#include "platform/Download.h"
#include "platform/PageFetch.h"
#include "platform/PartialData.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace reelhound {

class DesktopServices;
class DownloadDestination;
class DownloadProgressDisplay;
class Preferences;
class StatusReports;

inline constexpr std::int32_t kRequestTypePage = 0;
inline constexpr std::int32_t kRequestTypeVideo = 1;

// One download, from the question to the link service to the whole file at
// its destination: it asks the service, starts the Download and is its
// delegate, lists the destination among those that may keep data, shows how
// far it has got, and says how it ended.
class DownloadFlow : public QObject, public DownloadDelegate {
    Q_OBJECT

public:
    enum class Stage { Idle, LookingUp, Transferring, Stopping };

    // How long the network may keep us waiting. The defaults suit real use;
    // tests shorten them.
    struct TransferLimits {
        DownloadOptions download;
        // The link service may be silent this long, and take this long in all.
        std::chrono::milliseconds pageFetchTimeout = PageFetchLimits{}.silence;
        std::chrono::milliseconds pageFetchOverallTimeout = PageFetchLimits{}.overall;
    };

    DownloadFlow(DownloadDestination& destination, DownloadProgressDisplay& progress,
                 StatusReports& reports, DesktopServices& desktop, Preferences& preferences,
                 QObject* parent = nullptr);
    ~DownloadFlow() override;

    void setTransferLimits(const TransferLimits& limits) { limits_ = limits; }
    // Once the destination is confirmed, asks the link service for the file
    // of the video; opener gets the keyboard back from a panel on the way.
    void start(const QString& videoId, QWidget& opener);
    // Ends the lookup or the transfer at once; what arrived is thrown away.
    void cancel();

    Stage stage() const { return stage_; }
    std::int32_t requestType() const { return requestType_; }
    // The next transfers are pages (the video page was asked for).
    void expectPages() { requestType_ = kRequestTypePage; }
    const std::optional<DownloadResponse>& response() const { return response_; }
    void setResponse(const DownloadResponse& response) { response_ = response; }
    std::int64_t bytesReceived() const;

    // Where downloads that may have kept data are listed (beside the preferences).
    PartialDataIndex partialDataIndex() const;

    void downloadDidBegin(Download& download) override;
    void downloadDidReceiveResponse(Download& download, const DownloadResponse& response) override;
    void downloadDecideDestinationWithSuggestedFilename(Download& download,
                                                        const QString& filename) override;
    void downloadDidCreateDestination(Download& download, const QString& path) override;
    bool downloadShouldDecodeSourceDataOfMIMEType(Download& download,
                                                  const QString& MIMEType) override;
    void downloadDidReceiveDataOfLength(Download& download, std::uint32_t length) override;
    void downloadWillRetry(Download& download, const DownloadRetry& retry) override;
    void downloadWillStartOver(Download& download, const QString& reason) override;
    void downloadWillContinueKeptData(Download& download, std::int64_t bytes) override;
    void downloadDidFinish(Download& download) override;
    void downloadDidFailWithError(Download& download, const DownloadError& error) override;

signals:
    void stageChanged();
    // The file is whole at its destination.
    void finished(const QString& path);

private:
    void setStage(Stage stage);
    void lookupFinished(const PageFetchResult& page);
    void refuseLookup(const QString& logged, const QString& shown);
    void startTransfer(const QString& address);
    // Back to idle, the progress controls with it.
    void endTransfer();

    DownloadDestination& destination_;
    DownloadProgressDisplay& progress_;
    StatusReports& reports_;
    DesktopServices& desktop_;
    Preferences& preferences_;
    TransferLimits limits_;

    Stage stage_ = Stage::Idle;
    std::int32_t requestType_ = kRequestTypePage;
    std::optional<DownloadResponse> response_;
    QString videoId_;
    std::unique_ptr<PageRequest> lookup_;
    // The kept data of the destination, claimed before the link is looked up
    // and handed to the download it starts.
    std::unique_ptr<PartialDataClaim> claim_;
    QPointer<Download> download_;
    QString transferDestination_; // where the running transfer writes
};

} // namespace reelhound
