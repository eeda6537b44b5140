#pragma once

#include <string>
#include <string_view>

namespace reelhound {

// One log message as one line: a single trailing line break is dropped, and
// every other control character (from a page, a path, a converter) is written
// as an escape so that nothing from outside can forge or split log lines.
std::string singleLineLogText(std::string_view message);

} // namespace reelhound
