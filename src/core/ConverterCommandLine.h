#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The converter's argument list for one conversion, built from what the
// settings pop-ups show at the moment the person starts it.
namespace reelhound {

// Tags of the output-format pop-up's items.
inline constexpr std::int32_t kFormatTagMOV = 10;
inline constexpr std::int32_t kFormatTagMP4 = 20;
inline constexpr std::int32_t kFormatTagAVI = 30;
inline constexpr std::int32_t kFormatTagRM = 40;
inline constexpr std::int32_t kFormatTagWMV = 50;

struct ConversionSettings {
    std::string sourcePath;
    std::string videoSize;           // item title, passed as written
    std::string videoBitrate;        // item title
    std::int32_t videoFrameRate = 0; // item tag, frames per second
    std::string audioFrequency;      // item title
    std::string audioBitrate;        // item title
    std::int32_t audioChannels = 0;  // item tag
    std::int32_t formatTag = 0;      // item tag, one of kFormatTag*
};

// The source path with its extension replaced by the format's, or nothing for
// a tag that names no format.
std::optional<std::string> converterOutputPath(std::string_view sourcePath, std::int32_t formatTag);

// The arguments after the program name, one entry per argument: 17 entries,
// or 16 without the output path when the format tag is unknown. Nothing is
// checked here; the converter refuses what it cannot use.
std::vector<std::string> buildConverterArguments(const ConversionSettings& settings);

} // namespace reelhound
