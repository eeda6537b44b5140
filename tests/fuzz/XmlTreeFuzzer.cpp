// Any text as XML: the parse either gives a whole tree or a reason, and both
// lookups work on whatever tree it gives, at every level.
#include "FuzzCheck.h"
#include "core/XmlTree.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace reelhound;

namespace {

// Looks every child element up by its own name, and under a name that is one
// character off, then builds the dictionary of each level down the first branch.
void lookUp(pugi::xml_node tree, std::size_t depth) {
    FUZZ_CHECK(depth <= kMaxXmlTreeDepth + 1);
    FUZZ_CHECK(!diveIntoTree(tree, ""));
    for (pugi::xml_node child = tree.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string name = child.name();
        const pugi::xml_node found = diveIntoTree(tree, name);
        FUZZ_CHECK(found && found.type() == pugi::node_element && found.parent() == tree);
        FUZZ_CHECK(name == found.name());
        const pugi::xml_node other = diveIntoTree(tree, name + "x");
        FUZZ_CHECK(!other || other.name() == name + "x");
    }
    (void)buildDictFromTree(tree);
    if (pugi::xml_node first = tree.first_child())
        lookUp(first, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const XmlTreeParseResult parsed = parseXmlTree(text);
    FUZZ_CHECK((parsed.document != nullptr) == parsed.error.empty());
    if (parsed.document)
        lookUp(*parsed.document, 0);
    return 0;
}
