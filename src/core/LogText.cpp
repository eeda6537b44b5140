#include "core/LogText.h"

#include <cstdio>

namespace reelhound {

std::string singleLineLogText(std::string_view message) {
    if (message.ends_with('\n'))
        message.remove_suffix(1);
    std::string line;
    line.reserve(message.size());
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\t':
            line += "\\t";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
                line += escaped;
            } else {
                line += c;
            }
        }
    }
    return line;
}

} // namespace reelhound
