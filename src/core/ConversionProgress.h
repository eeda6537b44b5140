#pragma once

#include "core/ConverterOutput.h"

#include <optional>
#include <string_view>

// How far a conversion has got, read from the converter's error output: the
// source's length from its "Duration:" line and the position reached from the
// "time=" of each progress line.
namespace reelhound {

// Seconds in a time stamp "HH:MM:SS" or "HH:MM:SS.cc" at the start of the
// text; empty for "N/A", a negative stamp or anything else.
std::optional<double> converterTimestampSeconds(std::string_view text);

// The length a "  Duration: 00:01:02.50, start: ..." line gives, when it is
// a time stamp longer than zero.
std::optional<double> durationInLine(std::string_view line);

// The position a progress line ("frame=... time=00:00:04.12 ...") gives, when
// its last "time=" is a time stamp.
std::optional<double> progressTimeInLine(std::string_view line);

// Follows the converter's output chunk by chunk (lines may be cut anywhere)
// and says how far the run has got. Memory stays bounded.
class ConversionProgress {
public:
    ConversionProgress();
    ConversionProgress(const ConversionProgress&) = delete;
    ConversionProgress& operator=(const ConversionProgress&) = delete;

    void append(std::string_view bytes);
    // The run succeeded: it went the whole way, whatever its last line said.
    void finish();

    // From 0 to 100, once the source's length is known; never smaller than
    // a value given before.
    std::optional<double> percent() const;
    // Whole seconds still to go, estimated from the time the run has taken so
    // far; empty until there is enough to go by.
    std::optional<long> secondsLeft(double secondsElapsed) const;

private:
    void lineEnded(std::string_view line);

    LastOutputLine lines_;
    std::optional<double> duration_;
    double percent_ = 0.0;
};

} // namespace reelhound
