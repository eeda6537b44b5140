#pragma once

#include <string>
#include <string_view>
#include <vector>

// A list of absolute paths as the application stores it: one a line, oldest
// first.
namespace reelhound {

// The paths of text, each once (its first place kept). Lines that are no
// absolute path are passed over; with endIsCut (the text was read only so
// far) a last line without its line break is no path either.
std::vector<std::string> parsePathList(std::string_view text, bool endIsCut);

// The text for paths; a path that could not be read back as itself (not
// absolute, or holding a line break) is left out.
std::string formatPathList(const std::vector<std::string>& paths);

} // namespace reelhound
