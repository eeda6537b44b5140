#include "core/ContentRange.h"

#include <charconv>
#include <string_view>

namespace reelhound {
namespace {

// A run of digits from position, advancing it.
std::optional<std::int64_t> number(const std::string& text, std::size_t& position) {
    std::int64_t value = 0;
    const char* begin = text.data() + position;
    const auto [stop, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || stop == begin || *begin == '-' || *begin == '+')
        return std::nullopt;
    position += static_cast<std::size_t>(stop - begin);
    return value;
}

bool skip(const std::string& text, std::size_t& position, char expected) {
    if (position >= text.size() || text[position] != expected)
        return false;
    ++position;
    return true;
}

} // namespace

std::optional<ContentRange> parseContentRange(const std::string& field) {
    constexpr std::string_view unit = "bytes ";
    if (field.compare(0, unit.size(), unit) != 0)
        return std::nullopt;
    std::size_t position = unit.size();
    ContentRange range;
    const auto first = number(field, position);
    if (!first || !skip(field, position, '-'))
        return std::nullopt;
    const auto last = number(field, position);
    if (!last || !skip(field, position, '/'))
        return std::nullopt;
    range.first = *first;
    range.last = *last;
    if (position + 1 == field.size() && field[position] == '*') {
        position = field.size();
    } else {
        range.total = number(field, position);
        if (!range.total)
            return std::nullopt;
    }
    if (position != field.size() || range.last < range.first ||
        (range.total && range.last >= *range.total))
        return std::nullopt;
    return range;
}

ContinuationVerdict checkContinuation(const ContinuationAnswer& answer, std::int64_t from,
                                      const FileIdentity& file, std::optional<std::int64_t> last) {
    if (answer.status == 200)
        return ContinuationVerdict::RangesIgnored;
    if (answer.status != 206)
        return ContinuationVerdict::RangeDoesNotFit;
    if (answer.validator != file.validator)
        return ContinuationVerdict::FileChanged;
    const auto range = parseContentRange(answer.contentRange);
    if (!range || range->first != from)
        return ContinuationVerdict::RangeDoesNotFit;
    if (!range->total || *range->total != file.total)
        return ContinuationVerdict::FileChanged;
    if (range->last != last.value_or(file.total - 1))
        return ContinuationVerdict::RangeDoesNotFit;
    return ContinuationVerdict::Continues;
}

std::string describeContinuationVerdict(ContinuationVerdict verdict) {
    switch (verdict) {
    case ContinuationVerdict::Continues:
        return "the server continued the file";
    case ContinuationVerdict::RangesIgnored:
        return "the server ignored the range and sent the whole file";
    case ContinuationVerdict::FileChanged:
        return "the file changed on the server";
    case ContinuationVerdict::RangeDoesNotFit:
        return "the server's range does not continue the file";
    }
    return {};
}

} // namespace reelhound
