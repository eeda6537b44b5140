#pragma once

#include <cstddef>
#include <string>
#include <string_view>

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

    void append(std::string_view bytes);

    // The last line that holds more than white space, trimmed, as the bytes
    // that came (a shortened line starts at a whole character); empty when
    // there was none.
    std::string text() const;

private:
    void endLine();
    static bool isBlank(std::string_view line);

    std::string current_;
    bool currentTruncated_ = false;
    std::string lastComplete_;
    bool lastCompleteTruncated_ = false;
};

} // namespace reelhound
