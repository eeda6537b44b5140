#include "core/ByteRanges.h"

#include <algorithm>

namespace reelhound {

ByteRanges::ByteRanges(std::int64_t length) : length_(std::max<std::int64_t>(length, 0)) {}

void ByteRanges::add(ByteRange range) {
    range = {std::max<std::int64_t>(range.begin, 0), std::min(range.end, length_)};
    if (range.begin >= range.end)
        return;
    // Every held range that overlaps or touches the new one is swallowed by it.
    auto first = std::lower_bound(held_.begin(), held_.end(), range.begin,
                                  [](const ByteRange& r, std::int64_t at) { return r.end < at; });
    auto last = first;
    while (last != held_.end() && last->begin <= range.end) {
        range = {std::min(range.begin, last->begin), std::max(range.end, last->end)};
        ++last;
    }
    held_.insert(held_.erase(first, last), range);
}

void ByteRanges::remove(ByteRange range) {
    if (range.begin >= range.end)
        return;
    std::vector<ByteRange> kept;
    kept.reserve(held_.size() + 1);
    for (const ByteRange& r : held_) {
        if (r.end <= range.begin || r.begin >= range.end) {
            kept.push_back(r);
            continue;
        }
        if (r.begin < range.begin)
            kept.push_back({r.begin, range.begin});
        if (r.end > range.end)
            kept.push_back({range.end, r.end});
    }
    held_ = std::move(kept);
}

std::vector<ByteRange> ByteRanges::missing() const {
    std::vector<ByteRange> gaps;
    std::int64_t from = 0;
    for (const ByteRange& r : held_) {
        if (r.begin > from)
            gaps.push_back({from, r.begin});
        from = r.end;
    }
    if (from < length_)
        gaps.push_back({from, length_});
    return gaps;
}

std::int64_t ByteRanges::heldBytes() const {
    std::int64_t bytes = 0;
    for (const ByteRange& r : held_)
        bytes += r.size();
    return bytes;
}

bool ByteRanges::whole() const {
    return length_ > 0 && held_.size() == 1 && held_.front() == ByteRange{0, length_};
}

std::int64_t ByteRanges::leadingBytes() const {
    return !held_.empty() && held_.front().begin == 0 ? held_.front().end : 0;
}

} // namespace reelhound
