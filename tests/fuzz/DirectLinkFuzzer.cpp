// Any service page: extraction never fails badly, and an address it finds
// begins with the direct-link prefix, holds no terminator, and is the text
// from the first prefix up to the first terminator after it.
#include "FuzzCheck.h"
#include "core/DirectLink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace reelhound;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    const std::string prefix = directLinkPrefix();
    const DirectLinkExtraction link = extractDirectLink(page);

    FUZZ_CHECK(link.address.has_value() == (link.problem == DirectLinkProblem::None));
    FUZZ_CHECK(describeDirectLinkProblem(link.problem).empty() == link.address.has_value());
    const auto start = page.find(prefix);
    FUZZ_CHECK((link.problem == DirectLinkProblem::NoPrefix) == (start == std::string_view::npos));
    if (!link.address)
        return 0;

    const std::string& address = *link.address;
    FUZZ_CHECK(address.starts_with(prefix));
    FUZZ_CHECK(address.find(kDirectLinkTerminator) == std::string::npos);
    FUZZ_CHECK(page.substr(start, address.size()) == address);
    FUZZ_CHECK(page.substr(start + address.size()).starts_with(kDirectLinkTerminator));
    return 0;
}
