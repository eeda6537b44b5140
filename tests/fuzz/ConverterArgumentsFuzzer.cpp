// Any settings the pop-ups and the source field could hold: the converter
// always gets eight options with a value each, every setting unchanged among
// the values, plus the output path last exactly when the format tag names a
// format.
#include "FuzzCheck.h"
#include "core/ConverterCommandLine.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace reelhound;

namespace {

std::int32_t takeNumber(std::string_view& input) {
    std::int32_t number = 0;
    const std::size_t length = std::min(sizeof number, input.size());
    std::memcpy(&number, input.data(), length);
    input.remove_prefix(length);
    return number;
}

// Fields separated by NUL; missing ones are empty.
std::string takeField(std::string_view& input) {
    const auto end = input.find('\0');
    std::string field(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    ConversionSettings settings;
    // Most inputs should name a real format; the rest try any tag at all.
    static constexpr std::int32_t kTags[] = {kFormatTagMOV, kFormatTagMP4, kFormatTagAVI,
                                             kFormatTagRM, kFormatTagWMV};
    const std::int32_t choice = takeNumber(input);
    settings.formatTag = (choice & 0xff) < 200 ? kTags[(choice & 0xff) % 5] : choice;
    settings.videoFrameRate = takeNumber(input);
    settings.audioChannels = takeNumber(input);
    settings.sourcePath = takeField(input);
    settings.videoSize = takeField(input);
    settings.videoBitrate = takeField(input);
    settings.audioFrequency = takeField(input);
    settings.audioBitrate = takeField(input);

    const std::vector<std::string> arguments = buildConverterArguments(settings);
    const auto output = converterOutputPath(settings.sourcePath, settings.formatTag);
    FUZZ_CHECK(arguments.size() == (output ? 17u : 16u));
    // Options and their values in pairs: each option once, every setting the
    // value of one of them as it stands, the source the input's.
    std::vector<std::string> options;
    std::vector<std::string> values;
    for (std::size_t i = 0; i + 1 < 16; i += 2) {
        FUZZ_CHECK(arguments[i].starts_with('-'));
        FUZZ_CHECK(std::find(options.begin(), options.end(), arguments[i]) == options.end());
        options.push_back(arguments[i]);
        values.push_back(arguments[i + 1]);
    }
    FUZZ_CHECK(options.front() == "-i" && values.front() == settings.sourcePath);
    for (const std::string& setting :
         {settings.videoSize, settings.videoBitrate, settings.audioFrequency,
          settings.audioBitrate, std::to_string(settings.videoFrameRate),
          std::to_string(settings.audioChannels)})
        FUZZ_CHECK(std::find(values.begin(), values.end(), setting) != values.end());
    if (output) {
        FUZZ_CHECK(arguments.back() == *output);
        // A source the convert action accepts ends in ".flv": the output never
        // overwrites it.
        if (settings.sourcePath.ends_with(".flv"))
            FUZZ_CHECK(*output != settings.sourcePath);
        // Beside the source: only its last component's name may differ. The
        // root alone has no component (nor can it pass the source check).
        const auto folder = [](std::string path) {
            while (path.ends_with('/'))
                path.pop_back();
            return path.substr(0, path.rfind('/') + 1);
        };
        if (settings.sourcePath.find_first_not_of('/') != std::string::npos)
            FUZZ_CHECK(folder(*output) == folder(settings.sourcePath));
    }
    return 0;
}
