#pragma once

#include <fstream>
#include <string>

namespace reelhound::testing {

// A field of this process's /proc/self/status in KiB ("VmRSS:", "VmHWM:"),
// or -1 when there is no such field.
inline long processStatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix(field);
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(prefix))
            return std::stol(line.substr(prefix.size()));
    }
    return -1;
}

} // namespace reelhound::testing
