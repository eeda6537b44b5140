#include "core/PathList.h"

#include <unordered_set>

namespace reelhound {
namespace {

bool isStorablePath(std::string_view path) {
    return path.starts_with('/') && path.find('\n') == std::string_view::npos;
}

} // namespace

std::vector<std::string> parsePathList(std::string_view text, bool endIsCut) {
    std::vector<std::string> paths;
    std::unordered_set<std::string_view> seen;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos && endIsCut)
            break;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (isStorablePath(line) && seen.insert(line).second)
            paths.emplace_back(line);
    }
    return paths;
}

std::string formatPathList(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        if (isStorablePath(path))
            text.append(path).append("\n");
    return text;
}

} // namespace reelhound
