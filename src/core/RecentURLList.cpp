#include "core/RecentURLList.h"

namespace reelhound {
namespace {

std::string placeholder(std::size_t number) {
    return "Recent URL " + std::to_string(number);
}

} // namespace

std::vector<std::string> defaultRecentURLs() {
    return normalizedRecentURLs({});
}

std::vector<std::string> normalizedRecentURLs(const std::vector<std::string>& stored) {
    std::vector<std::string> list;
    list.reserve(kRecentURLCount);
    for (std::size_t i = 0; i < kRecentURLCount; ++i)
        list.push_back(i < stored.size() ? stored[i] : placeholder(i + 1));
    return list;
}

void rememberInRecentURLs(std::vector<std::string>& list, const std::string& shortURL) {
    if (list.size() != kRecentURLCount)
        list = normalizedRecentURLs(list);
    list.erase(list.begin() + (kRecentURLCount - 1));
    list.insert(list.begin(), shortURL);
}

} // namespace reelhound
