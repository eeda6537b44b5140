#pragma once

#include <optional>
#include <string>
#include <string_view>

// The link service's page about a watch page, and how the direct address of
// the video file is cut out of it.
namespace reelhound {

// "http://" + service host + "/?url=http%3A%2F%2Fwww." + domain + "%2Fwatch%3Fv%3D" + videoId.
// The identifier is appended as it stands: further parameters it carries
// ("abc&feature=x") become parameters of the query itself.
std::string serviceQueryURL(std::string_view videoId);

// siteRoot() + "get_video?video_id="
std::string directLinkPrefix();

// What follows the direct address in the service's page.
inline constexpr std::string_view kDirectLinkTerminator = "\" class=\"";

enum class DirectLinkProblem {
    None,
    NoPrefix,     // the page names no direct address at all
    NoTerminator, // the address starts but nothing marks where it ends
};

struct DirectLinkExtraction {
    std::optional<std::string> address; // set exactly when problem is None
    DirectLinkProblem problem = DirectLinkProblem::None;
};

// The text from the first occurrence of the prefix up to, not including, the
// first terminator after it; taken verbatim (no trimming, no entity decoding).
DirectLinkExtraction extractDirectLink(std::string_view servicePage);

// One sentence for the person, in English (translated in the context
// "DirectLink"); empty for None.
std::string describeDirectLinkProblem(DirectLinkProblem problem);

} // namespace reelhound
