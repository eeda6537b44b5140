#include "core/ConverterOutput.h"

namespace reelhound {
namespace {

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
constexpr std::string_view kWhiteSpace = " \t\v\f";

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

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
    text += line;
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
