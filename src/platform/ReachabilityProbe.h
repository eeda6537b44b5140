#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace reelhound {

// Whether a host could be reached, without sending anything: the name is
// resolved and a UDP socket is connected to it, which only asks the routing
// table. Returns false when no answer can be given at all; otherwise true,
// with the connection flags (core/Reachability.h) written to flags.
bool checkReachabilityByName(const char* host, std::uint32_t* flags);

using ReachabilityCheck = std::function<bool(const char* host, std::uint32_t* flags)>;

// The host the launch check asks about: the probe host (core/Configuration.h),
// or, where the network is configured to reach it through a proxy, the
// proxy's host, which is then all that has to be reachable.
std::string reachabilityProbeHost();

// Whether the internet can be reached, as the launch check asks it: the probe
// host (reachabilityProbeHost) counts as reachable when the check can answer
// and says it is reachable or reachable over a transient connection; a
// connection that must be made first does not count on its own. The check is
// the system's unless the caller brings its own.
bool networkReachableWithoutAnythingSpecialHappening(
    const ReachabilityCheck& check = checkReachabilityByName);

} // namespace reelhound
