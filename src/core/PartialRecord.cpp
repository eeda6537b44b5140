#include "core/PartialRecord.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace reelhound {
namespace {

constexpr std::string_view kFirstLine = "reelhound partial download 1";

// Values go into request fields: no control characters, no line breaks.
bool isPlainText(std::string_view value) {
    for (const char c : value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return false;
    return true;
}

std::optional<std::int64_t> parseCount(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// "BEGIN-END BEGIN-END ..." (END exclusive), in order and apart from each
// other, the first from firstBegin on, the last ending within total.
std::optional<std::vector<ByteRange>> parseRanges(std::string_view text, std::int64_t firstBegin,
                                                  std::int64_t total) {
    std::vector<ByteRange> ranges;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view item = text.substr(0, space);
        text.remove_prefix(space == std::string_view::npos ? text.size() : space + 1);
        if (space != std::string_view::npos && text.empty())
            return std::nullopt; // a space ends nothing
        const std::size_t dash = item.find('-');
        if (dash == std::string_view::npos)
            return std::nullopt;
        const auto begin = parseCount(item.substr(0, dash));
        const auto end = parseCount(item.substr(dash + 1));
        if (!begin || !end ||
            (ranges.empty() ? *begin < firstBegin : *begin <= ranges.back().end) ||
            *begin >= *end || *end > total)
            return std::nullopt;
        ranges.push_back({*begin, *end});
    }
    return ranges;
}

std::string formatRanges(const std::vector<ByteRange>& ranges) {
    std::string text;
    for (const ByteRange& range : ranges)
        text.append(text.empty() ? "" : " ")
            .append(std::to_string(range.begin))
            .append("-")
            .append(std::to_string(range.end));
    return text;
}

// The record in full, however long.
std::string formatWhole(const PartialRecord& record) {
    std::string text(kFirstLine);
    text += '\n';
    const auto field = [&](std::string_view name, std::string_view value) {
        // A value may not open a line of its own; such a record is unreadable
        // rather than misread.
        text.append(name).append("=").append(isPlainText(value) ? value : "").append("\n");
    };
    field("key", record.key);
    field("total", std::to_string(record.file.total));
    field("validator", record.file.validator);
    field("boot", record.bootId);
    field("synced", std::to_string(record.syncedBytes));
    if (!record.syncedRanges.empty())
        field("synced-ranges", formatRanges(record.syncedRanges));
    if (record.writtenRanges)
        field("written", formatRanges(*record.writtenRanges));
    return text;
}

// The record's lines by name: nothing unless the first line is ours, every
// other line is "name=value" with a known name, once, and the text ends with a
// whole line.
std::optional<std::map<std::string_view, std::string_view>> readFields(std::string_view text) {
    if (text.size() > kMaximumPartialRecordSize)
        return std::nullopt;
    std::map<std::string_view, std::string_view> fields;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (std::exchange(first, false)) {
            if (line != kFirstLine)
                return std::nullopt;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || !isPlainText(line) ||
            !fields.emplace(line.substr(0, equals), line.substr(equals + 1)).second)
            return std::nullopt;
    }
    if (first)
        return std::nullopt;
    for (const auto& [name, _] : fields)
        if (name != "key" && name != "total" && name != "validator" && name != "boot" &&
            name != "synced" && name != "synced-ranges" && name != "written")
            return std::nullopt;
    return fields;
}

} // namespace

std::string formatPartialRecord(const PartialRecord& record) {
    std::string text = formatWhole(record);
    if (text.size() <= kMaximumPartialRecordSize)
        return text;
    // Leave out the smallest ranges of either list until the rest fits; each
    // saves at least its own digits and dash.
    PartialRecord shorter = record;
    std::vector<ByteRange> noneWritten;
    std::vector<ByteRange>& written = shorter.writtenRanges ? *shorter.writtenRanges : noneWritten;
    std::vector<std::pair<ByteRange, bool>> bySize; // and whether it is a synced one
    for (const ByteRange& range : shorter.syncedRanges)
        bySize.push_back({range, true});
    for (const ByteRange& range : written)
        bySize.push_back({range, false});
    std::sort(bySize.begin(), bySize.end(),
              [](const auto& a, const auto& b) { return a.first.size() < b.first.size(); });
    std::size_t excess = text.size() - kMaximumPartialRecordSize;
    for (const auto& [range, synced] : bySize) {
        std::vector<ByteRange>& list = synced ? shorter.syncedRanges : written;
        list.erase(std::find(list.begin(), list.end(), range));
        const std::size_t cost = formatRanges({range}).size();
        if (cost >= excess)
            break;
        excess -= cost;
    }
    return formatWhole(shorter);
}

std::optional<PartialRecord> parsePartialRecord(std::string_view text) {
    const auto read = readFields(text);
    if (!read)
        return std::nullopt;
    const auto& fields = *read;
    const auto value = [&](std::string_view name) -> std::optional<std::string_view> {
        const auto found = fields.find(name);
        if (found == fields.end())
            return std::nullopt;
        return found->second;
    };
    const auto key = value("key"), validator = value("validator"), boot = value("boot");
    const auto total = parseCount(value("total").value_or(""));
    const auto synced = parseCount(value("synced").value_or(""));
    if (!key || key->empty() || !validator || validator->empty() || !boot || !total ||
        *total <= 0 || !synced || *synced < 0)
        return std::nullopt;
    PartialRecord record{std::string(*key), FileIdentity{*total, std::string(*validator)},
                         std::string(*boot), *synced};
    if (const auto ranges = value("synced-ranges")) {
        const auto parsed = parseRanges(*ranges, std::min(*synced, *total - 1) + 1, *total);
        if (!parsed)
            return std::nullopt;
        record.syncedRanges = *parsed;
    }
    if (const auto ranges = value("written")) {
        record.writtenRanges = parseRanges(*ranges, 0, *total);
        if (!record.writtenRanges)
            return std::nullopt;
    }
    return record;
}

PartialRecord rangedPartialRecord(std::string key, FileIdentity file, std::string bootId,
                                  const ByteRanges& synced, const ByteRanges& written) {
    PartialRecord record{std::move(key), std::move(file), std::move(bootId), synced.leadingBytes()};
    for (const ByteRange& range : synced.held())
        if (range.begin > 0)
            record.syncedRanges.push_back(range);
    record.writtenRanges = written.held();
    return record;
}

ByteRanges continuableRanges(const PartialRecord& record, std::int64_t fileBytes,
                             std::string_view currentBootId) {
    ByteRanges trusted(record.file.total);
    trusted.add({0, record.syncedBytes});
    for (const ByteRange& range : record.syncedRanges)
        trusted.add(range);
    if (!record.bootId.empty() && record.bootId == currentBootId) {
        if (record.writtenRanges)
            for (const ByteRange& range : *record.writtenRanges)
                trusted.add(range);
        else
            trusted.add({0, fileBytes});
    }
    // Nothing past the end of the file is there, whatever the record says.
    trusted.remove({std::max<std::int64_t>(fileBytes, 0), record.file.total});
    if (trusted.whole())
        trusted.remove({record.file.total - 1, record.file.total});
    return trusted;
}

std::int64_t continuablePartialBytes(const PartialRecord& record, std::int64_t fileBytes,
                                     std::string_view currentBootId) {
    return continuableRanges(record, fileBytes, currentBootId).leadingBytes();
}

} // namespace reelhound
