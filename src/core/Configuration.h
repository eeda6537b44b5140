#pragma once

#include <string_view>

// Build-time configuration. Nothing here is read from the environment.
namespace reelhound::config {

// The video site. Every position and length of the address rules is derived
// from these, so another domain only needs a change here.
inline constexpr std::string_view kSiteDomain = "vistaro.com";
inline constexpr std::string_view kSiteLabel = kSiteDomain.substr(0, kSiteDomain.find('.'));

// The web service that finds the direct address of a video file.
inline constexpr std::string_view kExtractionServiceHost = "linkservice.reelhound.net";

// A well-known public web site whose reachability stands for "the internet".
inline constexpr std::string_view kReachabilityProbeHost = "www.wikipedia.org";

inline constexpr std::string_view kApplicationName = "Reelhound";

} // namespace reelhound::config
