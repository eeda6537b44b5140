#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace reelhound::testing {

struct ProgramResult {
    int exitCode = -1; // -1 when it did not run to its end
    QByteArray standardOutput;
};

// Runs a helper program (ffmpeg, ffprobe) to its end, with nothing on its input.
ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         int timeoutMilliseconds = 60000);

// A silent .flv clip of the given length, made by the real ffmpeg.
bool makeVideoClip(const QString& path, int seconds);

} // namespace reelhound::testing
