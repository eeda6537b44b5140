#include "core/PathExtension.h"

namespace reelhound {

PathExtensionSplit splitPathExtension(std::string_view path) {
    while (path.ends_with('/'))
        path.remove_suffix(1);

    const auto slash = path.rfind('/');
    const std::size_t componentStart = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= componentStart)
        return {path, {}};
    return {path.substr(0, dot), path.substr(dot + 1)};
}

} // namespace reelhound
