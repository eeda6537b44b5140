#include "core/DirectLink.h"

#include <gtest/gtest.h>

namespace reelhound {
namespace {

const std::string kPrefix = "http://www.vistaro.com/get_video?video_id=";

TEST(DirectLinkTest, serviceQuery_appendsIdentifierUnencoded) {
    EXPECT_EQ(serviceQueryURL("abc123"), "http://linkservice.reelhound.net/"
                                         "?url=http%3A%2F%2Fwww.vistaro.com%2Fwatch%3Fv%3Dabc123");
    EXPECT_EQ(serviceQueryURL("a-b_c"), "http://linkservice.reelhound.net/"
                                        "?url=http%3A%2F%2Fwww.vistaro.com%2Fwatch%3Fv%3Da-b_c");
    // Further parameters of the watch address become parameters of the query.
    EXPECT_EQ(serviceQueryURL("abc&feature=related"),
              "http://linkservice.reelhound.net/"
              "?url=http%3A%2F%2Fwww.vistaro.com%2Fwatch%3Fv%3Dabc&feature=related");
    EXPECT_EQ(serviceQueryURL(""), "http://linkservice.reelhound.net/"
                                   "?url=http%3A%2F%2Fwww.vistaro.com%2Fwatch%3Fv%3D");
}

TEST(DirectLinkTest, prefix_isTheSitesGetVideoAddress) {
    EXPECT_EQ(directLinkPrefix(), kPrefix);
}

TEST(DirectLinkTest, extract_cutsFromPrefixToTerminator) {
    const auto result = extractDirectLink("<div id=\"links\" class=\"box\"><a href=\"" + kPrefix +
                                          "abc&amp;t=xyz\" class=\"dl\">Get</a></div>");
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, kPrefix + "abc&amp;t=xyz"); // the earlier terminator is ignored
    EXPECT_EQ(result.problem, DirectLinkProblem::None);
}

TEST(DirectLinkTest, extract_usesFirstPrefixAndKeepsSecondInside) {
    // Two complete links: the first one wins.
    auto result = extractDirectLink(kPrefix + "one\" class=\"a\" " + kPrefix + "two\" class=\"b\"");
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, kPrefix + "one");

    // A second prefix before the first terminator stays part of the address.
    result = extractDirectLink("x " + kPrefix + "one " + kPrefix + "two\" class=\"b\"");
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, kPrefix + "one " + kPrefix + "two");
}

TEST(DirectLinkTest, extract_keepsSpacesAndCharacterReferencesVerbatim) {
    const auto result =
        extractDirectLink(kPrefix + " id &amp; more&#38;x \n\" class=\"" + " trailing");
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, kPrefix + " id &amp; more&#38;x \n");
}

TEST(DirectLinkTest, extract_prefixDirectlyFollowedByTerminatorGivesBarePrefix) {
    const auto result = extractDirectLink(kPrefix + "\" class=\"");
    ASSERT_TRUE(result.address);
    EXPECT_EQ(*result.address, kPrefix);
}

TEST(DirectLinkTest, extract_reportsMissingPrefix) {
    for (const std::string& page :
         {std::string(), std::string("<p>No video here.</p> \" class=\""),
          std::string("HTTP://WWW.VISTARO.COM/GET_VIDEO?VIDEO_ID=abc\" class=\""),
          kPrefix.substr(0, kPrefix.size() - 1) + "abc\" class=\""}) {
        const auto result = extractDirectLink(page);
        EXPECT_FALSE(result.address) << page;
        EXPECT_EQ(result.problem, DirectLinkProblem::NoPrefix) << page;
    }
}

TEST(DirectLinkTest, extract_reportsMissingTerminatorAfterPrefix) {
    for (const std::string& page :
         {kPrefix + "abc", "<a class=\"x\" class=\"y\" href='" + kPrefix + "abc' class='dl'>",
          kPrefix + "abc\" class=", kPrefix + "abc\"  class=\""}) {
        const auto result = extractDirectLink(page);
        EXPECT_FALSE(result.address) << page;
        EXPECT_EQ(result.problem, DirectLinkProblem::NoTerminator) << page;
    }
}

TEST(DirectLinkTest, problemDescriptions_areDistinctSentences) {
    const auto noPrefix = describeDirectLinkProblem(DirectLinkProblem::NoPrefix);
    const auto noTerminator = describeDirectLinkProblem(DirectLinkProblem::NoTerminator);
    EXPECT_FALSE(noPrefix.empty());
    EXPECT_FALSE(noTerminator.empty());
    EXPECT_NE(noPrefix, noTerminator);
    EXPECT_TRUE(describeDirectLinkProblem(DirectLinkProblem::None).empty());
}

} // namespace
} // namespace reelhound
