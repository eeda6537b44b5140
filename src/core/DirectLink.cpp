#include "core/DirectLink.h"

#include "core/Configuration.h"
#include "core/UserText.h"
#include "core/WatchAddress.h"

namespace reelhound {

std::string serviceQueryURL(std::string_view videoId) {
    std::string url = "http://";
    url += config::kExtractionServiceHost;
    url += "/?url=http%3A%2F%2Fwww.";
    url += config::kSiteDomain;
    url += "%2Fwatch%3Fv%3D";
    url += videoId;
    return url;
}

std::string directLinkPrefix() {
    return siteRoot() + "get_video?video_id=";
}

DirectLinkExtraction extractDirectLink(std::string_view servicePage) {
    const std::string prefix = directLinkPrefix();
    const auto start = servicePage.find(prefix);
    if (start == std::string_view::npos)
        return {std::nullopt, DirectLinkProblem::NoPrefix};
    const std::string_view fromPrefix = servicePage.substr(start);
    // The search starts at the prefix itself, so a terminator earlier in the
    // page never counts.
    const auto end = fromPrefix.find(kDirectLinkTerminator);
    if (end == std::string_view::npos)
        return {std::nullopt, DirectLinkProblem::NoTerminator};
    return {std::string(fromPrefix.substr(0, end)), DirectLinkProblem::None};
}

std::string describeDirectLinkProblem(DirectLinkProblem problem) {
    switch (problem) {
    case DirectLinkProblem::None:
        return {};
    case DirectLinkProblem::NoPrefix:
        return REELHOUND_USER_TEXT("DirectLink",
                                   "The link service's answer holds no address of the video file.");
    case DirectLinkProblem::NoTerminator:
        return REELHOUND_USER_TEXT("DirectLink",
                                   "The link service's answer holds the start of the video "
                                   "file's address but not its end.");
    }
    return {};
}

} // namespace reelhound
