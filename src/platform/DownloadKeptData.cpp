#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/PartialData.h"
#include "platform/PartialDataClaim.h"
#include "platform/RangeConnections.h"

#include <QFileInfo>
#include <QLocale>
#include <QStorageInfo>

#include <sys/stat.h>

// The data a download keeps beside its destination for a later run: finding
// it, continuing it, and leaving it behind synced with its record.
namespace reelhound {

// Data an earlier run kept for this video and destination is asked to be
// continued; data of ours that is not that goes. Returns false when the
// download has failed.
bool Download::lookForKeptData() {
    if (!keeping() || destinationPath_.isEmpty())
        return true;
    if (claim_ == nullptr) {
        PartialDataClaim::Result found = PartialDataClaim::take(destinationPath_);
        if (found.outcome == PartialDataClaim::Outcome::Busy) {
            fail(describeDestinationInUse(destinationPath_));
            return false;
        }
        // Not ours to use: the bytes go to an unnamed file, kept no longer than this run.
        if (found.outcome != PartialDataClaim::Outcome::Claimed)
            return true;
        claim_ = std::move(found.claim);
    }
    const std::optional<PartialRecord> record = claim_->record();
    ByteRanges ranges;
    if (record && record->key == partialKey_.toStdString())
        ranges = continuableRanges(*record, claim_->size(), currentBootId());
    if (ranges.heldBytes() <= 0) {
        claim_->clear();
        return true;
    }
    keptBytes_ = ranges.heldBytes();
    keptRanges_ = ranges;
    // Trusted within this system run, not all of it need be on the disk yet.
    keptSyncedRanges_ = continuableRanges(*record, claim_->size(), {});
    identity_ = record->file;
    // The first hole first; the others follow (fetchInRanges).
    setRangeFrom(ranges.missing().front().begin);
    // Asked before the request: the server need not send what cannot be kept.
    return roomForTheRest(identity_.total, keptBytes_);
}

// Whether the destination's disk can take the rest of a file of fileBytes;
// fails the download when it cannot.
bool Download::roomForTheRest(std::int64_t fileBytes, std::int64_t keptBytes) {
    if (fileBytes <= 0)
        return true;
    const QFileInfo pathInfo(destinationPath_);
    const QStorageInfo storage(pathInfo.absolutePath());
    if (!storage.isValid() || !storage.isReady() ||
        fileBytes - keptBytes <= storage.bytesAvailable())
        return true;
    const QLocale locale;
    fail(tr("The file is %1, but the disk that holds %2 has only %3 free.")
             .arg(locale.formattedDataSize(fileBytes), pathInfo.absolutePath(),
                  locale.formattedDataSize(storage.bytesAvailable())));
    return false;
}

// The kept file is on the disk up to offset: a restart after a power cut
// may trust that much.
void Download::partialDataSynced(std::int64_t offset) {
    if (!running() || file_ == nullptr || !file_->isPartial())
        return;
    if (rangedRecord_) {
        rangeSynced({askedFrom_, offset}); // this transfer's bytes
        return;
    }
    if (offset <= syncedBytes_)
        return;
    syncedBytes_ = offset;
    writeKeptDataRecord(syncedBytes_);
}

// A full disk may refuse even the record: the one written at the start
// trusts no more than was written in this system run.
bool Download::recordStillHolds() const {
    const std::optional<PartialRecord> record = claim_->record();
    return record && record->key == partialKey_.toStdString() && record->file == identity_;
}

bool Download::writeKeptDataRecord(std::int64_t syncedBytes) const {
    return writePartialRecord(createdPath_,
                              {partialKey_.toStdString(), identity_, currentBootId(), syncedBytes});
}

// Says what the kept file holds, so that a later run can check an answer
// against it; a file that could never be continued gets no record.
void Download::recordPartialData() {
    if (file_ == nullptr || !file_->isPartial())
        return;
    syncedBytes_ = 0;
    if (!identity_.canBeContinued() || !writeKeptDataRecord(syncedBytes_))
        removePartialRecord(createdPath_);
}

// The answer continues what an earlier run kept: the delegate hears of the
// whole file, and of the bytes already there, as if they had just arrived.
bool Download::adoptKeptData(const HttpResponseHead& head) {
    DownloadResponse response = responseOf(head);
    response.expectedContentLength = identity_.total;
    delegate_->downloadDidReceiveResponse(*this, response);
    if (!running())
        return false;
    const std::int64_t kept = std::exchange(keptBytes_, 0);
    if (!prepareDestination(response, kept))
        return false;
    delegate_->downloadWillContinueKeptData(*this, kept);
    if (!running())
        return false;
    syncedBytes_ = keptSyncedRanges_.leadingBytes(); // on the disk, not only trusted
    bytesArrived(kept);
    return running();
}

// Leaves the data of a file that can be continued where it is, synced, with
// its record saying how much of it is on the disk.
bool Download::keepFile() {
    if (claim_ == nullptr)
        return false;
    if (file_ == nullptr)
        return keptBytes_ > 0; // an earlier run's, untouched
    if (!file_->isPartial() || !identity_.canBeContinued())
        return false;
    struct stat data {};
    if (::fstat(file_->descriptor(), &data) != 0 || data.st_size <= 0)
        return false;
    if (rangedRecord_ && connections_ != nullptr) {
        if (!keepRangedFile())
            return false;
    } else if (!file_->sync()) {
        // What did not reach the disk may be lost: only what was synced before counts.
        if (syncedBytes_ <= 0 || !file_->truncate(syncedBytes_) ||
            !writePartialRecord(createdPath_,
                                {partialKey_.toStdString(), identity_, {}, syncedBytes_}))
            return false;
    } else if (!writeKeptDataRecord(data.st_size) && !recordStillHolds()) {
        return false;
    }
    file_->keep();
    file_.reset();
    return true;
}

} // namespace reelhound
