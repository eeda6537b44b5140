#include "platform/RangeConnections.h"

#include "core/RetryPolicy.h"
#include "platform/ResponseEntity.h"

#include <algorithm>

namespace reelhound {
namespace {

// Often enough to notice a rate span's end, rarely enough to cost nothing.
constexpr std::chrono::milliseconds kTick(20);
// A connection that failed is not replaced at once: a server that drops
// every connection would otherwise be asked again and again.
constexpr double kPauseAfterFailure = 1;
// How long a connection's first bytes come faster or slower than the rest.
constexpr double kWarmUp = 0.05;

QList<QByteArray> rangeFields(ByteRange range, const std::string& validator) {
    return {"Range: bytes=" + QByteArray::number(range.begin) + '-' +
                QByteArray::number(range.end - 1),
            "If-Range: " + QByteArray::fromStdString(validator)};
}

} // namespace

RangeConnections::RangeConnections(const Target& target, ByteRanges held, Handlers handlers,
                                   QObject* parent)
    : QObject(parent), target_(target), handlers_(std::move(handlers)), plan_(std::move(held)),
      count_(target.mostConnections) {
    clock_.start();
    connect(&tick_, &QTimer::timeout, this, &RangeConnections::tick);
}

RangeConnections::~RangeConnections() {
    abortAll();
}

void RangeConnections::adopt(HttpTransfer* transfer, std::int64_t offset) {
    const std::optional<ByteRange> range = plan_.nextRange(0);
    // Asked for what is there already: it ends at once, as done.
    transfer->stopAt(range && range->begin == offset ? range->end : offset);
    // It asked for all from offset on.
    connections_[0] = {transfer, {offset, target_.file.total}, offset, true, {}};
    lastTick_ = seconds();
    tick_.start(kTick);
}

void RangeConnections::abortAll() {
    tick_.stop();
    while (!connections_.empty()) {
        const auto connection = connections_.begin();
        plan_.ended(connection->first);
        if (connection->first != 0 && connection->second.transfer) // not the download's own
            connection->second.transfer->abort();
        forget(connection);
    }
}

// What it wrote still counts towards the rate; an own transfer goes once the
// handler that perhaps called this is over.
void RangeConnections::forget(std::map<int, Connection>::iterator connection) {
    if (HttpTransfer* transfer = connection->second.transfer) {
        endedBytes_ += transfer->bodyBytesSoFar();
        if (connection->first != 0)
            transfer->deleteLater();
    }
    connections_.erase(connection);
}

// Counted as the transfers write, ahead of their batched reports: a short
// span's rate is not off by a batch.
std::int64_t RangeConnections::bytesSoFar() const {
    std::int64_t bytes = endedBytes_;
    for (const auto& [id, connection] : connections_)
        if (connection.transfer)
            bytes += connection.transfer->bodyBytesSoFar();
    return bytes;
}

// Each tick, the connections found waiting for the network are taken to have
// waited since the last: over a span, what share of their time they waited.
void RangeConnections::noteWaiting(double now) {
    const auto waiting =
        std::count_if(connections_.begin(), connections_.end(), [now](const auto& c) {
            return isFlowing(c.second, now) && c.second.transfer &&
                   c.second.transfer->waitingForNetwork();
        });
    secondsWaited_ += static_cast<double>(waiting) * (now - lastTick_);
    lastTick_ = now;
}

double RangeConnections::seconds() const {
    return static_cast<double>(clock_.elapsed()) / 1000;
}

// Bytes flowing for a while, not just an answer: a connection waiting for
// its first bytes understates what it adds, one filling the socket buffers on
// its first bytes overstates it.
bool RangeConnections::isFlowing(const Connection& connection, double now) {
    return connection.firstBytes && now - *connection.firstBytes >= kWarmUp;
}

int RangeConnections::flowing() const {
    const double now = seconds();
    return static_cast<int>(
        std::count_if(connections_.begin(), connections_.end(),
                      [now](const auto& c) { return isFlowing(c.second, now); }));
}

int RangeConnections::fetching() const {
    return static_cast<int>(std::count_if(connections_.begin(), connections_.end(),
                                          [](const auto& c) { return c.second.answerTaken; }));
}

void RangeConnections::tick() {
    const double now = seconds();
    noteWaiting(now);
    count_.sample({now, bytesSoFar(), flowing(), secondsWaited_});
    openWhileAllowed();
}

void RangeConnections::openWhileAllowed() {
    // The count keeps within what the download allows.
    while (!noMoreConnections_ && seconds() >= quietUntil_ &&
           count_.mayOpen(seconds(), running()) && open()) {
    }
}

bool RangeConnections::open() {
    const int id = nextId_++;
    const std::optional<ByteRange> range = plan_.nextRange(id);
    if (!range)
        return false;
    auto* transfer =
        new HttpTransfer(target_.url,
                         {[this, id](const HttpResponseHead& head) { answered(id, head); },
                          [this, id](std::int64_t bytes) { wrote(id, bytes); },
                          [this, id](const HttpTransferOutcome& outcome) { ended(id, outcome); },
                          {},
                          [this, id, begin = range->begin](std::int64_t offset) {
                              handlers_.synced({begin, offset});
                          }},
                         this, rangeFields(*range, target_.file.validator));
    transfer->syncEvery(target_.syncInterval);
    // The person answered for the download's request; more questions for the
    // same file would only be in the way (see ended).
    transfer->neverAskForProxyCredentials();
    connections_[id] = {transfer, *range, range->begin, false, {}};
    moveStops(); // the range was perhaps split off another's
    return true;
}

// Each connection stops where the plan now ends its range.
void RangeConnections::moveStops() {
    for (const auto& [id, connection] : connections_)
        if (const std::optional<ByteRange> range = plan_.rangeOf(id); range && connection.transfer)
            connection.transfer->stopAt(range->end);
}

void RangeConnections::answered(int id, const HttpResponseHead& head) {
    Connection& connection = connections_.at(id);
    if (head.status == 429 || head.status == 503) {
        refusedBy(id, head);
        return;
    }
    const ContinuationVerdict verdict = checkContinuation(
        continuationAnswerOf(head), connection.asked.begin, target_.file, connection.asked.end - 1);
    const bool usable =
        verdict == ContinuationVerdict::Continues && whyBodyIsPacked(head).isEmpty();
    if (usable && handlers_.holesAhead()) {
        connection.answerTaken = true;
        connection.transfer->writeBodyTo(target_.descriptor, connection.asked.begin);
        return;
    }
    // A whole file instead of the range is the same file only by the same
    // validator and length; anything else, or a range the file may not take
    // (see holesAhead), is no range to be used.
    const bool otherFile = verdict == ContinuationVerdict::FileChanged ||
                           (verdict == ContinuationVerdict::RangesIgnored &&
                            (validatorOf(head) != target_.file.validator ||
                             head.field("Content-Length").toLongLong() != target_.file.total));
    drop(id);
    if (otherFile) {
        handlers_.fileChanged(
            QString::fromStdString(describeContinuationVerdict(ContinuationVerdict::FileChanged)));
        return;
    }
    noMoreConnections_ = true;
    if (connections_.empty())
        becameIdle({});
}

// The server holds no more connections than it has now, for a while.
void RangeConnections::refusedBy(int id, const HttpResponseHead& head) {
    drop(id);
    const std::optional<int> retryAfter = parseRetryAfter(head.field("Retry-After").toStdString());
    count_.refused(seconds(),
                   retryAfter ? std::optional<double>(*retryAfter) : std::optional<double>(),
                   flowing());
    if (connections_.empty())
        becameIdle({});
}

void RangeConnections::drop(int id) {
    const auto found = connections_.find(id);
    if (found == connections_.end())
        return;
    found->second.transfer->abort();
    forget(found);
    giveBack(id);
}

void RangeConnections::giveBack(int id) {
    plan_.ended(id);
    // A range split off another's and never started: that one takes it back.
    for (const auto& [other, connection] : connections_)
        plan_.extend(other, connection.asked.end);
    moveStops();
}

void RangeConnections::wrote(int id, std::int64_t bytes) {
    const auto found = connections_.find(id);
    if (found == connections_.end() || bytes <= 0)
        return;
    Connection& connection = found->second;
    if (!connection.firstBytes)
        connection.firstBytes = seconds();
    const ByteRange written{connection.next, connection.next + bytes};
    connection.next = written.end;
    const std::int64_t before = plan_.held().heldBytes();
    // Done: what it wrote beyond its range's end is someone else's, and the same bytes.
    if (plan_.wrote(id, written))
        connection.transfer->stopAt(connection.next);
    handlers_.held(plan_.held().heldBytes() - before); // may end everything
}

void RangeConnections::ended(int id, const HttpTransferOutcome& outcome) {
    const auto found = connections_.find(id);
    if (found == connections_.end()) {
        // The download's transfer ended before it was adopted: nothing runs.
        if (connections_.empty())
            becameIdle(outcome);
        return;
    }
    const bool rangeDone = !plan_.rangeOf(id);
    forget(found);
    giveBack(id);
    if (outcome.kind == HttpTransferOutcome::Kind::WriteFailed) {
        handlers_.idle(outcome);
        return;
    }
    if (outcome.kind != HttpTransferOutcome::Kind::Completed || !rangeDone) {
        lastFailure_ = outcome;
        quietUntil_ = seconds() + kPauseAfterFailure;
        if (outcome.networkError == QNetworkReply::ConnectionRefusedError)
            count_.refused(seconds(), std::nullopt, flowing());
        // Credentials handed out for one request only: the others go without.
        if (outcome.networkError == QNetworkReply::ProxyAuthenticationRequiredError)
            noMoreConnections_ = true;
    }
    // A connection done with its range takes half of the largest one left.
    openWhileAllowed();
    if (connections_.empty())
        becameIdle(plan_.whole() ? HttpTransferOutcome{} : lastFailure_.value_or(outcome));
}

// Nothing opens until the download adopts its next transfer.
void RangeConnections::becameIdle(const HttpTransferOutcome& outcome) {
    tick_.stop();
    lastFailure_.reset();
    handlers_.idle(outcome);
}

} // namespace reelhound
