#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Whether an answer to a request for the rest of a file continues it.
namespace reelhound {

// "bytes FIRST-LAST/TOTAL" of a Content-Range field; TOTAL may be "*".
struct ContentRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::optional<std::int64_t> total;
};

// Nothing for anything else, including a range that ends before it starts or
// beyond the total.
std::optional<ContentRange> parseContentRange(const std::string& field);

// What the first answer said about the file.
struct FileIdentity {
    std::int64_t total = -1;
    std::string validator; // the ETag, or else Last-Modified

    // Only a known length and a validator show that a later answer's bytes
    // belong to the same file.
    bool canBeContinued() const { return total > 0 && !validator.empty(); }
    bool operator==(const FileIdentity&) const = default;
};

// A continuation's answer to "Range: bytes=from-" (or "from-last").
struct ContinuationAnswer {
    int status = 0;
    std::string contentRange;
    std::string validator; // taken the same way as the first answer's
};

enum class ContinuationVerdict {
    Continues,       // a 206 for exactly the rest of the same file
    RangesIgnored,   // a 200: the whole file again
    FileChanged,     // another validator or total
    RangeDoesNotFit, // a 206 that starts elsewhere or is no valid range, or a 416
};

// last: the last byte asked for, when not the file's.
ContinuationVerdict checkContinuation(const ContinuationAnswer& answer, std::int64_t from,
                                      const FileIdentity& file,
                                      std::optional<std::int64_t> last = std::nullopt);

// For the log: why the download starts over from byte 0.
std::string describeContinuationVerdict(ContinuationVerdict verdict);

} // namespace reelhound
