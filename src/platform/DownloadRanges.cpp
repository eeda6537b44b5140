#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/PartialData.h"
#include "platform/RangeConnections.h"

// How a download fetches its file in ranges over several connections, and
// keeps a record of a file with holes.
namespace reelhound {

// The download's transfer writes from `from` on. Where the file may come in
// ranges it is the first of the connections; kept data with holes needs
// them even when only one may run, to fetch no more than the holes.
void Download::fetchInRanges(std::int64_t from) {
    if (connections_ != nullptr) {
        connections_->adopt(transfer_, from);
        return;
    }
    const bool holes = !keptRanges_.held().empty() && keptRanges_.held().back().end > from;
    if (!identity_.canBeContinued() || (options_.mostConnections <= 1 && !holes))
        return;
    ByteRanges held = keptRanges_.length() == identity_.total ? keptRanges_
                                                               : ByteRanges(identity_.total);
    held.add({0, from});
    startConnections(held);
    connections_->adopt(transfer_, from);
}

void Download::startConnections(const ByteRanges& held) {
    // Before any byte lands beyond a hole: a record that trusts the file's
    // length would take the hole for data.
    if (file_->isPartial()) {
        ByteRanges synced(identity_.total);
        synced.add({0, syncedBytes_});
        if (!writeRangedRecord(synced, held))
            removePartialRecord(createdPath_);
    }
    connections_ = new RangeConnections(
        {currentURL_, identity_, file_->descriptor(), options_.mostConnections}, held,
        {[this](std::int64_t bytes) { bytesArrived(bytes); },
         [this](const HttpTransferOutcome& outcome) { transferEnded(outcome); },
         [this](const QString& reason) { connectionsFoundAnotherFile(reason); }},
        this);
}

// Never spliced: the file starts over on one connection.
void Download::connectionsFoundAnotherFile(const QString& reason) {
    discardConnections();
    discardTransfer();
    if (startFileOver(reason))
        sendRequest(requestURL_);
}

void Download::discardConnections() {
    if (connections_ == nullptr)
        return;
    connections_->abortAll();
    // Perhaps called from one of its own handlers: it goes once that is over.
    connections_->deleteLater();
    connections_ = nullptr;
}

bool Download::writeRangedRecord(const ByteRanges& synced, const ByteRanges& written) const {
    return writePartialRecord(createdPath_,
                              rangedPartialRecord(partialKey_.toStdString(), identity_,
                                                  currentBootId(), synced, written));
}

// Where kept data ends in its file: nothing beyond it is trusted.
std::int64_t Download::keptFileEnd() const {
    return keptRanges_.held().empty() ? 0 : keptRanges_.held().back().end;
}

} // namespace reelhound
