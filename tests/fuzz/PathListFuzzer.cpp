// Any index file, read whole or cut short: every path read back is absolute,
// one line of the text, and there once; written out and read again, the list
// is the same.
#include "FuzzCheck.h"
#include "core/PathList.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

using namespace reelhound;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool cut : {false, true}) {
        const std::vector<std::string> paths = parsePathList(text, cut);
        // The lines of the text; with cut, only those that end in a line break.
        std::set<std::string_view> lines;
        for (std::string_view rest = text; !rest.empty();) {
            const std::size_t end = rest.find('\n');
            if (end != std::string_view::npos || !cut)
                lines.insert(rest.substr(0, end));
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        }
        std::set<std::string> seen;
        for (const std::string& path : paths) {
            FUZZ_CHECK(path.starts_with('/'));
            FUZZ_CHECK(path.find('\n') == std::string::npos);
            FUZZ_CHECK(seen.insert(path).second);
            FUZZ_CHECK(lines.contains(path));
        }
        FUZZ_CHECK(parsePathList(formatPathList(paths), true) == paths);
        FUZZ_CHECK(parsePathList(formatPathList(paths), false) == paths);
    }
    return 0;
}
