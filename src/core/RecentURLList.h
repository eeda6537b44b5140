#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The list of the last accepted short addresses, newest first.
namespace reelhound {

inline constexpr std::size_t kRecentURLCount = 5;
inline constexpr const char* kRecentURLsKey = "RHDRecentURLs";

// "Recent URL 1" .. "Recent URL 5": what the list holds before anything was accepted.
std::vector<std::string> defaultRecentURLs();

// Whatever something else stored, a list of exactly five entries: the stored
// strings in order, placeholders for the missing places, extras dropped.
std::vector<std::string> normalizedRecentURLs(const std::vector<std::string>& stored);

// Drops the oldest entry (index 4) and puts shortURL in front. A list of any
// other length is first brought to five entries.
void rememberInRecentURLs(std::vector<std::string>& list, const std::string& shortURL);

} // namespace reelhound
