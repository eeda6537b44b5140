#include "core/ConverterOutput.h"

namespace reelhound {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr std::string_view kWhiteSpace = " \t\v\f";

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

// Each maximal invalid subsequence becomes one replacement character, the way
// browsers and Qt decode, so the same bytes always show the same text.
std::string decodeUtf8Lossily(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += static_cast<char>(lead);
            ++i;
            continue;
        }

        std::size_t length = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondLow = 0xA0; // no overlong forms
            else if (lead == 0xED)
                secondHigh = 0x9F; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondLow = 0x90;
            else if (lead == 0xF4)
                secondHigh = 0x8F; // nothing above U+10FFFF
        }
        if (length == 0) {
            text += kReplacementCharacter;
            ++i;
            continue;
        }

        std::size_t valid = 1;
        while (valid < length && i + valid < bytes.size()) {
            const auto byte = static_cast<unsigned char>(bytes[i + valid]);
            const bool fits =
                valid == 1 ? byte >= secondLow && byte <= secondHigh : isContinuation(byte);
            if (!fits)
                break;
            ++valid;
        }
        if (valid == length)
            text.append(bytes.substr(i, length));
        else
            text += kReplacementCharacter;
        i += valid;
    }
    return text;
}

void LastOutputLine::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        std::string_view piece = bytes.substr(0, end);
        if (piece.size() > kMaxLineBytes) {
            current_.clear();
            piece.remove_prefix(piece.size() - kMaxLineBytes);
            currentTruncated_ = true;
        }
        current_.append(piece);
        if (current_.size() > kMaxLineBytes) {
            current_.erase(0, current_.size() - kMaxLineBytes);
            currentTruncated_ = true;
        }
        if (end == std::string_view::npos)
            break;
        endLine();
        bytes.remove_prefix(end + 1);
    }
}

std::string LastOutputLine::text() const {
    const bool currentCounts = counts(current_);
    std::string_view line = currentCounts ? current_ : lastComplete_;
    const bool truncated = currentCounts ? currentTruncated_ : lastCompleteTruncated_;

    if (truncated) {
        // The kept end may begin inside a character; start at the next whole one.
        while (!line.empty() && isContinuation(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
    }
    const auto first = line.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos)
        return {};
    line = line.substr(first, line.find_last_not_of(kWhiteSpace) - first + 1);

    std::string text = truncated ? std::string(kEllipsis) : std::string();
    text += decodeUtf8Lossily(line);
    return text;
}

void LastOutputLine::endLine() {
    if (lineEnded_ && !current_.empty())
        lineEnded_(current_);
    if (counts(current_)) {
        lastComplete_.swap(current_);
        lastCompleteTruncated_ = currentTruncated_;
    }
    current_.clear();
    currentTruncated_ = false;
}

bool LastOutputLine::counts(std::string_view line) const {
    return !isBlank(line) && (keeps_ == nullptr || keeps_(line));
}

bool LastOutputLine::isBlank(std::string_view line) {
    return line.find_first_not_of(kWhiteSpace) == std::string_view::npos;
}

} // namespace reelhound
