#pragma once

#include "core/ByteRanges.h"

#include <cstdint>
#include <map>
#include <optional>

// Which connection of a download fetches which bytes of the file. Each
// connection works through one range from its start; a connection that runs
// out takes a range nobody has, or else the second half of the largest range
// another connection still has before it, so that all end at about the same
// time.
namespace reelhound {

// Below this a range is not split: the cost of another request outweighs it,
// and the splitting must stop somewhere.
inline constexpr std::int64_t kSmallestSplitRange = 1024 * 1024;

class RangePlan {
public:
    // Every byte of the file not in held is to be fetched.
    explicit RangePlan(ByteRanges held);

    // The range connection should ask the server for now; what it still had
    // is given back first. Nothing when every missing byte has a connection
    // and none has enough left to share.
    std::optional<ByteRange> nextRange(int connection);

    // Connection wrote these bytes to the file. True when its range is done:
    // it must stop there (its request may reach further, into a range handed
    // on since) and ask for the next.
    bool wrote(int connection, ByteRange bytes);

    // Connection ended, by failure or otherwise: what it had not fetched is
    // open for the others.
    void ended(int connection);

    // Connection's range grows over the bytes nobody has right after it, up
    // to upTo (what it asked the server for): a range given back by one that
    // was refused goes on where it came from. Returns its range.
    std::optional<ByteRange> extend(int connection, std::int64_t upTo);

    // What connection has yet to fetch of its range, if it has one.
    std::optional<ByteRange> rangeOf(int connection) const;
    int connectionsWorking() const { return static_cast<int>(ahead_.size()); }
    const ByteRanges& held() const { return held_; }
    bool whole() const { return held_.whole(); }

private:
    // The bytes no connection has and the file does not hold.
    std::vector<ByteRange> open() const;

    ByteRanges held_;
    std::map<int, ByteRange> ahead_; // per connection, what it has yet to fetch
};

} // namespace reelhound
