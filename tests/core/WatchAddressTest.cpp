#include "core/WatchAddress.h"
#include "core/Configuration.h"

#include <gtest/gtest.h>
#include <string>

using namespace reelhound;

namespace {

const std::string kDomain(config::kSiteDomain);

struct AddressCase {
    std::string entered;
    std::string shortURL;
    std::string watchURL;
    bool accepted;
    std::string playerURL;
    std::string videoId;
};

void expectAddressRules(const AddressCase& c) {
    SCOPED_TRACE(c.entered);
    EXPECT_EQ(shortURLForEntry(c.entered), c.shortURL);
    EXPECT_EQ(watchURLForShortURL(c.shortURL), c.watchURL);
    EXPECT_EQ(isWatchPageURL(c.watchURL), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(playerURLForWatchURL(c.watchURL), c.playerURL);
        EXPECT_EQ(videoIdForPlayerURL(c.playerURL), c.videoId);
    }
}

} // namespace

TEST(WatchAddress, prefixes_followFromTheSiteDomain) {
    EXPECT_EQ(watchPagePrefix(), "http://www." + kDomain + "/watch?v=");
    EXPECT_EQ(playerPrefix(), "http://www." + kDomain + "/v/");
    EXPECT_EQ(watchPagePrefix().size(), 20 + kDomain.size());
    EXPECT_EQ(playerPrefix().size(), 14 + kDomain.size());
    EXPECT_EQ(std::string(config::kSiteLabel), kDomain.substr(0, kDomain.find('.')));
}

TEST(WatchAddress, acceptedEntries_giveWatchPlayerAndIdentifier) {
    const std::string watch = "http://www." + kDomain + "/watch?v=Ab3dE5gH9jK";
    const std::string player = "http://www." + kDomain + "/v/Ab3dE5gH9jK";
    const AddressCase cases[] = {
        {watch, "www." + kDomain + "/watch?v=Ab3dE5gH9jK", watch, true, player, "Ab3dE5gH9jK"},
        {"www." + kDomain + "/watch?v=Ab3dE5gH9jK", "www." + kDomain + "/watch?v=Ab3dE5gH9jK",
         watch, true, player, "Ab3dE5gH9jK"},
        {"http://" + kDomain + "/watch?v=Ab3dE5gH9jK", kDomain + "/watch?v=Ab3dE5gH9jK", watch,
         true, player, "Ab3dE5gH9jK"},
        {kDomain + "/watch?v=Ab3dE5gH9jK", kDomain + "/watch?v=Ab3dE5gH9jK", watch, true, player,
         "Ab3dE5gH9jK"},
        {watch + "&x=1", "www." + kDomain + "/watch?v=Ab3dE5gH9jK&x=1", watch + "&x=1", true,
         player + "&x=1", "Ab3dE5gH9jK&x=1"},
        {"http://www." + kDomain + "/watch?v=", "www." + kDomain + "/watch?v=",
         "http://www." + kDomain + "/watch?v=", true, "http://www." + kDomain + "/v/", ""},
    };
    for (const auto& c : cases)
        expectAddressRules(c);
}

TEST(WatchAddress, refusedEntries_failThePrefixTest) {
    const std::string rest = kDomain + "/watch?v=Ab3dE5gH9jK";
    const AddressCase cases[] = {
        {"http://www." + kDomain + "/watch?x=1&v=Ab3dE5gH9jK",
         "www." + kDomain + "/watch?x=1&v=Ab3dE5gH9jK",
         "http://www." + kDomain + "/watch?x=1&v=Ab3dE5gH9jK", false, "", ""},
        {"https://www." + rest, "https://www." + rest, "http://https://www." + rest, false, "", ""},
        {"HTTP://WWW." + rest, "HTTP://WWW." + rest, "http://HTTP://WWW." + rest, false, "", ""},
        {"http://http://www." + rest, "http://www." + rest, "http://http://www." + rest, false, "",
         ""},
        {"", "", "http://", false, "", ""},
        // No address holds a control character: a line break or tab in the
        // identifier would go on into every address made from it.
        {"www." + rest + "\n", "www." + rest + "\n", "http://www." + rest + "\n", false, "", ""},
        {"www." + rest + "\t", "www." + rest + "\t", "http://www." + rest + "\t", false, "", ""},
        {"www." + rest + "\x7f", "www." + rest + "\x7f", "http://www." + rest + "\x7f", false, "",
         ""},
        {"www." + rest + std::string(1, '\0'), "www." + rest + std::string(1, '\0'),
         "http://www." + rest + std::string(1, '\0'), false, "", ""},
    };
    for (const auto& c : cases)
        expectAddressRules(c);
}

TEST(WatchAddress, pastedLineBreak_isDroppedOnce) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc\n", "abc"},   {"abc\r\n", "abc"}, {"abc\n\n", "abc\n"},
        {"abc\r", "abc\r"}, {"a\nbc", "a\nbc"}, {"\n", ""},
        {"", ""},
    };
    for (const auto& [entered, kept] : cases)
        EXPECT_EQ(entryWithoutPastedLineBreak(entered), kept) << entered;
}

TEST(WatchAddress, oddText_neverBreaksTheRules) {
    // Texts shorter than any prefix, a lone scheme, non-ASCII and control bytes.
    const std::string texts[] = {"h",
                                 "http://",
                                 "http:/",
                                 std::string(1, '\0'),
                                 "\xff\xfe",
                                 "www." + kDomain + "/watch?v=\xc3\xa9\x01\x7f",
                                 std::string(100000, 'x')};
    for (const auto& text : texts) {
        const auto watch = watchURLForShortURL(shortURLForEntry(text));
        if (isWatchPageURL(watch)) {
            const auto player = playerURLForWatchURL(watch);
            EXPECT_EQ(videoIdForPlayerURL(player), watch.substr(watchPagePrefix().size()));
        }
    }
    EXPECT_EQ(shortURLForEntry("http://http://x"), "http://x"); // only one scheme removed
}
