#pragma once

#include <cstdint>
#include <vector>

// Which bytes of one file of known length are held, as ranges kept sorted,
// apart and merged, so that what is missing can be asked for.
namespace reelhound {

// The bytes [begin, end) of a file.
struct ByteRange {
    std::int64_t begin = 0;
    std::int64_t end = 0;

    std::int64_t size() const { return end - begin; }
    bool operator==(const ByteRange&) const = default;
};

class ByteRanges {
public:
    explicit ByteRanges(std::int64_t length = 0);

    std::int64_t length() const { return length_; }
    // Cut to the file first; overlapping and touching ranges become one.
    void add(ByteRange range);
    void remove(ByteRange range);

    // Sorted, non-empty, neither overlapping nor touching.
    const std::vector<ByteRange>& held() const { return held_; }
    std::vector<ByteRange> missing() const;
    std::int64_t heldBytes() const;
    bool whole() const;
    // How far the held bytes reach from the start without a hole.
    std::int64_t leadingBytes() const;

    bool operator==(const ByteRanges&) const = default;

private:
    std::int64_t length_;
    std::vector<ByteRange> held_;
};

} // namespace reelhound
