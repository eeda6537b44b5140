#include "stub-site/BodySources.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace reelhound {
namespace {

// A prime, so the repeating pattern never lines up with buffer sizes and an
// offset mistake in a client shows up as wrong bytes.
constexpr std::size_t kPatternLength = 65521;

const std::array<char, kPatternLength>& pattern() {
    static const auto table = [] {
        std::array<char, kPatternLength> bytes{};
        std::uint32_t state = 2463534242u; // xorshift32
        for (auto& byte : bytes) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            byte = static_cast<char>(state >> 24);
        }
        return bytes;
    }();
    return table;
}

} // namespace

void copyPattern(qint64 offset, char* into, qint64 length) {
    const auto& bytes = pattern();
    std::size_t position = static_cast<std::size_t>(offset % static_cast<qint64>(kPatternLength));
    while (length > 0) {
        const auto piece = std::min<qint64>(length, static_cast<qint64>(kPatternLength - position));
        std::memcpy(into, bytes.data() + position, static_cast<std::size_t>(piece));
        into += piece;
        length -= piece;
        position = 0;
    }
}

} // namespace reelhound
