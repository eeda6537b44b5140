#include "core/ConverterCommandLine.h"

#include "core/PathExtension.h"

#include <array>
#include <utility>

namespace reelhound {
namespace {

struct OutputFormat {
    std::int32_t tag;
    std::string_view extension;
};

constexpr std::array kOutputFormats{
    OutputFormat{kFormatTagMOV, "mov"}, OutputFormat{kFormatTagMP4, "mp4"},
    OutputFormat{kFormatTagAVI, "avi"}, OutputFormat{kFormatTagRM, "rm"},
    OutputFormat{kFormatTagWMV, "wmv"},
};

} // namespace

std::optional<std::string> converterOutputPath(std::string_view sourcePath,
                                               std::int32_t formatTag) {
    for (const auto& format : kOutputFormats) {
        if (format.tag != formatTag)
            continue;
        std::string output(splitPathExtension(sourcePath).withoutExtension);
        output += '.';
        output += format.extension;
        return output;
    }
    return std::nullopt;
}

std::vector<std::string> buildConverterArguments(const ConversionSettings& settings) {
    std::vector<std::string> arguments{
        "-i",      settings.sourcePath,
        "-s",      settings.videoSize,
        "-b",      settings.videoBitrate,
        "-r",      std::to_string(settings.videoFrameRate),
        "-acodec", "aac",
        "-ar",     settings.audioFrequency,
        "-ab",     settings.audioBitrate,
        "-ac",     std::to_string(settings.audioChannels),
    };
    if (auto output = converterOutputPath(settings.sourcePath, settings.formatTag))
        arguments.push_back(std::move(*output));
    return arguments;
}

} // namespace reelhound
