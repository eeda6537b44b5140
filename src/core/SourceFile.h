#pragma once

#include <string_view>

namespace reelhound {

// Whether a path may be handed to the converter as its source: something
// exists there (a directory counts), this process may read it, and its
// extension is exactly "flv", case included.
bool isConvertibleSourcePath(std::string_view path);

} // namespace reelhound
