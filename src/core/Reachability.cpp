#include "core/Reachability.h"

namespace reelhound {

bool isNetworkReachable(bool decided, std::uint32_t flags) {
    constexpr auto mask = kReachabilityFlagTransientConnection | kReachabilityFlagReachable;
    return decided && (flags & mask) != 0;
}

} // namespace reelhound
