#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include <pugixml.hpp>

// Lookups over a parsed XML tree: a direct child element by name, and a nested
// dictionary from element names to texts.
namespace reelhound {

// Levels of nodes below the document that a parsed tree may have. Deeper text is
// refused, so the recursive dictionary build, and the dictionary it returns,
// stay far from the limits of the stack.
inline constexpr std::size_t kMaxXmlTreeDepth = 256;

struct XmlTreeParseResult {
    // Set only when the whole text parsed; a refused text never leaves a partial tree.
    std::unique_ptr<pugi::xml_document> document;
    // Why the text was refused, with its line and column; empty when document is set.
    std::string error;
};

// Parses UTF-8 XML text. Whitespace-only texts, comments, CDATA sections,
// processing instructions, the declaration and a doctype all stay nodes of
// their own, as the shapes of buildDictFromTree depend on them.
XmlTreeParseResult parseXmlTree(std::string_view text);

// The first direct child of tree that is an element named exactly elementName
// (case included), or a null node. An empty name matches nothing. The node
// returned belongs to tree's document; nothing is copied.
pugi::xml_node diveIntoTree(pugi::xml_node tree, std::string_view elementName);

struct XmlValue;
using XmlDictionary = std::map<std::string, XmlValue, std::less<>>;

// The text of a leaf element, or the dictionary of a nested level.
struct XmlValue : std::variant<std::string, XmlDictionary> {
    using variant::variant;
};

// For each child of tree: an element holding a single text becomes that text
// under its name; an element holding a single element or other node is left
// out; any other child (none or several children of its own) becomes the
// dictionary of its children, keyed by its name or, for a text, comment or
// CDATA section, by its content. A later key replaces an earlier one.
XmlDictionary buildDictFromTree(pugi::xml_node tree);

} // namespace reelhound
