#include "core/WatchAddress.h"

#include "core/Configuration.h"

#include <algorithm>

namespace reelhound {
namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kWwwScheme = "http://www.";
constexpr std::string_view kWatchPath = "watch?v=";
constexpr std::string_view kPlayerPath = "v/";

} // namespace

std::string siteRoot() {
    std::string root(kWwwScheme);
    root += config::kSiteDomain;
    root += '/';
    return root;
}

std::string watchPagePrefix() {
    return siteRoot() + std::string(kWatchPath);
}

std::string playerPrefix() {
    return siteRoot() + std::string(kPlayerPath);
}

std::string shortURLForEntry(std::string_view enteredText) {
    if (enteredText.starts_with(kScheme))
        enteredText.remove_prefix(kScheme.size());
    return std::string(enteredText);
}

std::string watchURLForShortURL(std::string_view shortURL) {
    std::string watchURL(shortURL.starts_with(config::kSiteLabel) ? kWwwScheme : kScheme);
    watchURL += shortURL;
    return watchURL;
}

bool isWatchPageURL(std::string_view watchURL) {
    const auto isControl = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    };
    return watchURL.starts_with(watchPagePrefix()) &&
           std::none_of(watchURL.begin(), watchURL.end(), isControl);
}

std::string entryWithoutPastedLineBreak(std::string_view enteredText) {
    if (enteredText.ends_with('\n'))
        enteredText.remove_suffix(enteredText.ends_with("\r\n") ? 2 : 1);
    return std::string(enteredText);
}

std::string playerURLForWatchURL(std::string_view watchURL) {
    std::string playerURL(watchURL);
    const auto watchPathPosition = siteRoot().size();
    if (playerURL.compare(watchPathPosition, kWatchPath.size(), kWatchPath) == 0)
        playerURL.replace(watchPathPosition, kWatchPath.size(), kPlayerPath);
    return playerURL;
}

std::string videoIdForPlayerURL(std::string_view playerURL) {
    const auto prefixLength = playerPrefix().size();
    if (playerURL.size() < prefixLength)
        return {};
    return std::string(playerURL.substr(prefixLength));
}

} // namespace reelhound
