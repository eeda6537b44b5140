// Whatever is typed into the address field: an accepted address's watch
// address begins with the watch-page prefix and holds no control character,
// and the video identifier is exactly what follows it.
#include "FuzzCheck.h"
#include "core/WatchAddress.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace reelhound;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view entered(reinterpret_cast<const char*>(data), size);

    const std::string shortURL = shortURLForEntry(entered);
    FUZZ_CHECK(shortURL == entered || "http://" + shortURL == entered);

    const std::string watchURL = watchURLForShortURL(shortURL);
    FUZZ_CHECK(watchURL.ends_with(shortURL));
    if (!isWatchPageURL(watchURL))
        return 0;

    const std::string prefix = watchPagePrefix();
    FUZZ_CHECK(watchURL.starts_with(prefix));
    for (const char c : watchURL)
        FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    const std::string playerURL = playerURLForWatchURL(watchURL);
    const std::string videoId = videoIdForPlayerURL(playerURL);
    FUZZ_CHECK(videoId == std::string_view(watchURL).substr(prefix.size()));
    FUZZ_CHECK(playerURL == playerPrefix() + videoId);
    return 0;
}
