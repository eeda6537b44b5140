#include "support/RunProgram.h"

#include <QProcess>

namespace reelhound::testing {

ProgramResult runProgram(const QString& program, const QStringList& arguments,
                         int timeoutMilliseconds) {
    QProcess process;
    process.start(program, arguments);
    process.closeWriteChannel();
    ProgramResult result;
    if (process.waitForFinished(timeoutMilliseconds) &&
        process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.standardOutput = process.readAllStandardOutput();
    return result;
}

bool makeVideoClip(const QString& path, int seconds) {
    return runProgram(QStringLiteral("ffmpeg"),
                      {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-t",
                       QString::number(seconds), "-c:v", "flv1", "-y", path})
               .exitCode == 0;
}

} // namespace reelhound::testing
