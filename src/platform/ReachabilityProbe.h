#pragma once

#include <cstdint>

namespace reelhound {

// Whether a host could be reached, without sending anything: the name is
// resolved and a UDP socket is connected to it, which only asks the routing
// table. Returns false when no answer can be given at all; otherwise true,
// with the connection flags (core/Reachability.h) written to flags.
bool checkReachabilityByName(const char* host, std::uint32_t* flags);

} // namespace reelhound
