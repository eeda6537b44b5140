#include "core/XmlTree.h"

#include <optional>

namespace reelhound {
namespace {

constexpr unsigned kParseOptions = pugi::parse_full | pugi::parse_ws_pcdata;

std::string positionInText(std::string_view text, std::ptrdiff_t offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) > text.size())
        return {};
    std::size_t line = 1;
    std::size_t column = 1;
    for (char c : text.substr(0, static_cast<std::size_t>(offset))) {
        if (c == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return " at line " + std::to_string(line) + ", column " + std::to_string(column);
}

// pugixml parses and frees trees of any depth without recursing; this walk does
// not recurse either. Returns the first node found deeper than the limit.
pugi::xml_node firstNodeDeeperThan(const pugi::xml_document& document, std::size_t limit) {
    std::size_t depth = 1;
    pugi::xml_node node = document.first_child();
    while (node) {
        if (depth > limit)
            return node;
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            ++depth;
            continue;
        }
        while (!node.next_sibling()) {
            node = node.parent();
            --depth;
            if (node == document)
                return {};
        }
        node = node.next_sibling();
    }
    return {};
}

// The string a node is known by: the name of an element or processing
// instruction, the content of a text, CDATA section or comment. The declaration
// and a doctype describe the document rather than belong to its content, and
// pugixml gives neither a name of its own (the declaration's is always "xml", a
// doctype keeps only its raw text), so they carry no string and cannot be given
// a key: buildDictFromTree skips them. Nor has the document node one.
std::optional<std::string_view> nodeString(pugi::xml_node node) {
    switch (node.type()) {
    case pugi::node_element:
    case pugi::node_pi:
        return node.name();
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
        return node.value();
    default:
        return std::nullopt;
    }
}

bool hasExactlyOneChild(pugi::xml_node node) {
    pugi::xml_node first = node.first_child();
    return first && !first.next_sibling();
}

} // namespace

XmlTreeParseResult parseXmlTree(std::string_view text) {
    auto document = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed =
        document->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
    if (!parsed)
        return {nullptr, std::string("XML parse error") + positionInText(text, parsed.offset) +
                             ": " + parsed.description()};

    if (pugi::xml_node tooDeep = firstNodeDeeperThan(*document, kMaxXmlTreeDepth))
        return {nullptr, "XML nested deeper than " + std::to_string(kMaxXmlTreeDepth) + " levels" +
                             positionInText(text, tooDeep.offset_debug())};

    return {std::move(document), {}};
}

pugi::xml_node diveIntoTree(pugi::xml_node tree, std::string_view elementName) {
    if (elementName.empty())
        return {};
    for (pugi::xml_node child : tree.children()) {
        if (child.type() == pugi::node_element && child.name() == elementName)
            return child;
    }
    return {};
}

XmlDictionary buildDictFromTree(pugi::xml_node tree) {
    XmlDictionary dictionary;
    for (pugi::xml_node child : tree.children()) {
        if (!hasExactlyOneChild(child)) {
            if (std::optional<std::string_view> key = nodeString(child))
                dictionary.insert_or_assign(std::string(*key), buildDictFromTree(child));
            continue;
        }
        // An element holding a single text is a leaf; one holding a single
        // element, comment, CDATA section or instruction is left out.
        pugi::xml_node only = child.first_child();
        if (child.type() == pugi::node_element && only.type() == pugi::node_pcdata)
            dictionary.insert_or_assign(child.name(), only.value());
    }
    return dictionary;
}

} // namespace reelhound
