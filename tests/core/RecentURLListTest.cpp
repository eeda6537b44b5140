#include "core/RecentURLList.h"

#include <gtest/gtest.h>

using namespace reelhound;
using List = std::vector<std::string>;

TEST(RecentURLList, default_isFiveNumberedPlaceholders) {
    EXPECT_EQ(defaultRecentURLs(), (List{"Recent URL 1", "Recent URL 2", "Recent URL 3",
                                         "Recent URL 4", "Recent URL 5"}));
}

TEST(RecentURLList, storedValuesOfOtherLengths_becomeFiveEntries) {
    EXPECT_EQ(normalizedRecentURLs({}), defaultRecentURLs());
    EXPECT_EQ(normalizedRecentURLs({"a", "b"}),
              (List{"a", "b", "Recent URL 3", "Recent URL 4", "Recent URL 5"}));
    EXPECT_EQ(normalizedRecentURLs({"1", "2", "3", "4", "5", "6", "7"}),
              (List{"1", "2", "3", "4", "5"}));
}

TEST(RecentURLList, remembering_rotatesNewestFirst) {
    List list = defaultRecentURLs();
    rememberInRecentURLs(list, "A");
    EXPECT_EQ(list, (List{"A", "Recent URL 1", "Recent URL 2", "Recent URL 3", "Recent URL 4"}));
    for (const char* entry : {"B", "C", "D", "E", "F"})
        rememberInRecentURLs(list, entry);
    EXPECT_EQ(list, (List{"F", "E", "D", "C", "B"}));

    rememberInRecentURLs(list, "F"); // no de-duplication
    EXPECT_EQ(list, (List{"F", "F", "E", "D", "C"}));
}

TEST(RecentURLList, rememberingIntoAShortList_keepsFiveEntries) {
    List list{"only"};
    rememberInRecentURLs(list, "new");
    EXPECT_EQ(list, (List{"new", "only", "Recent URL 2", "Recent URL 3", "Recent URL 4"}));
}
