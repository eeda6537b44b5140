#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

// Following the converter's error output, which arrives in arbitrary chunks
// of bytes, to the line the window shows. The bytes stay as they came: the
// platform decodes them as UTF-8, lossily.
namespace reelhound {

// Follows a stream of output in chunks and keeps only its last non-empty line
// (lines end at "\r" or "\n"; progress lines end in "\r"). Memory stays
// bounded however much is written: of a line longer than kMaxLineBytes only
// its end is kept.
class LastOutputLine {
public:
    static constexpr std::size_t kMaxLineBytes = 4096;

    // Says whether a line (raw bytes, white space included) is worth keeping.
    using LineFilter = bool (*)(std::string_view line);
    // Hears of every line as it ends, kept or not.
    using LineObserver = std::function<void(std::string_view line)>;

    LastOutputLine() = default;
    LastOutputLine(LineFilter keeps, LineObserver lineEnded)
        : keeps_(keeps), lineEnded_(std::move(lineEnded)) {}

    void append(std::string_view bytes);
    // The stream is over: a last line without a line end has ended too.
    void end() { endLine(); }

    // The last line that holds more than white space, trimmed, as the bytes
    // that came (a shortened line starts at a whole character); empty when
    // there was none.
    std::string text() const;

private:
    void endLine();
    bool counts(std::string_view line) const;
    static bool isBlank(std::string_view line);

    LineFilter keeps_ = nullptr;
    LineObserver lineEnded_;
    std::string current_;
    bool currentTruncated_ = false;
    std::string lastComplete_;
    bool lastCompleteTruncated_ = false;
};

} // namespace reelhound
