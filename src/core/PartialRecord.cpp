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

} // namespace

std::string formatPartialRecord(const PartialRecord& record) {
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
    return text;
}

std::optional<PartialRecord> parsePartialRecord(std::string_view text) {
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
    if (first || fields.size() != 5)
        return std::nullopt;
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
    return PartialRecord{std::string(*key), FileIdentity{*total, std::string(*validator)},
                         std::string(*boot), *synced};
}

std::int64_t continuablePartialBytes(const PartialRecord& record, std::int64_t fileBytes,
                                     std::string_view currentBootId) {
    std::int64_t bytes = std::max<std::int64_t>(fileBytes, 0);
    if (record.bootId.empty() || record.bootId != currentBootId)
        bytes = std::min(bytes, record.syncedBytes);
    return std::min(bytes, record.file.total - 1);
}

} // namespace reelhound
