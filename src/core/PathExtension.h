#pragma once

#include <string_view>

namespace reelhound {

// A path split at the extension of its last component. Trailing "/" characters
// are not part of either half. A "." that opens the component (".flv") starts
// no extension, while a "." in a directory name never counts.
struct PathExtensionSplit {
    std::string_view withoutExtension;
    std::string_view extension; // empty when the last component has none
};

PathExtensionSplit splitPathExtension(std::string_view path);

inline std::string_view pathExtension(std::string_view path) {
    return splitPathExtension(path).extension;
}

} // namespace reelhound
