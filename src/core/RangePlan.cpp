#include "core/RangePlan.h"

#include <algorithm>

namespace reelhound {

RangePlan::RangePlan(ByteRanges held) : held_(std::move(held)) {}

std::optional<ByteRange> RangePlan::nextRange(int connection) {
    ended(connection);
    // Bytes nobody fetches come first, in file order, so that a continuation
    // on one connection reads the file from its start.
    if (const std::vector<ByteRange> bytes = open(); !bytes.empty())
        return ahead_[connection] = bytes.front();

    auto largest = std::max_element(ahead_.begin(), ahead_.end(), [](const auto& a, const auto& b) {
        return a.second.size() < b.second.size();
    });
    if (largest == ahead_.end() || largest->second.size() < 2 * kSmallestSplitRange)
        return std::nullopt;
    ByteRange& shared = largest->second;
    const std::int64_t middle = shared.begin + shared.size() / 2;
    const ByteRange handedOn{middle, shared.end};
    shared.end = middle;
    return ahead_[connection] = handedOn;
}

bool RangePlan::wrote(int connection, ByteRange bytes) {
    held_.add(bytes);
    const auto found = ahead_.find(connection);
    if (found == ahead_.end())
        return true;
    ByteRange& range = found->second;
    if (bytes.begin <= range.begin && bytes.end > range.begin)
        range.begin = std::min(bytes.end, range.end);
    if (range.begin < range.end)
        return false;
    ahead_.erase(found);
    return true;
}

std::vector<ByteRange> RangePlan::open() const {
    ByteRanges taken = held_;
    for (const auto& [other, range] : ahead_)
        taken.add(range);
    return taken.missing();
}

std::optional<ByteRange> RangePlan::extend(int connection, std::int64_t upTo) {
    const auto found = ahead_.find(connection);
    if (found == ahead_.end())
        return std::nullopt;
    ByteRange& range = found->second;
    for (const ByteRange& bytes : open())
        if (bytes.begin == range.end)
            range.end = std::max(range.end, std::min(bytes.end, upTo));
    return range;
}

void RangePlan::ended(int connection) {
    ahead_.erase(connection);
}

std::optional<ByteRange> RangePlan::rangeOf(int connection) const {
    const auto found = ahead_.find(connection);
    if (found == ahead_.end())
        return std::nullopt;
    return found->second;
}

} // namespace reelhound
