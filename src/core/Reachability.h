#pragma once

#include <cstdint>

// Connection flags of a reachability answer, as bits of a 32-bit set.
namespace reelhound {

inline constexpr std::uint32_t kReachabilityFlagTransientConnection = 1u << 0;
inline constexpr std::uint32_t kReachabilityFlagReachable = 1u << 1;
inline constexpr std::uint32_t kReachabilityFlagConnectionRequired = 1u << 2;

// decided: whether the probe could come to an answer at all. Reachable means
// transient or reachable; a connection that still has to be made counts too,
// as long as the reachable bit is set with it.
bool isNetworkReachable(bool decided, std::uint32_t flags);

} // namespace reelhound
