#include "core/SourceFile.h"

#include "core/PathExtension.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace reelhound {

bool isConvertibleSourcePath(std::string_view path) {
    // The system calls would silently stop at an embedded NUL and test
    // another path than the one the converter would be given.
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return false;

    const std::string pathText(path);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::path(pathText), error))
        return false;
    if (access(pathText.c_str(), R_OK) != 0)
        return false;
    return pathExtension(path) == "flv";
}

} // namespace reelhound
