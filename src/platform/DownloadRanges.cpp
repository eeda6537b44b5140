#include "platform/Download.h"

#include "platform/DownloadFile.h"
#include "platform/HttpTransfer.h"
#include "platform/PartialData.h"
#include "platform/RangeConnections.h"

// How a download fetches its file in ranges over several connections, and
// keeps a record of a file with holes.
namespace reelhound {
namespace {

// How much more the file holds before its record lists it.
constexpr std::int64_t kWrittenRecordStep = 2 * 1024 * 1024;

} // namespace

// The download's transfer writes from `from` on. Where the file may come in
// ranges it is the first of the connections; kept data with holes needs
// them even when only one may run, to fetch no more than the holes.
void Download::fetchInRanges(std::int64_t from) {
    if (connections_ != nullptr) {
        connections_->adopt(transfer_, from);
        return;
    }
    const bool holes = !keptRanges_.held().empty() && keptRanges_.held().back().end > from;
    // Too small to share, the file goes on one connection as it always did.
    const bool shared =
        options_.mostConnections > 1 && identity_.total - from >= 2 * kSmallestSplitRange;
    if (!identity_.canBeContinued() || (!shared && !holes))
        return;
    ByteRanges held =
        keptRanges_.length() == identity_.total ? keptRanges_ : ByteRanges(identity_.total);
    held.add({0, from});
    startConnections(held);
    connections_->adopt(transfer_, from);
}

void Download::startConnections(const ByteRanges& held) {
    // What kept data counts as synced is what its record said was: bytes an
    // earlier run of this system run wrote are trusted, but a power cut may
    // still lose them.
    const bool continuing = keptSyncedRanges_.length() == identity_.total;
    syncedRanges_ = continuing ? keptSyncedRanges_ : ByteRanges(identity_.total);
    syncedRanges_.add({0, syncedBytes_});
    if (held.leadingBytes() != held.heldBytes()) {
        // Kept with holes: the earlier run's record lists ranges already,
        // and stays true if it cannot be rewritten.
        recordHoles(held);
        rangedRecord_ = true;
    }
    const bool keeping = file_->isPartial();
    connections_ = new RangeConnections(
        {currentURL_, identity_, file_->descriptor(), options_.mostConnections,
         keeping ? options_.keptDataSyncInterval : 0},
        held,
        {[this](std::int64_t bytes) {
             bytesArrived(bytes);
             recordWrittenRanges();
         },
         [this](const HttpTransferOutcome& outcome) { transferEnded(outcome); },
         [this](const QString& reason) { connectionsFoundAnotherFile(reason); },
         [this](ByteRange synced) { rangeSynced(synced); },
         [this] { return recordHoles(connections_->held()); }},
        this);
}

// A file fetched from its start on one connection is a prefix, whose record
// trusts the file's length within the system run. Before any byte lands
// beyond a hole the record lists ranges instead: trusting the length would
// take the hole for data. False when it cannot: the file stays a prefix.
bool Download::recordHoles(const ByteRanges& held) {
    if (rangedRecord_ || file_ == nullptr || !file_->isPartial())
        return true;
    if (!writeRangedRecord(syncedRanges_, held))
        return false;
    rangedRecord_ = true;
    recordedBytes_ = held.heldBytes();
    return true;
}

// Never spliced: the file starts over on one connection.
void Download::connectionsFoundAnotherFile(const QString& reason) {
    discardConnections();
    discardTransfer();
    if (startFileOver(reason))
        sendRequest(requestURL_);
}

void Download::discardConnections() {
    rangedRecord_ = false;
    if (connections_ == nullptr)
        return;
    connections_->abortAll();
    // Perhaps called from one of its own handlers: it goes once that is over.
    connections_->deleteLater();
    connections_ = nullptr;
}

// These bytes are on the disk: a restart after a power cut may trust them.
void Download::rangeSynced(ByteRange synced) {
    if (!running() || file_ == nullptr || !rangedRecord_ || connections_ == nullptr)
        return;
    syncedRanges_.add(synced);
    writeRangedRecord(syncedRanges_, connections_->held());
}

// Leaves a file with holes for a later run, its record listing what it holds.
bool Download::keepRangedFile() {
    if (file_->sync())
        return writeRangedRecord(connections_->held(), connections_->held()) || recordStillHolds();
    // What did not reach the disk may be lost: only what was synced counts,
    // whatever system run it is.
    return syncedRanges_.heldBytes() > 0 &&
           writePartialRecord(createdPath_,
                              rangedPartialRecord(partialKey_.toStdString(), identity_, {},
                                                  syncedRanges_, syncedRanges_));
}

// Within this system run what was written is there, synced or not: the
// record says so often, so that a process killed loses little. A power cut
// may lose the record too, which then trusts less, never more.
void Download::recordWrittenRanges() {
    if (!running() || file_ == nullptr || !rangedRecord_ || connections_ == nullptr)
        return;
    const std::int64_t held = connections_->held().heldBytes();
    if (held - recordedBytes_ < kWrittenRecordStep)
        return;
    recordedBytes_ = held;
    writeRangedRecord(syncedRanges_, connections_->held(), Durability::MayBeLost);
}

bool Download::writeRangedRecord(const ByteRanges& synced, const ByteRanges& written,
                                 Durability durability) const {
    return writePartialRecord(
        createdPath_,
        rangedPartialRecord(partialKey_.toStdString(), identity_, currentBootId(), synced, written),
        durability);
}

int Download::connectionsRunning() const {
    if (connections_ != nullptr)
        return connections_->fetching();
    return transfer_ != nullptr ? 1 : 0;
}

// Where kept data ends in its file: nothing beyond it is trusted.
std::int64_t Download::keptFileEnd() const {
    return keptRanges_.held().empty() ? 0 : keptRanges_.held().back().end;
}

} // namespace reelhound
