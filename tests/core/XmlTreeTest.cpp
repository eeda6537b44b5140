#include "core/XmlTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <variant>

namespace reelhound {

// Readable failure output for nested dictionaries.
void PrintTo(const XmlValue& value, std::ostream* out) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        *out << '"' << *text << '"';
        return;
    }
    *out << '{';
    for (const auto& [key, nested] : std::get<XmlDictionary>(value)) {
        *out << '"' << key << "\": ";
        PrintTo(nested, out);
        *out << ", ";
    }
    *out << '}';
}

namespace {

std::unique_ptr<pugi::xml_document> parsed(std::string_view xml) {
    XmlTreeParseResult result = parseXmlTree(xml);
    EXPECT_TRUE(result.document) << result.error;
    return result.document ? std::move(result.document) : std::make_unique<pugi::xml_document>();
}

// The dictionary built from the children of a root element wrapped around inner.
XmlDictionary dictInRoot(const std::string& inner) {
    auto document = parsed("<r>" + inner + "</r>");
    return buildDictFromTree(document->child("r"));
}

// `levels` nested <a> elements, each with whitespace around its child so that
// every level has several children and becomes a nested dictionary.
std::string nestedElements(std::size_t levels) {
    std::string xml;
    for (std::size_t i = 1; i < levels; ++i)
        xml += "<a> ";
    xml += "<a/>";
    for (std::size_t i = 1; i < levels; ++i)
        xml += " </a>";
    return xml;
}

TEST(XmlTreeParse, whitespaceAndMarkupNodes_areKept) {
    auto document = parsed("<r> <!--c--><![CDATA[d]]><?p v?></r>");
    pugi::xml_node child = document->child("r").first_child();
    EXPECT_EQ(child.type(), pugi::node_pcdata);
    EXPECT_STREQ(child.value(), " ");
    EXPECT_EQ((child = child.next_sibling()).type(), pugi::node_comment);
    EXPECT_EQ((child = child.next_sibling()).type(), pugi::node_cdata);
    EXPECT_EQ((child = child.next_sibling()).type(), pugi::node_pi);
}

TEST(XmlTreeParse, malformedOrEmptyText_givesErrorAndNoTree) {
    XmlTreeParseResult mismatched = parseXmlTree("<r>\n  <a></b>\n</r>");
    EXPECT_FALSE(mismatched.document);
    EXPECT_NE(mismatched.error.find("line 2"), std::string::npos) << mismatched.error;
    EXPECT_NE(mismatched.error.find("mismatch"), std::string::npos) << mismatched.error;

    XmlTreeParseResult empty = parseXmlTree("");
    EXPECT_FALSE(empty.document);
    EXPECT_FALSE(empty.error.empty());
}

TEST(XmlTreeParse, nestingBeyondLimit_isRefused) {
    for (std::size_t levels : {kMaxXmlTreeDepth + 1, std::size_t{100'000}}) {
        XmlTreeParseResult result = parseXmlTree(nestedElements(levels));
        EXPECT_FALSE(result.document) << levels;
        EXPECT_NE(result.error.find("deeper than " + std::to_string(kMaxXmlTreeDepth)),
                  std::string::npos)
            << result.error;
    }
}

TEST(XmlTreeParse, nestingAtLimit_buildsEveryLevel) {
    auto document = parsed(nestedElements(kMaxXmlTreeDepth));
    const XmlDictionary dict = buildDictFromTree(*document);
    std::size_t depth = 0;
    const XmlDictionary* level = &dict;
    for (auto a = level->find("a"); a != level->end(); a = level->find("a")) {
        level = &std::get<XmlDictionary>(a->second);
        ++depth;
    }
    EXPECT_EQ(depth, kMaxXmlTreeDepth);
}

TEST(XmlTreeDiveIntoTree, twoChildrenWithTheName_returnsTheFirstItself) {
    auto document = parsed("<r><x>0</x><b>1</b><b>2</b></r>");
    pugi::xml_node root = document->child("r");
    pugi::xml_node found = diveIntoTree(root, "b");
    EXPECT_EQ(found, root.child("b"));
    EXPECT_STREQ(found.child_value(), "1");
}

TEST(XmlTreeDiveIntoTree, grandchildCaseVariantOrNonElementWithTheName_returnsNothing) {
    auto document = parsed("<r><a><b/></a><B/>b<!--b--><?b?><![CDATA[b]]></r>");
    EXPECT_FALSE(diveIntoTree(document->child("r"), "b"));
    EXPECT_FALSE(diveIntoTree(*document, "a"));
    EXPECT_FALSE(diveIntoTree(pugi::xml_node(), "r"));
}

TEST(XmlTreeDiveIntoTree, emptyName_matchesNoElement) {
    pugi::xml_document document;
    document.append_child(pugi::node_element); // an element without a name
    EXPECT_FALSE(diveIntoTree(document, ""));
}

TEST(XmlTreeBuildDict, elementWithSingleText_givesTheText) {
    EXPECT_EQ(dictInRoot("<a>x</a>"), (XmlDictionary{{"a", "x"}}));
    EXPECT_EQ(dictInRoot("<a>x &amp; y</a>"), (XmlDictionary{{"a", "x & y"}}));
    EXPECT_EQ(dictInRoot("<a> \n</a>"), (XmlDictionary{{"a", " \n"}}));
}

TEST(XmlTreeBuildDict, elementWithoutChildren_givesEmptyDict) {
    EXPECT_EQ(dictInRoot("<a/><b></b>"),
              (XmlDictionary{{"a", XmlDictionary{}}, {"b", XmlDictionary{}}}));
}

TEST(XmlTreeBuildDict, elementWithSeveralChildren_givesNestedDict) {
    EXPECT_EQ(dictInRoot("<a><b>x</b><c/></a>"),
              (XmlDictionary{{"a", XmlDictionary{{"b", "x"}, {"c", XmlDictionary{}}}}}));
    // Mixed content: each text is a key of its own.
    EXPECT_EQ(
        dictInRoot("<a>t<b>x</b>u</a>"),
        (XmlDictionary{
            {"a", XmlDictionary{{"t", XmlDictionary{}}, {"b", "x"}, {"u", XmlDictionary{}}}}}));
}

TEST(XmlTreeBuildDict, elementWithSingleNonTextChild_isLeftOut) {
    EXPECT_EQ(dictInRoot("<a><b>x</b></a><c><!--n--></c><d><![CDATA[y]]></d><e><?p?></e><f/>"),
              (XmlDictionary{{"f", XmlDictionary{}}}));
}

TEST(XmlTreeBuildDict, onlyChildElementWithWhitespaceSibling_givesNestedDict) {
    EXPECT_EQ(dictInRoot("<a><b>x</b> </a>"),
              (XmlDictionary{{"a", XmlDictionary{{"b", "x"}, {" ", XmlDictionary{}}}}}));
}

TEST(XmlTreeBuildDict, textsCommentsAndInstructions_areKeyedByTheirString) {
    EXPECT_EQ(dictInRoot("t<!--c--><![CDATA[d]]><?p v?>"), (XmlDictionary{{"t", XmlDictionary{}},
                                                                          {"c", XmlDictionary{}},
                                                                          {"d", XmlDictionary{}},
                                                                          {"p", XmlDictionary{}}}));
}

TEST(XmlTreeBuildDict, declarationAndDoctype_areSkipped) {
    auto document = parsed("<?xml version=\"1.0\"?>\n<!DOCTYPE note>\n<r>x</r>");
    EXPECT_EQ(buildDictFromTree(*document), (XmlDictionary{{"r", "x"}}));
}

TEST(XmlTreeBuildDict, treeWithoutChildren_givesEmptyDict) {
    auto document = parsed("<r/>");
    EXPECT_TRUE(buildDictFromTree(document->child("r")).empty());
    EXPECT_TRUE(buildDictFromTree(pugi::xml_node()).empty());
}

TEST(XmlTreeBuildDict, repeatedName_keepsTheLaterEntry) {
    EXPECT_EQ(dictInRoot("<a>1</a><a>2</a>"), (XmlDictionary{{"a", "2"}}));
    EXPECT_EQ(dictInRoot("<a>1</a><a><b>x</b><c/></a>"),
              (XmlDictionary{{"a", XmlDictionary{{"b", "x"}, {"c", XmlDictionary{}}}}}));
    EXPECT_EQ(dictInRoot("<a><b>x</b><c/></a><a>1</a>"), (XmlDictionary{{"a", "1"}}));
}

} // namespace
} // namespace reelhound
