#pragma once

#include <string>
#include <string_view>

// Rules that turn what the person typed into the site's watch, player and
// identifier texts. All comparisons are exact, byte-wise and case-sensitive;
// fixed positions are only used inside a prefix that has already matched, so
// UTF-8 input gives the same results as characters would.
namespace reelhound {

std::string siteRoot();        // "http://www." + domain + "/"
std::string watchPagePrefix(); // siteRoot() + "watch?v="
std::string playerPrefix();    // siteRoot() + "v/"

// The entered text less one leading "http://".
std::string shortURLForEntry(std::string_view enteredText);
// "http://www." + short address when it begins with the site label, otherwise "http://" + it.
std::string watchURLForShortURL(std::string_view shortURL);
// True when the watch address begins with the watch-page prefix and holds no
// control character (a line break, a tab, DEL...), which no address has.
bool isWatchPageURL(std::string_view watchURL);
// The entered text less one line break at its end ("\n" or "\r\n"), which a
// paste of a whole line brings along.
std::string entryWithoutPastedLineBreak(std::string_view enteredText);
// The watch address with its "watch?v=" replaced by "v/". Only for an address
// that passed isWatchPageURL.
std::string playerURLForWatchURL(std::string_view watchURL);
// Everything after the player prefix; may be empty. Only for a player address
// made by playerURLForWatchURL.
std::string videoIdForPlayerURL(std::string_view playerURL);

} // namespace reelhound
